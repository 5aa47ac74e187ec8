#!/usr/bin/env bash
# Installs the Debian 12 packages Tovuri builds and tests with, when any is missing.
set -euo pipefail
# qt6-base-dev, fonts-dejavu-core: the desktop program and its offscreen tests;
# pkg-config, libenchant-2-dev: the Enchant provider; enchant-2: its tests run Enchant's own tools;
# python3: the scripts in tools/; clang, libclang-rt-14-dev: the fuzz targets.
packages=(build-essential cmake ccache googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev fonts-dejavu-core pkg-config libenchant-2-dev enchant-2 python3 clang libclang-rt-14-dev)
# Emacs: its ispell and flyspell are driven with tovuri-check in batch mode.
packages+=(emacs-nox)
# The word query service's Qt-free client (libdbus) and the private session
# bus its tests run on (dbus-run-session).
packages+=(libdbus-1-dev dbus)
# wbritish: the English word list compiled into English.oxm, so that the English
# inside Ndebele prose (names of institutions, places, events) is accepted.
packages+=(wbritish)
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
