#!/usr/bin/env bash
# tiers_test.sh BUILD_DIR: the host-level tests, a slice of the differential
# unit tests and the karpa command run under qemu-x86_64 with processor models
# that lack AVX-512 (Haswell) and AVX2 (Nehalem), and must give the same
# results as the run on this machine and no SIGILL. The libraries choose their
# code paths from CPUID, which the emulator answers for the model.
#
# What the emulator proves: QEMU's TCG has no AVX-512 at all, so any AVX-512
# instruction faults under every model, and a run without SIGILL shows that no
# such instruction is reached without its CPUID bit. TCG 7.2 does execute AVX
# and AVX2 under a model that lacks them (the probe below tells), so for AVX2
# the Nehalem run proves the same answers from the paths chosen for a processor
# without it, not the absence of a stray AVX2 instruction.
set -uo pipefail
build="$1"
qemu="$(command -v qemu-x86_64)" || { echo "qemu-x86_64 is not installed (package qemu-user): skipped"; exit 77; }
models=(Haswell Nehalem)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$build/bin"

# Whole host-level tests, and an eighth of each differential unit test.
host_tests=(seq_host_test float_seq_host_test curried_host_test datetime_host_test crypto_host_test
            seq_lifecycle_test reliability_hostile_test c_header_test)
slice_tests=(frame_intscan_test float_codec_test seq_unit_test curried_unit_test datetime_calendar_test
             datetime_exports_test crypto_digest_test crypto_hmac_test)
export GTEST_TOTAL_SHARDS GTEST_SHARD_INDEX
# A process that dies by a signal under qemu-user gets the emulator's own
# message and core dump on top, so the fatal-signal tests run natively only.
export GTEST_FILTER='-*FatalSignal*'

# The command over inputs long enough for every vector loop, and the tour.
seq 1 200000 | paste -sd, > "$work/ints"
seq -1000.5 0.25 1000 | paste -sd, > "$work/floats"
seq 1 50000 | sed 's/^/item/' | paste -sd, > "$work/strings"
head -c 1000000 /dev/zero | tr '\0' 'k' > "$work/bytes"
cli_calls=(
    "tour"
    "seq_sort_int - 1" "seq_reduce_sum_int -" "seq_reduce_max_int -" "seq_unique_int -" "seq_map_int - 3"
    "seq_filter_int - 777" "seq_reverse_int -" "cur_minmax_int -" "cur_median_int -" "cur_variance_int -"
    "seq_sort_float - 0" "seq_reduce_sum_float -" "seq_reduce_min_float -" "cur_mean_float -" "cur_stddev_float -"
    "seq_sort_string - 1" "seq_unique_string -" "seq_count_string - 8" "cur_distinct_string -"
    "md5_hash -" "sha1_hash -" "sha256_hash -"
    "dt_range_days 1999 12 20 4000" "dt_range_months 2024 1 1200"
)
cli_input() {
    case "$1" in
        *_float\ *|*_float) echo "$work/floats" ;;
        *_string*) echo "$work/strings" ;;
        *_hash*) echo "$work/bytes" ;;
        *) echo "$work/ints" ;;
    esac
}

# run_all NAME PREFIX...: every program of the plan, each one's output and
# exit status kept under NAME.
run_all() {
    local out="$work/$1"; shift
    mkdir -p "$out"
    local t
    for t in "${host_tests[@]}"; do
        GTEST_TOTAL_SHARDS=1 GTEST_SHARD_INDEX=0 "$@" "./$t" > "$out/$t" 2>&1
        echo "status $?" >> "$out/$t"
    done
    for t in "${slice_tests[@]}"; do
        GTEST_TOTAL_SHARDS=8 GTEST_SHARD_INDEX=1 "$@" "./$t" > "$out/$t" 2>&1
        echo "status $?" >> "$out/$t"
    done
    local k=0 call
    for call in "${cli_calls[@]}"; do
        # shellcheck disable=SC2086
        "$@" ./karpa $call < "$(cli_input "$call")" > "$out/karpa_$k" 2>&1
        echo "status $?" >> "$out/karpa_$k"
        k=$((k + 1))
    done
    # qemu names the features of a model that its emulator lacks; that is not the programs' output.
    sed -i '/^qemu-x86_64: warning: TCG doesn/d' "$out"/*
}

# The tests compare with their oracles themselves, so a test program passes or
# fails as a whole (a test of a processor feature the model lacks is skipped);
# the command's output must be the same to the byte.
verdict() {  # FILE: what must agree between two runs
    case "$(basename "$1")" in
        karpa_*) cat "$1" ;;
        *) grep -E '^\[  FAILED  \]|^status ' "$1" | sort -u ;;
    esac
}

run_all native
failed=0
for f in "$work/native"/*; do
    if ! grep -qx "status 0" "$f"; then echo "FAIL $(basename "$f") fails on this machine"; failed=1; fi
done
for model in "${models[@]}"; do
    run_all "$model" "$qemu" -cpu "$model"
    for f in "$work/native"/*; do
        name="$(basename "$f")"
        if grep -qx "status 132" "$work/$model/$name"; then
            echo "FAIL $name: SIGILL under -cpu $model"
            failed=1
        elif [ "$(verdict "$f")" != "$(verdict "$work/$model/$name")" ]; then
            echo "FAIL $name: under -cpu $model the result differs from this machine's"
            diff <(verdict "$f") <(verdict "$work/$model/$name") | head -n 20
            failed=1
        fi
    done
    skipped=$(cat "$work/$model"/*_test | grep -c '^\[  SKIPPED \] .*\.' || true)
    echo "-cpu $model: ${#host_tests[@]} host tests, ${#slice_tests[@]} unit test slices, ${#cli_calls[@]} karpa" \
         "calls agree with this machine ($skipped tests of processor features skipped)"
done

# The probe: which instruction sets the emulator refuses under each model.
cat > "$work/probe.c" <<'PROBE'
#include <immintrin.h>
#include <stdio.h>
__attribute__((target("avx2"))) static int avx2(int x) {
    __m256i v = _mm256_set1_epi32(x);
    return _mm256_extract_epi32(_mm256_add_epi32(v, v), 3);
}
__attribute__((target("avx512f"))) static int avx512(int x) {
    __m512i v = _mm512_set1_epi32(x);
    return _mm512_reduce_add_epi32(_mm512_add_epi32(v, v));
}
int main(int argc, char** argv) {
    volatile int x = argc;
    printf("%d\n", argv[1][0] == '2' ? avx2(x) : avx512(x));
    return 0;
}
PROBE
if cc -O2 "$work/probe.c" -o "$work/probe" 2> /dev/null; then
    for model in "${models[@]}"; do
        for set in 2 5; do
            bash -c '"$@" > /dev/null 2>&1' probe "$qemu" -cpu "$model" "$work/probe" "$set" 2> /dev/null
            outcome=$([ $? -eq 132 ] && echo "faults" || echo "runs")
            echo "probe: under -cpu $model an AVX$([ "$set" = 2 ] && echo 2 || echo -512) instruction $outcome"
        done
    done
fi
echo "$((1 - failed)) passed, $failed failed"
exit "$failed"
