#!/usr/bin/env bash
# Validates the AppStream metainfo and the desktop entry as shipped, strictly:
# appstreamcli --strict --pedantic and desktop-file-validate must have nothing
# to remark, but for the one hint that AppStream before 1.0 (Debian 12's 0.16)
# gives for <developer id=...>, the form that AppStream 1.0 asks for instead of
# the older <developer_name>.
# Usage: validate-metadata.sh METAINFO DESKTOP_ENTRY
set -uo pipefail
metainfo=$1 desktop=$2
fail() { echo "metadata: $*"; exit 1; }

report=$(appstreamcli validate --strict --pedantic --no-net "$metainfo" 2>&1)
remarks=$(grep -E '^[A-Z]: ' <<<"$report" | grep -vE '^I: [^ ]+: unknown-tag developer$')
[ -z "$remarks" ] || fail "$metainfo does not validate: $report"
grep -qE 'Validation was successful|^I: [^ ]+: unknown-tag developer$' <<<"$report" || fail "$metainfo does not validate: $report"

remarks=$(desktop-file-validate "$desktop" 2>&1) || fail "$desktop does not validate: $remarks"
[ -z "$remarks" ] || fail "$desktop: $remarks"
exit 0
