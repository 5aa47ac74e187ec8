#!/usr/bin/env bash
# Installs the Debian 12 packages Tovuri builds and tests with, when any is missing.
set -euo pipefail
packages=(build-essential cmake ccache googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev fonts-dejavu-core)
# The word query service's Qt-free client (libdbus) and the private session
# bus its tests run on (dbus-run-session).
packages+=(libdbus-1-dev pkg-config dbus)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
