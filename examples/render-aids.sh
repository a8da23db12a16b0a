#!/usr/bin/env bash
# Renders the README's pictures of the two aids from the program's own export of the example
# design, so they show what Print prints. Needs pdftoppm (poppler-utils).
# Usage: examples/render-aids.sh BUILD_DIR [OUT_DIR]   (OUT_DIR defaults to examples/)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/vanecraft
out=${2:-$here}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for aid in guide wrapper; do
  "$program" --export "$aid" --output "$work/$aid.pdf" "$here/skylark.rkt"
  # 75 dots per inch: the whole A4 sheet, small enough for a README.
  pdftoppm -png -r 75 -singlefile "$work/$aid.pdf" "$out/skylark-$aid"
done
