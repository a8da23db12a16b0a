#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what a desktop gets: the files in their
# places, a desktop entry and metainfo that the freedesktop validators accept, a MIME package
# that maps *.rkt to application/x-rocksim, and a manual page that formats cleanly and names
# every option the program's --help lists.
# Usage: tests/install_check.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli update-mime-database man; do
  command -v "$tool" >/dev/null || fail "$tool is missing (install desktop-file-utils, appstream, shared-mime-info, man-db)"
done

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share
id=org.vanecraft.Vanecraft
for f in usr/bin/vanecraft \
         usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/mime/packages/$id.xml \
         usr/share/man/man1/vanecraft.1.gz \
         usr/share/doc/vanecraft/skylark.rkt; do
  [ -s "$root/$f" ] || fail "$f is not installed"
done

# Hints are advice; warnings and errors fail.
out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) || fail "desktop entry: $out"
if grep -E ': (warning|error):' <<<"$out"; then fail "desktop entry is not clean"; fi
grep -qx 'Exec=vanecraft %f' "$share/applications/$id.desktop" || fail "Exec does not take a file"
grep -qx 'MimeType=application/x-rocksim;application/x-openrocket;' "$share/applications/$id.desktop" ||
  fail "the desktop entry does not claim application/x-rocksim and application/x-openrocket"
appstreamcli validate --no-net --explain "$share/metainfo/$id.metainfo.xml" ||
  fail "metainfo does not validate"
version=$("$build/vanecraft" --version | awk '{print $2}')
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
  fail "metainfo's release is not $version"

XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime" 2>&1 | tee "$root/mime.log"
[ ! -s "$root/mime.log" ] || fail "update-mime-database complained"
grep -qx 'application/x-rocksim:\*\.rkt' <(cut -d: -f2- "$share/mime/globs2") ||
  fail "*.rkt is not mapped to application/x-rocksim"
grep -q '<RockSimDocument' "$share/mime/magic" || fail "no content match for RockSim files"
grep -qx 'application/x-openrocket:\*\.ork' <(cut -d: -f2- "$share/mime/globs2") ||
  fail "*.ork is not mapped to application/x-openrocket"
grep -q '<openrocket' "$share/mime/magic" || fail "no content match for OpenRocket files"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/vanecraft.1.gz" 2>&1 >"$root/man.txt") || true
[ -z "$warnings" ] || fail "man page: $warnings"
grep -q "Vanecraft $version" "$root/man.txt" || fail "man page is not for version $version"
# Every long option of --help is in the manual.
for opt in $("$build/vanecraft" --help | grep -oE -- '--[a-z-]+' | sort -u); do
  grep -q -- "$opt" "$root/man.txt" || fail "man page does not document $opt"
done
echo "install layout, desktop entry, metainfo, MIME type and man page: OK"
