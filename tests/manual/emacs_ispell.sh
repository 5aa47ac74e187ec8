#!/usr/bin/env bash
# Checks by hand that Emacs's ispell and flyspell work with tovuri-check
# (emacs-nox from Debian; not needed by the automated tests):
#   tests/manual/emacs_ispell.sh [build/bin/tovuri-check]
# Everything runs in a temporary home, which is removed afterwards.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tool="$(realpath "${1:-$here/../../build/bin/tovuri-check}")"
command -v emacs > /dev/null || { echo "emacs_ispell.sh: emacs is not installed (apt-get install emacs-nox)" >&2; exit 2; }
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" TOVURI_CHECK="$tool" \
  emacs --batch -Q -l "$here/emacs_ispell.el"
