#!/usr/bin/env bash
# Times a headless export of each aid beside the program's bare start-up (--version).
# Usage: bench/bench_export.sh [BUILD_DIR] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$here/build}/vanecraft
runs=${2:-10}
design=$here/examples/skylark.rkt
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export XDG_CONFIG_HOME=$out/config

time_ms() { # prints the mean wall time of RUNS runs of the command, in ms
  local start end
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo $(( (end - start) / runs / 1000000 ))
}

printf '%-34s %6s ms\n' "bare start-up (--version)" "$(time_ms "$bin" --version)"
for aid in guide wrapper; do
  for ext in pdf svg; do
    printf '%-34s %6s ms\n' "export $aid to $ext" \
      "$(time_ms "$bin" --export "$aid" --output "$out/page.$ext" "$design")"
  done
done
