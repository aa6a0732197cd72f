#!/usr/bin/env bash
# install_test.sh BUILD_DIR SOURCE_DIR VERSION: install, then build and run a
# consumer both ways; every place that states the version agrees with VERSION.
set -euo pipefail
build="$1"
here="$2"
version="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" > "$work/install.log"
libdir="$(dirname "$(find "$prefix" -name 'libkarpa_seq.so.1.0.0' | head -n 1)")"
for lib in seq curried datetime crypto; do
  test -L "$libdir/libkarpa_$lib.so" || { echo "no link libkarpa_$lib.so"; exit 1; }
  soname="$(readelf -d "$libdir/libkarpa_$lib.so.1" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')"
  [ "$soname" = "libkarpa_$lib.so.${version%%.*}" ] || { echo "SONAME of $lib is '$soname'"; exit 1; }
done
test -f "$prefix/include/karpa/karpa.h"
"$prefix/bin/karpa" seq_sort_int "2,1" 0 | grep -qx "1,2"
[ "$("$prefix/bin/karpa" --version)" = "karpa $version" ] || { echo "karpa --version disagrees"; exit 1; }

# pkg-config
export PKG_CONFIG_PATH="$libdir/pkgconfig"
cc -std=c11 -Wall -Wextra -Werror -pedantic "$here/consumer.c" -o "$work/consumer_pc" \
   $(pkg-config --cflags --libs karpa) -Wl,-rpath,"$libdir"
[ "$("$work/consumer_pc")" = "consumer ok $version" ] || { echo "consumer or header version wrong"; exit 1; }
for pc in karpa karpa-seq karpa-curried karpa-datetime karpa-crypto; do
  [ "$(pkg-config --modversion "$pc")" = "$version" ] || { echo "$pc.pc has another version"; exit 1; }
done

# find_package
cmake -S "$here/consumer" -B "$work/consumer_build" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_RPATH="$libdir" > "$work/configure.log"
cmake --build "$work/consumer_build" > "$work/build.log"
"$work/consumer_build/consumer"
# the Python package, beside its libraries
site="$(dirname "$(find "$prefix" -type d -name karpa -path '*site-packages*' | head -n 1)")"
env -u KARPA_LIB_DIR PYTHONPATH="$site" python3 -c '
import karpa
assert karpa.seq.sort_int([3, 1, 2]) == [1, 2, 3]
assert "site-packages/karpa/lib" in karpa.library_path("seq"), karpa.library_path("seq")
assert karpa.__version__ == "'"$version"'", karpa.__version__
print("python ok")'
echo "1 passed, 0 failed"
