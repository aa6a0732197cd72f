#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each of them.
#
#   bash scripts/fuzz.sh --smoke              a few seconds each, as CI does
#   bash scripts/fuzz.sh SECONDS              fuzz every harness for SECONDS, one after another
#   bash scripts/fuzz.sh --campaign SECONDS   a campaign of about SECONDS on all cores: every
#                                             harness gets an equal share of the core time, the
#                                             corpora are merged and minimised into fuzz/corpus/,
#                                             every crash is kept in fuzz/regressions/<harness>/,
#                                             and the executions per harness (and per processor tier,
#                                             for the harnesses that run every tier) and in total are printed;
#                                             then the general-form printer is compared with "%g" over
#                                             KARPA_SWEEP_VALUES values (default 10^9) in a plain loop
#
# Every run first replays the kept crash inputs (fuzz/regressions/<harness>/),
# then fuzzes from the committed seed corpus (fuzz/corpus/<harness>/) into a
# scratch corpus under the build directory. A crash stops that harness; the
# input is left in <build>/artifacts/ (and, in a campaign, copied into
# fuzz/regressions/<harness>/).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=serial
seconds=3
case "${1:---smoke}" in
  --smoke) seconds=3 ;;
  --campaign)
    mode=campaign
    seconds=${2:-}
    [[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 --campaign SECONDS" >&2; exit 2; } ;;
  *[!0-9]* | "") echo "usage: $0 SECONDS | --smoke | --campaign SECONDS" >&2; exit 2 ;;
  *) seconds=$1 ;;
esac

build=${KARPA_FUZZ_BUILD:-build-fuzz}
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="${KARPA_FUZZ_CXX:-clang++}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j"$(nproc)"

harnesses=(int_list float_parse float_print seq_exports string_lists string_sets curried_exports datetime_exports calendar digest)
mkdir -p "$build/artifacts"
# The libraries install their own fatal-signal handlers when loaded; the
# sanitizer keeps its own, so a crash still gives its full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allow_user_segv_handler=0:handle_abort=1:handle_sigill=1:handle_sigfpe=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

# Replays the kept inputs of harness $1; fails when one of them fails.
replay() {
  local h=$1 bin="$build/fuzz_$1"
  shopt -s nullglob
  local kept=(fuzz/regressions/"$h"/*)
  shopt -u nullglob
  if ((${#kept[@]})); then
    "$bin" "${kept[@]}" > "$build/artifacts/$h.regressions.log" 2>&1 ||
      { cat "$build/artifacts/$h.regressions.log" >&2; echo "fuzz: $h fails on a kept input" >&2; return 1; }
  fi
  echo "${#kept[@]}"
}

# Fuzzes harness $1 for $2 seconds; the log is <build>/artifacts/<harness>.log.
fuzz_one() {
  local h=$1 time=$2 bin="$build/fuzz_$1"
  mkdir -p "$build/corpus/$h" "fuzz/corpus/$h"
  "$bin" -max_total_time="$time" -timeout=20 -rss_limit_mb=4096 -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$h-" "$build/corpus/$h" "fuzz/corpus/$h" > "$build/artifacts/$h.log" 2>&1
}

executions() { sed -n 's/^stat::number_of_executed_units: *//p' "$build/artifacts/$1.log"; }
# The inputs run on each processor tier ("" for a harness with no tiered code).
tier_runs() { sed -n 's/^tier runs: /, on each tier: /p' "$build/artifacts/$1.log" | tail -n 1; }

if [ "$mode" = serial ]; then
  for h in "${harnesses[@]}"; do
    kept=$(replay "$h")
    if ! fuzz_one "$h" "$seconds"; then
      tail -n 60 "$build/artifacts/$h.log" >&2
      echo "fuzz: $h found a failing input (see $build/artifacts/)" >&2
      exit 1
    fi
    echo "fuzz: $h: $kept kept inputs pass, $(executions "$h") executions in ${seconds}s$(tier_runs "$h")"
  done
  exit 0
fi

# Campaign: as many harnesses at a time as there are cores, each for its
# share of SECONDS times the cores.
cores=$(nproc)
share=$(( seconds * cores / ${#harnesses[@]} ))
((share > 0)) || share=1
echo "fuzz campaign: ${#harnesses[@]} harnesses, ${share}s each, $cores at a time"
# A crash mark or input left by an earlier run must not count as this run's finding.
rm -rf "$build/artifacts" && mkdir -p "$build/artifacts"
for h in "${harnesses[@]}"; do replay "$h" > /dev/null; done
started=$(date +%s)
printf '%s\n' "${harnesses[@]}" | xargs -P "$cores" -I{} bash -c \
  "$(declare -f fuzz_one); build='$build'; fuzz_one {} $share || touch '$build/artifacts/{}.crashed'"
elapsed=$(( $(date +%s) - started ))

total=0
found=0
for h in "${harnesses[@]}"; do
  runs=$(executions "$h")
  total=$(( total + ${runs:-0} ))
  note=""
  if [ -e "$build/artifacts/$h.crashed" ]; then
    rm -f "$build/artifacts/$h.crashed"
    found=1
    mkdir -p "fuzz/regressions/$h"
    for a in "$build/artifacts/$h"-*; do [ -f "$a" ] && cp "$a" "fuzz/regressions/$h/"; done
    note=" (found a failing input, kept in fuzz/regressions/$h/)"
  fi
  # Merge the scratch corpus into the committed one and keep a minimal set.
  merged="$build/merged/$h"
  rm -rf "$merged" && mkdir -p "$merged"
  if "$build/fuzz_$h" -merge=1 -timeout=20 -rss_limit_mb=4096 -max_len=4096 "$merged" "fuzz/corpus/$h" \
      "$build/corpus/$h" > "$build/artifacts/$h.merge.log" 2>&1; then
    rm -rf "fuzz/corpus/$h" && mv "$merged" "fuzz/corpus/$h"
  else
    echo "fuzz: $h: the merge failed (see $build/artifacts/$h.merge.log); fuzz/corpus/$h is unchanged" >&2
  fi
  echo "fuzz: $h: ${runs:-?} executions in ${share}s$(tier_runs "$h"), corpus $(ls "fuzz/corpus/$h" | wc -l) inputs$note"
done
echo "fuzz campaign: $total executions in ${elapsed}s on $cores cores"
swept=$(date +%s)
"$build/sweep_general_form" "${KARPA_SWEEP_VALUES:-1000000000}" "$cores" || found=1
echo "fuzz campaign: the sweep took $(( $(date +%s) - swept ))s"
exit "$found"
