#!/usr/bin/env bash
# Installs what the host examples and packages need: Ruby (with Fiddle and
# minitest), Cargo, Go and, when missing, Node from apt; then koffi (and, for
# bindings/node, TypeScript) from the npm registry with npm ci in examples/node
# and bindings/node, which also puts koffi in npm's cache, from which the
# package's test installs it offline. Never fails: what cannot be installed is
# reported, and that host's tests are skipped.
set -uo pipefail
cd "$(dirname "$0")/.."
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# command -> Debian packages that bring it
missing=()
command -v ruby >/dev/null 2>&1 || missing+=(ruby)
command -v cargo >/dev/null 2>&1 || missing+=(cargo rustc)
command -v go >/dev/null 2>&1 || missing+=(golang-go)
command -v pkg-config >/dev/null 2>&1 || missing+=(pkgconf)
command -v node >/dev/null 2>&1 || missing+=(nodejs npm)
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  if ! { $sudo_cmd apt-get update -qq &&
         DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"; }; then
    echo "warning: could not install ${missing[*]}; those hosts will not be tested" >&2
  fi
fi

for dir in examples/node bindings/node; do
  command -v node >/dev/null 2>&1 || break
  [ -d "$dir/node_modules/koffi" ] && continue
  if ! command -v npm >/dev/null 2>&1; then
    echo "warning: node is here but npm is not; $dir will not be tested" >&2
    continue
  fi
  echo "installing $dir's packages (npm ci)"
  if ! (cd "$dir" && timeout 300 npm ci --no-audit --no-fund); then
    rm -rf "$dir/node_modules"   # a partial install would stop the next try
    echo "warning: npm ci failed in $dir (is the npm registry reachable?); it will not be tested" >&2
  fi
done
exit 0
