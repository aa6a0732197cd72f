#!/usr/bin/env bash
# Installs what building Karpa needs on a fresh Debian machine; with --tests,
# also what the tests, the fuzz harnesses and the benchmarks need.
set -euo pipefail
packages=(g++ cmake ninja-build make pkgconf binutils python3)
if [ "${1:-}" = "--tests" ]; then
  packages+=(libgtest-dev libbenchmark-dev libssl-dev clang libclang-rt-14-dev python3-venv python3-pip
             libfast-float-dev libfmt-dev libabsl-dev pdqsort-dev libhwy-dev libsimdjson-dev nettle-dev libgcrypt20-dev
             libhowardhinnant-date-dev libcrypto++-dev
             python3-dev python3-numpy python3-dask python3-distributed   # karpa._native; its buffer and Dask tests
             lintian dpkg-dev file man-db groff-base qemu-user)   # the packages, their pages, older processors
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
[ "${1:-}" != "--tests" ] || bash "$(dirname "$0")/setup-hosts.sh"   # ruby and the Node example's koffi, for the host examples
