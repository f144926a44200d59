#!/usr/bin/env bash
# Installs the Debian packages KAMO needs to build, test and check its files.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  python3-ezdxf occt-draw libocct-draw-dev admesh tidy poppler-utils
  libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev libocct-data-exchange-dev
  libtbb-dev
  xvfb fonts-dejavu-core hp2xx
  faketime  # scripts/output-compare.sh: one clock for the dates in the outputs
  libgif-dev  # the animated GIF of --animate
  gifsicle  # tests: reads the animated GIF back
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
