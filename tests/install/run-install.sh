#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the layout a desktop
# expects: the program with its data beside it, a launcher on the path, a valid
# desktop entry, the icon at three sizes, the manual page and a valid AppStream
# metainfo file; then starts the installed program.
# Usage: run-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in lib/vexel/vexel lib/vexel/SOUNDS.IDX lib/vexel/SOUNDS.DAT lib/vexel/VEXELDEU.html lib/vexel/VEXELENG.html \
         lib/vexel/hole-names.png \
         share/applications/vexel.desktop \
         share/icons/hicolor/48x48/apps/vexel.png share/icons/hicolor/128x128/apps/vexel.png \
         share/icons/hicolor/256x256/apps/vexel.png share/man/man6/vexel.6 \
         share/metainfo/org.vexel.vexel.metainfo.xml share/mime/packages/org.vexel.vexel.xml; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
[ -L "$prefix/bin/vexel" ] || fail "no launcher in bin"
[ "$(readlink -f "$prefix/bin/vexel")" = "$(readlink -f "$prefix/lib/vexel/vexel")" ] || fail "launcher points elsewhere"
"$(dirname "$0")/validate-metadata.sh" "$prefix/share/metainfo/org.vexel.vexel.metainfo.xml" \
  "$prefix/share/applications/vexel.desktop" || fail "the metadata as installed"
grep -q '<launchable type="desktop-id">vexel.desktop</launchable>' "$prefix/share/metainfo/org.vexel.vexel.metainfo.xml" \
  || fail "metainfo does not launch the desktop entry"
# The record type compiles into a MIME database that knows .vxg, and the desktop entry opens it.
update-mime-database "$prefix/share/mime" >/dev/null || fail "the record type does not compile"
grep -q 'application/x-vexel-record:\*\.vxg' "$prefix/share/mime/globs2" || fail "no .vxg in the MIME database"
grep -q '^MimeType=application/x-vexel-record;$' "$prefix/share/applications/vexel.desktop" || fail "the desktop entry opens no records"
warnings=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man6/vexel.6" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"
for size in 48 128 256; do
  head -c 24 "$prefix/share/icons/hicolor/${size}x${size}/apps/vexel.png" | od -An -tx1 | tr -d ' \n' \
    | grep -q "^89504e470d0a1a0a.\{16\}$(printf '%08x' $size)$(printf '%08x' $size)" || fail "icon $size is not a ${size}x${size} PNG"
done

# The installed program starts through its launcher and runs until stopped.
QT_QPA_PLATFORM=offscreen "$prefix/bin/vexel" >/dev/null 2>&1 & pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the installed program did not keep running"
kill "$pid"; wait "$pid" 2>/dev/null || true
echo "install: ok"
