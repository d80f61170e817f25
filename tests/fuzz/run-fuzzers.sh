#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a while on its seed corpus in
# tests/fuzz/corpus/<target>. New inputs the fuzzer finds go to the build
# folder, never into the repository; an input that fails a check or crashes
# is kept there as crash-*, and the script fails.
#
# usage: tests/fuzz/run-fuzzers.sh [seconds per target, default 20] [target...]
# FUZZ_BUILD_DIR: the build folder (default build-fuzz in the repository)
# Exit code 77 (skipped) when clang or libFuzzer is not installed.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-20}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(fuzz_isnumber fuzz_yearof fuzz_colortext fuzz_store_roundtrip fuzz_journal fuzz_multistatus fuzz_import)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

if ! command -v clang++ >/dev/null; then
  echo "SKIP: clang++ is not installed (scripts/install-deps.sh installs it)"
  exit 77
fi
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
     clang++ -x c++ -fsanitize=fuzzer -o /dev/null - 2>/dev/null; then
  echo "SKIP: clang++ cannot link libFuzzer (package libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev)"
  exit 77
fi

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
failed=()
for target in "${targets[@]}"; do
  found=$build/corpus/$target
  artifacts=$build/artifacts/$target
  mkdir -p "$found" "$artifacts"
  echo "== $target: ${seconds}s"
  if ! "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$found" "$here/corpus/$target" 2>"$build/$target.log"; then
    failed+=("$target")
    tail -n 40 "$build/$target.log"
    echo "== $target FAILED; the input is in $artifacts"
  else
    grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$build/$target.log" | sed 's/^/   /'
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "failed: ${failed[*]}"
  exit 1
fi
echo "all fuzz targets ran without a finding"
