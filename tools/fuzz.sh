#!/usr/bin/env bash
# Fuzzes the platform-free core with libFuzzer under AddressSanitizer and
# UBSan, one target after another, each in a single process, from the seed
# corpus in fuzz/corpus.
#
#   tools/fuzz.sh [seconds per target]      (default 5)
#   tools/fuzz.sh --runs N                  N executions per target instead
#
# The corpus grows in a scratch copy, so the repository stays as it is. A
# crashing input is kept in <build>/fuzz/crashes. Exits non-zero on any crash.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTREL_BUILD_DIR:-$root/build}/fuzz
# KESTREL_FUZZ_TARGETS="paths fields" runs just those.
read -r -a targets <<<"${KESTREL_FUZZ_TARGETS:-catalogue paths fields check}"

limit=(-max_total_time=5)
usage() { echo "usage: $0 [seconds per target] | --runs N" >&2; exit 2; }
positive() { [[ "$1" =~ ^[1-9][0-9]*$ ]] || usage; }
case "${1:-}" in
  "") ;;
  --runs) positive "${2:-}"; limit=(-runs="$2") ;;
  *) positive "$1"; limit=(-max_total_time="$1") ;;
esac

if ! command -v clang++ >/dev/null || ! compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
  "$root/tools/install-deps.sh"
fi

echo "== Fuzzing the core (${limit[*]} per target)"
CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for target in "${targets[@]}"; do
  corpus=$scratch/corpus-$target
  log=$scratch/$target.log
  mkdir -p "$corpus" "$scratch/artifacts-$target"
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  start=$SECONDS
  status=0
  "$build/${target}_fuzzer" "${limit[@]}" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$scratch/artifacts-$target/" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  files=$(find "$corpus" -type f | wc -l)
  bytes=$(du -sb "$corpus" | cut -f1)
  crashes=0
  if [ "$status" -ne 0 ]; then
    crashes=1
    failed=1
    mkdir -p "$build/crashes"
    cp "$scratch/artifacts-$target/"* "$build/crashes/" 2>/dev/null || true
    tail -n 40 "$log"
  fi
  printf '%-18s executions: %-10s crashes: %d  time: %ds  corpus: %d files, %d bytes\n' \
         "${target}_fuzzer" "${runs:-?}" "$crashes" $((SECONDS - start)) "$files" "$bytes"
done
if [ "$failed" -ne 0 ]; then
  echo "Fuzzing found a crash; inputs kept in $build/crashes" >&2
  exit 1
fi
