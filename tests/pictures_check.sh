#!/usr/bin/env bash
# The README's pictures of the aids must be what the program exports today: renders them
# afresh and compares them with the committed ones.
# Usage: tests/pictures_check.sh BUILD_DIR
set -euo pipefail
command -v pdftoppm >/dev/null || { echo "SKIP: pdftoppm is missing (poppler-utils)"; exit 77; }
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
bash "$here/examples/render-aids.sh" "$1" "$work"
for aid in guide wrapper; do
  cmp -s "$work/skylark-$aid.png" "$here/examples/skylark-$aid.png" ||
    { echo "FAIL: examples/skylark-$aid.png is out of date: run examples/render-aids.sh $1" >&2; exit 1; }
done
echo "both pictures match the export"
