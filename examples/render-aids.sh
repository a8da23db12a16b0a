#!/usr/bin/env bash
# Renders the README's pictures of the aids from the program's own export, so they show what
# Print prints: both aids of the example design on one A4 sheet each, and the six A4 tiles of a
# larger rocket's guide. Needs pdftoppm (poppler-utils).
# Usage: examples/render-aids.sh BUILD_DIR [OUT_DIR]   (OUT_DIR defaults to examples/)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/vanecraft
out=${2:-$here}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for aid in guide wrapper; do
  "$program" --export "$aid" --paper a4 --output "$work/$aid.pdf" "$here/skylark.rkt"
  # 75 dots per inch: the whole A4 sheet, small enough for a README.
  pdftoppm -png -r 75 -singlefile "$work/$aid.pdf" "$out/skylark-$aid"
done
"$program" --export guide --paper a4 --output "$work/tiles.pdf" "$here/goliath.rkt" 2>/dev/null
# 25 dots per inch: six sheets side by side in a README table.
pdftoppm -png -r 25 "$work/tiles.pdf" "$out/goliath-guide"
