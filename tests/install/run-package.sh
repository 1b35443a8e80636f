#!/usr/bin/env bash
# The Debian package as a user meets it. Lints the package and validates its
# metainfo, installs it on this machine with apt-get, starts the installed
# program under Xvfb as an unprivileged user, saves the settings through the
# menu and checks the user's ~/.config/vexel/VEXEL.CFG; then removes the
# package and checks that nothing of it is left. Needs root (make test-package).
# Usage: run-package.sh vexel_<version>_<arch>.deb
set -euo pipefail
deb=$(readlink -f "$1")
fail() { echo "package: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "needs root: it installs and removes the package"
[ -f "$deb" ] || fail "no package $deb"
if dpkg-query -W -f='${Status}' vexel 2>/dev/null | grep -q "install ok installed"; then
  fail "vexel is installed already; remove it first, this test leaves the machine as it found it"
fi

work=$(mktemp -d)
chmod 755 "$work"
pids=()
installed=no
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ "$installed" = yes ]; then apt-get remove -y -qq vexel >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Lint: errors fail, warnings and the rest are shown.
echo "== lintian"
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors"

# The metainfo and the desktop entry as shipped.
echo "== appstreamcli, desktop-file-validate"
dpkg-deb -x "$deb" "$work/content"
"$(dirname "$0")/validate-metadata.sh" "$work/content/usr/share/metainfo/org.vexel.vexel.metainfo.xml" \
  "$work/content/usr/share/applications/vexel.desktop" || fail "the metadata as shipped"

echo "== install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt-get install failed"; }
installed=yes
dpkg -L vexel >"$work/files"
for f in /usr/lib/vexel/vexel /usr/lib/vexel/SOUNDS.IDX /usr/lib/vexel/SOUNDS.DAT \
         /usr/lib/vexel/VEXELDEU.html /usr/lib/vexel/VEXELENG.html /usr/lib/vexel/hole-names.png /usr/games/vexel \
         /usr/share/applications/vexel.desktop /usr/share/man/man6/vexel.6.gz \
         /usr/share/metainfo/org.vexel.vexel.metainfo.xml /usr/share/mime/packages/org.vexel.vexel.xml \
         /usr/share/icons/hicolor/48x48/apps/vexel.png /usr/share/icons/hicolor/128x128/apps/vexel.png \
         /usr/share/icons/hicolor/256x256/apps/vexel.png; do
  grep -qx "$f" "$work/files" || fail "the package does not hold $f"
  [ -e "$f" ] || fail "$f is not installed"
done
[ "$(readlink -f /usr/games/vexel)" = /usr/lib/vexel/vexel ] || fail "the launcher does not lead to /usr/lib/vexel/vexel"
[ "$(man -w 6 vexel)" = /usr/share/man/man6/vexel.6.gz ] || fail "man 6 vexel does not find the manual page"
# Where the system keeps a MIME database, the package's trigger has taught it the game records.
if command -v update-mime-database >/dev/null; then
  grep -q 'application/x-vexel-record:\*\.vxg' /usr/share/mime/globs2 || fail "the system does not know .vxg records"
fi

# A user of the installed game: nobody, with a home of its own and Debian's
# default path for users, where /usr/games lies.
echo "== save as an unprivileged user"
user=nobody
home=$work/home
mkdir -p "$home"
chown "$user:" "$home"
as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games "$@"; }
if as_user test -w /usr/lib/vexel; then fail "the program folder is writable for $user"; fi

display=$((300 + RANDOM % 100))
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$display"
openbox >/dev/null 2>&1 & pids+=($!)
sleep 0.5
as_user DISPLAY=":$display" QT_QPA_PLATFORM=xcb vexel >"$work/vexel.log" 2>&1 & pids+=($!)
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vexel$' | head -n1) \
  || { cat "$work/vexel.log"; fail "the installed program shows no window"; }
sleep 1
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
# Alt+O opens "&Optionen", O is "&Optionen speichern".
xdotool key --window "$win" alt+o
sleep 0.5
xdotool key o
cfg=$home/.config/vexel/VEXEL.CFG
for _ in $(seq 50); do [ -f "$cfg" ] && break; sleep 0.1; done
[ -f "$cfg" ] || fail "no $cfg after saving through the menu"
[ "$(stat -c %s "$cfg")" = 200 ] || fail "$cfg holds $(stat -c %s "$cfg") bytes, not 200"
magic=$(head -c 14 "$cfg" | od -An -tx1 | tr -d ' \n')
[ "$magic" = 0d566578656c204346470d0a1a03 ] || fail "$cfg begins with $magic, not the magic"
[ "$(stat -c %U "$cfg")" = "$user" ] || fail "$cfg does not belong to $user"
if xdotool search --onlyvisible --name '^Fehler$' >/dev/null 2>&1; then fail "the save showed the error window"; fi
[ ! -e /usr/lib/vexel/VEXEL.CFG ] || fail "a settings file appeared beside the installed program"
echo "saved: $cfg, 200 bytes with the magic"
for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
wait 2>/dev/null || true
pids=()

echo "== remove"
apt-get remove -y -qq vexel >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get remove failed"; }
installed=no
status=$(dpkg-query -W -f='${db:Status-Abbrev}' vexel 2>/dev/null || true)
case "$status" in ""|un*) ;; *) fail "dpkg still knows vexel as '$status'";; esac
# Every path of the package with the game's name in it must be gone; shared
# folders such as the icon theme's stay.
while read -r f; do
  case "$f" in *vexel*) if [ -e "$f" ] || [ -L "$f" ]; then fail "$f is left after removal"; fi;; esac
done <"$work/files"
echo "package: ok"
