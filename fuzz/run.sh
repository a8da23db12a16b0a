#!/usr/bin/env bash
# Builds the fuzz target with clang and runs it: every committed regression input first, then
# RUNS fresh iterations seeded from the project's own designs. Exits 77 (skipped) without clang.
# Usage: fuzz/run.sh BUILD_DIR [RUNS]
set -euo pipefail
src=$(cd "$(dirname "$0")" && pwd)
build=$1
runs=${2:-${VANECRAFT_FUZZ_RUNS:-200000}}
if ! command -v clang++ >/dev/null 2>&1 ||
   ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "clang with libFuzzer is not installed: skipping" >&2
  exit 77
fi
cmake -S "$src" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
shopt -s nullglob
regressions=("$src"/regressions/*)
if [ ${#regressions[@]} -gt 0 ]; then
  "$build/fuzz_reader" "${regressions[@]}"
fi
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$src"/../examples/*.rkt "$src"/../tests/designs/*.rkt "$corpus"/
# Small OpenRocket designs of each container, when the corpus is on this machine.
for f in logo-rocket simplerocket-gzip apocd-plain; do
  if [ -f "$src/../../shared/ork-corpus/$f.ork" ]; then
    cp "$src/../../shared/ork-corpus/$f.ork" "$corpus"/
  fi
done
# Findings land in the build folder, to be committed under fuzz/regressions once fixed.
"$build/fuzz_reader" -runs="$runs" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/" -print_final_stats=1 "$corpus"
