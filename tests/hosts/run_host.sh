#!/usr/bin/env bash
# run_host.sh node|ruby|rust|go BUILD_DIR SOURCE_DIR
#
# Installs this build into a scratch prefix with `cmake --install`, installs
# the host package from bindings/ with its own tool, offline, in a fresh
# folder, runs the package's tests with its own runner against the installed
# libraries (found through pkg-config), then runs the README's quick start for
# the host, which must end by printing "1,2,3" and "invalid integer: x".
# Exits with 77 (the test is skipped) when the host's toolchain is not here.
set -uo pipefail
host=$1 build=$2 src=$3

skip() { echo "skipped: $*"; exit 77; }
need() { command -v "$1" >/dev/null 2>&1 || skip "$1 is not installed (bash scripts/setup-hosts.sh installs it)"; }
case "$host" in
  node)
    need node; need npm
    [ -d "$src/bindings/node/node_modules/koffi" ] && [ -x "$src/bindings/node/node_modules/.bin/tsc" ] ||
      skip "koffi and typescript are not installed in bindings/node (bash scripts/setup-hosts.sh runs npm ci there)" ;;
  ruby) need ruby; need gem; ruby -e 'require "fiddle"; require "minitest"' 2>/dev/null || skip "this ruby has no fiddle or minitest" ;;
  rust) need cargo; need rustc ;;
  go) need go ;;
  *) echo "unknown host: $host" >&2; exit 2 ;;
esac
need pkg-config

set -e
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log"
libdir="$(dirname "$(find "$prefix" -name 'libkarpa_seq.so.1.*' -type f | head -n 1)")"
export PKG_CONFIG_PATH="$libdir/pkgconfig" PREFIX="$prefix"
unset KARPA_LIB_DIR
# The packages must find the karpa command beside the libraries, not on PATH.
PATH="$(printf '%s' "$PATH" | tr ':' '\n' | grep -vx "$build/bin" | paste -sd:)"

# A checkout's bindings/ without what earlier local runs left in it.
mkdir -p "$work/repo"
tar -C "$src" --exclude=node_modules --exclude=target --exclude=Cargo.lock --exclude='*.tgz' --exclude='*.gem' \
    -cf - bindings | tar -C "$work/repo" -xf -

case "$host" in
  node)
    export npm_config_offline=true npm_config_audit=false npm_config_fund=false npm_config_update_notifier=false
    (cd "$work/repo/bindings/node" && npm pack --silent --pack-destination "$work" >/dev/null)
    mkdir "$work/app"
    (cd "$work/app" && npm init -y >/dev/null && npm install --silent "$work"/karpa-*.tgz)
    cp -r "$work/repo/bindings/node/test" "$work/app/test"
    (cd "$work/app" && node -e 'if (!require.resolve("karpa").includes("node_modules")) process.exit(1)')
    (cd "$work/app" && node --test test/)
    # The TypeScript declarations, as the installed package gives them.
    (cd "$work/app" && "$src/bindings/node/node_modules/.bin/tsc" --noEmit --strict --target es2020 --module commonjs \
        --moduleResolution node test/types.ts)
    ;;
  ruby)
    export GEM_HOME="$work/gems"
    (cd "$work/repo/bindings/ruby" && gem build --silent karpa.gemspec -o "$work/karpa.gem")
    gem install --local --no-document --silent "$work/karpa.gem"
    (cd "$work" && ruby -e 'require "karpa"; exit(Gem.loaded_specs["karpa"].full_gem_path.start_with?(ENV["GEM_HOME"]))')
    (cd "$work" && ruby "$work/repo/bindings/ruby/test/test_karpa.rb")
    ;;
  rust)
    export CARGO_TARGET_DIR="$work/target"
    (cd "$work/repo/bindings/rust" && cargo test --offline --quiet)
    ;;
  go)
    export GOFLAGS=-mod=mod GOPROXY=off LD_LIBRARY_PATH="$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    (cd "$work/repo/bindings/go" && go test -count=1 ./...)
    ;;
esac

# The README's quick start, run from the checkout's top as written.
block="$(awk -v mark="<!-- quickstart: $host -->" '
  $0 == mark { armed = 1; next }
  armed && /^```sh$/ { inside = 1; next }
  inside && /^```$/ { exit }
  inside { print }' "$src/README.md")"
[ -n "$block" ] || { echo "FAIL: no quick start for $host in README.md"; exit 1; }
lines="$(printf '%s\n' "$block" | wc -l)"
[ "$lines" -le 10 ] || { echo "FAIL: the $host quick start has $lines lines"; exit 1; }
out="$(cd "$work/repo" && bash -e -c "$block" 2>"$work/quickstart.err")" ||
  { echo "FAIL: the $host quick start failed:"; cat "$work/quickstart.err"; exit 1; }
last="$(printf '%s\n' "$out" | tail -n 2)"
if [ "$last" != "$(printf '1,2,3\ninvalid integer: x')" ]; then
  echo "FAIL: the $host quick start printed:"; printf '%s\n' "$out"; cat "$work/quickstart.err"; exit 1
fi
echo "ok: $host package, its tests and its quick start"
