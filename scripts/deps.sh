#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, skipping those already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libexpat1-dev
  qt6-base-dev qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  libmodbus-dev python3-pymodbus python3-serial python3-serial-asyncio
  fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
