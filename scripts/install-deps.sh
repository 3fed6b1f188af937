#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need;
# packages already present are skipped. Pass "bench" to add the benchmark peers.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libcurl4-openssl-dev
          libssl-dev openssl libsqlcipher-dev sqlcipher libgtest-dev libgmock-dev
          clang-format fonts-wqy-microhei fontconfig xvfb xauth)
if [[ "${1:-}" == bench ]]; then
  packages+=(nginx-light aria2 ffmpeg curl hyperfine clang libclang-rt-14-dev time strace)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
