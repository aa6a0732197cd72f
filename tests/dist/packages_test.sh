#!/usr/bin/env bash
# packages_test.sh BUILD_DIR SOURCE_DIR VERSION: `cpack -G DEB` makes the three
# Debian packages, named the Debian way; lintian finds no error in them; unpacked
# into a scratch root they give the README's C quick start (through pkg-config
# and through find_package), the karpa command and `man seq_sort_int`.
set -euo pipefail
build="$1"
source="$2"
version="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/packages" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
packages=(libkarpa1 libkarpa-dev karpa)
debs=()
for p in "${packages[@]}"; do
    deb="$work/packages/${p}_${version}_amd64.deb"
    test -f "$deb" || { echo "FAIL no $(basename "$deb")"; ls "$work/packages"; exit 1; }
    debs+=("$deb")
    [ "$(dpkg-deb -f "$deb" Package)" = "$p" ] || { echo "FAIL $deb is not package $p"; exit 1; }
done

# Errors fail; warnings that a package of four libraries built in a local tree
# always has are listed in the README.
lintian --tag-display-limit 0 "${debs[@]}" > "$work/lintian.log" 2>&1 || true
grep -v -e '^running with root privileges' -e '^N: ' "$work/lintian.log" || true
if grep -q '^E: ' "$work/lintian.log"; then echo "FAIL lintian reports errors"; exit 1; fi

# apt resolves their dependencies (a simulated install changes nothing).
if command -v apt-get > /dev/null; then
    apt-get install --simulate "${debs[@]}" > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
fi

root="$work/root"
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done
usr="$root/usr"
libdir="$(dirname "$(find "$usr" -name 'libkarpa_seq.so.1' | head -n 1)")"

# The README's C quick start, word for word, built against the unpacked packages.
awk '/^## Quick start: C/{f=1} f&&/^```c/{c=1;next} c&&/^```/{exit} c' "$source/README.md" > "$work/demo.c"
export PKG_CONFIG_PATH="$libdir/pkgconfig"
cc -std=c11 -Wall -Wextra -Werror "$work/demo.c" -o "$work/demo" $(pkg-config --cflags --libs karpa) \
   -Wl,-rpath,"$libdir"
[ "$("$work/demo")" = "1,2,3 1970-01-01" ] || { echo "FAIL the quick start printed '$("$work/demo")'"; exit 1; }
for pc in karpa karpa-seq karpa-curried karpa-datetime karpa-crypto; do
    [ "$(pkg-config --modversion "$pc")" = "$version" ] || { echo "FAIL $pc.pc has another version"; exit 1; }
done
cmake -S "$source/tests/install/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$usr" \
      -DCMAKE_BUILD_RPATH="$libdir" > "$work/consumer.log" || { cat "$work/consumer.log"; exit 1; }
cmake --build "$work/consumer" > "$work/consumer.log" || { cat "$work/consumer.log"; exit 1; }
"$work/consumer/consumer" > /dev/null

[ "$("$usr/bin/karpa" seq_sort_int " 3,1, 2" 0)" = "1,2,3" ] || { echo "FAIL karpa from the package"; exit 1; }
[ "$("$usr/bin/karpa" --version)" = "karpa $version" ] || { echo "FAIL karpa --version"; exit 1; }
for f in "$libdir"/libkarpa_*.so.1 "$usr/bin/karpa"; do
    if readelf -S "$f" | grep -q '\.symtab'; then echo "FAIL $f is not stripped"; exit 1; fi
done

# Every page is where man looks for it.
for page in seq_sort_int hmac_sha256 dt_range_months; do
    LC_ALL=C MANPAGER=cat man -M "$usr/share/man" 3 "$page" | grep -q "$page(const char\*\|$page(int64_t" \
        || { echo "FAIL man $page"; exit 1; }
done
LC_ALL=C MANPAGER=cat man -M "$usr/share/man" 1 karpa | grep -q 'EXIT STATUS' || { echo "FAIL man 1 karpa"; exit 1; }
LC_ALL=C MANPAGER=cat man -M "$usr/share/man" 7 karpa | grep -q 'RESULT\|Results' || { echo "FAIL man 7 karpa"; exit 1; }
echo "packages: $(cd "$work/packages" && ls ./*.deb | tr '\n' ' ')"
echo "1 passed, 0 failed"
