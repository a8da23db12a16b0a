#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch folder and runs the unpacked program:
# --version, and an export of the example design it ships, which must match the build tree's
# own export byte for byte.
# Usage: tests/package_check.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || fail "$tool is missing (install cmake and dpkg-dev)"
done

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
deb=$(ls "$work"/out/vanecraft_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Worked out by dpkg-shlibdeps from the program, not written by hand.
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6; do
  grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib"
done

dpkg-deb -x "$deb" "$work/root"
program=$work/root/usr/bin/vanecraft
[ -x "$program" ] || fail "the package holds no /usr/bin/vanecraft"
if readelf -d "$program" | grep -qE 'R(UN)?PATH'; then
  fail "the packaged program still points into the build tree: $(readelf -d "$program" | grep -E 'R(UN)?PATH')"
fi

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
expected="Vanecraft $("$build/vanecraft" --version | awk '{print $2}')"
got=$("$program" --version)
[ "$got" = "$expected" ] || fail "--version says \"$got\", not \"$expected\""

design=$work/root/usr/share/doc/vanecraft/skylark.rkt
for aid in guide wrapper; do
  "$program" --export "$aid" --output "$work/$aid.pdf" "$design" || fail "--export $aid to PDF failed"
  head -c 5 "$work/$aid.pdf" | grep -q '%PDF-' || fail "$aid.pdf is not a PDF"
  "$program" --export "$aid" --output "$work/$aid.svg" "$design" || fail "--export $aid to SVG failed"
  "$build/vanecraft" --export "$aid" --output "$work/$aid-build.svg" "$design"
  cmp "$work/$aid.svg" "$work/$aid-build.svg" || fail "the packaged program draws the $aid differently"
done
echo "package $(basename "$deb"): builds, unpacks and runs"
