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
count=0
for picture in "$work"/*.png; do
  name=$(basename "$picture")
  cmp -s "$picture" "$here/examples/$name" ||
    { echo "FAIL: examples/$name is out of date: run examples/render-aids.sh $1" >&2; exit 1; }
  count=$((count + 1))
done
[ "$count" -eq 8 ] || { echo "FAIL: $count pictures rendered, not 8" >&2; exit 1; }
echo "all $count pictures match the export"
