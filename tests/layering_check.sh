#!/usr/bin/env bash
# The folders are layers: each may include only itself and the layers below it. Fails on any
# include of a folder that is not below.
# Usage: tests/layering_check.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
declare -A below=(
  [model]=""
  [import]="model"
  [settings]="model"
  [aids]="model"
  [sheets]="aids model"
  [render]="sheets aids model"
  [ui]=""
  [output]="render sheets aids model ui"
  [options]="settings sheets aids model ui"
  [info]="ui"
  [app]="output options info render sheets aids settings import model ui"
)
status=0
for layer in "${!below[@]}"; do
  [ -d "$layer" ] || { echo "FAIL: no folder $layer" >&2; status=1; continue; }
  while IFS=: read -r file line folder; do
    [ "$folder" = "$layer" ] && continue
    case " ${below[$layer]} " in
      *" $folder "*) ;;
      *) echo "FAIL: $file:$line: $layer includes $folder/, which is not below it" >&2; status=1 ;;
    esac
  done < <(grep -HnoE '^#include "[a-z]+/' "$layer"/*.h "$layer"/*.cpp 2>/dev/null |
             sed -E 's/#include "([a-z]+)\//\1/')
done
# Every folder with sources is a known layer.
for dir in */; do
  dir=${dir%/}
  case "$dir" in tests|bench|fuzz|examples|build*) continue ;; esac
  ls "$dir"/*.cpp >/dev/null 2>&1 || continue
  [ -n "${below[$dir]+x}" ] || { echo "FAIL: $dir/ is not a known layer" >&2; status=1; }
done
[ $status -eq 0 ] && echo "every include goes to a lower layer"
exit $status
