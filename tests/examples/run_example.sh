#!/usr/bin/env bash
# Runs one host example against the libraries in KARPA_LIB_DIR and checks that
# it exits with status 0, writes nothing to standard error and prints exactly
# the expected text. Exits with 77 (the test is skipped) when the host's
# runtime is not here.
#   run_example.sh node|ruby EXAMPLES_DIR EXPECTED_FILE
set -uo pipefail
host=$1 examples=$2 expected=$3

case "$host" in
  node)
    dir="$examples/node"
    if ! command -v node >/dev/null 2>&1; then
      echo "skipped: node is not installed"; exit 77
    fi
    if ! (cd "$dir" && node -e 'require("koffi")') >/dev/null 2>&1; then
      echo "skipped: koffi is not installed in $dir/node_modules (bash scripts/setup-hosts.sh runs npm ci there)"
      exit 77
    fi
    run=(node "$dir/karpa_example.js") ;;
  ruby)
    dir="$examples/ruby"
    if ! command -v ruby >/dev/null 2>&1; then
      echo "skipped: ruby is not installed (bash scripts/setup-hosts.sh installs it)"; exit 77
    fi
    if ! ruby -e 'require "fiddle"' >/dev/null 2>&1; then
      echo "skipped: this ruby has no fiddle"; exit 77
    fi
    run=(ruby "$dir/karpa_example.rb") ;;
  *)
    echo "unknown host: $host" >&2; exit 2 ;;
esac

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"${run[@]}" >"$out/stdout" 2>"$out/stderr" </dev/null
status=$?

failed=0
if [ "$status" -ne 0 ]; then
  echo "FAIL: ${run[*]} exited with status $status"; failed=1
fi
if [ -s "$out/stderr" ]; then
  echo "FAIL: ${run[*]} wrote to standard error:"; cat "$out/stderr"; failed=1
fi
if ! diff -u "$expected" "$out/stdout"; then
  echo "FAIL: the output differs from $expected (- expected, + printed)"; failed=1
fi
[ "$failed" -eq 0 ] && echo "ok: ${run[*]}"
exit "$failed"
