#!/usr/bin/env bash
# Installs what the host examples need: Ruby (with Fiddle) from apt, and the
# Node example's packages (koffi) with npm ci when Node is there. Never fails:
# what cannot be installed is reported, and that example's test is skipped.
set -uo pipefail
cd "$(dirname "$0")/.."
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

if ! command -v ruby >/dev/null 2>&1; then
  echo "installing: ruby"
  if ! { $sudo_cmd apt-get update -qq &&
         DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq ruby; }; then
    echo "warning: could not install ruby; the Ruby example will not be tested" >&2
  fi
fi

if command -v node >/dev/null 2>&1 && [ ! -d examples/node/node_modules ]; then
  if ! command -v npm >/dev/null 2>&1; then
    echo "warning: node is here but npm is not; the Node example will not be tested" >&2
  else
    echo "installing the Node example's packages (npm ci in examples/node)"
    if ! (cd examples/node && timeout 300 npm ci --no-audit --no-fund); then
      rm -rf examples/node/node_modules   # a partial install would stop the next try
      echo "warning: npm ci failed in examples/node (is the npm registry reachable?);" \
           "the Node example will not be tested" >&2
    fi
  fi
fi
exit 0
