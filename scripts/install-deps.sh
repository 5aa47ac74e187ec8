#!/usr/bin/env bash
# Installs the Debian 12 packages Tovuri builds and tests with, when any is missing.
set -euo pipefail
# qt6-base-dev, fonts-dejavu-core: the desktop program and its offscreen tests;
# pkg-config, libenchant-2-dev: the Enchant provider; enchant-2: its tests run Enchant's own tools;
# python3: the scripts in tools/; clang, libclang-rt-14-dev: the fuzz targets.
packages=(build-essential cmake ccache googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev fonts-dejavu-core pkg-config libenchant-2-dev enchant-2 python3 clang libclang-rt-14-dev)
# LibreOffice Writer and its Python bridge: the spelling extension runs in it, headless in the tests.
packages+=(libreoffice-writer python3-uno libreoffice-script-provider-python)
# Emacs: its ispell and flyspell are driven with tovuri-check in batch mode.
packages+=(emacs-nox)
# The word query service's Qt-free client (libdbus) and the private session
# bus its tests run on (dbus-run-session).
packages+=(libdbus-1-dev dbus)
# The browser front ends (scripts/build-web.sh and web/tests): emscripten
# compiles the core to WebAssembly, node runs the module's tests, and
# Debian's chromium is the headless browser that puppeteer-core drives.
packages+=(emscripten nodejs chromium)
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
# puppeteer-core for the web tests, at the version web/tests/package-lock.json
# pins; it drives the chromium installed above, so no browser is downloaded.
if [ ! -d "$(dirname "$0")/../web/tests/node_modules/puppeteer-core" ] && command -v npm >/dev/null; then
  (cd "$(dirname "$0")/../web/tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi
