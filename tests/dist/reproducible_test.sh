#!/usr/bin/env bash
# reproducible_test.sh SOURCE_DIR CXX BUILD_TYPE: two builds of the same tree,
# copied to two unlike paths and built in unlike folders, give byte-identical
# libraries and command, and neither names the folders it was built in.
set -euo pipefail
source="$1"
cxx="$2"
build_type="${3:-Release}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

generator=()
command -v ninja > /dev/null && generator=(-G Ninja)
targets=(karpa_seq karpa_curried karpa_datetime karpa_crypto karpa)
binaries=(lib/libkarpa_seq.so.1 lib/libkarpa_curried.so.1 lib/libkarpa_datetime.so.1 lib/libkarpa_crypto.so.1 bin/karpa)

one_build() {  # copy to $1, build in $2
    mkdir -p "$1"
    (cd "$source" && cp -r CMakeLists.txt cmake include src tools python LICENSE README.md "$1/")
    cmake -S "$1" -B "$2" "${generator[@]}" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE="$build_type" \
          > "$work/configure.log" || { cat "$work/configure.log"; exit 1; }
    cmake --build "$2" -j2 --target "${targets[@]}" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
}
one_build "$work/first/karpa" "$work/first/karpa/build"
one_build "$work/second/elsewhere/checkout-2" "$work/second/out-of-tree"

failed=0
for b in "${binaries[@]}"; do
    first="$work/first/karpa/build/$b"
    second="$work/second/out-of-tree/$b"
    if ! cmp -s "$first" "$second"; then
        echo "FAIL $b differs between the two builds"
        failed=1
    fi
    if grep -a -q -e "$work" -e "$source" "$first" "$second"; then
        echo "FAIL $b names a source or build folder"
        failed=1
    fi
done
[ "$failed" = 0 ] && echo "${#binaries[@]} binaries identical: ${binaries[*]}"
echo "$((1 - failed)) passed, $failed failed"
exit "$failed"
