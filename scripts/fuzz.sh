#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each of them.
#
#   bash scripts/fuzz.sh SECONDS   fuzz every harness for SECONDS
#   bash scripts/fuzz.sh --smoke   a few seconds each, as CI does
#
# Every run first replays the kept crash inputs (fuzz/regressions/<harness>/),
# then fuzzes from the committed seed corpus (fuzz/corpus/<harness>/) into a
# scratch corpus under the build directory. A crash stops the script; the
# input is left in <build>/artifacts/ and belongs in fuzz/regressions/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=3
case "${1:---smoke}" in
  --smoke) seconds=3 ;;
  *[!0-9]* | "") echo "usage: $0 SECONDS | --smoke" >&2; exit 2 ;;
  *) seconds=$1 ;;
esac

build=${KARPA_FUZZ_BUILD:-build-fuzz}
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="${KARPA_FUZZ_CXX:-clang++}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j"$(nproc)"

harnesses=(int_list float_parse float_print seq_exports curried_exports datetime_exports calendar digest)
mkdir -p "$build/artifacts"
# The libraries install their own fatal-signal handlers when loaded; the
# sanitizer keeps its own, so a crash still gives its full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allow_user_segv_handler=0:handle_abort=1:handle_sigill=1:handle_sigfpe=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
for h in "${harnesses[@]}"; do
  bin="$build/fuzz_$h"
  shopt -s nullglob
  kept=(fuzz/regressions/"$h"/*)
  shopt -u nullglob
  if ((${#kept[@]})); then
    "$bin" "${kept[@]}" > "$build/artifacts/$h.regressions.log" 2>&1 ||
      { cat "$build/artifacts/$h.regressions.log" >&2; echo "fuzz: $h fails on a kept input" >&2; exit 1; }
  fi
  scratch="$build/corpus/$h"
  mkdir -p "$scratch" "fuzz/corpus/$h"
  log="$build/artifacts/$h.log"
  if ! "$bin" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$h-" "$scratch" "fuzz/corpus/$h" > "$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz: $h found a failing input (see $build/artifacts/)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz: $h: ${#kept[@]} kept inputs pass, ${runs:-?} executions in ${seconds}s"
done
