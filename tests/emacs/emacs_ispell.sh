#!/usr/bin/env bash
# Checks that Emacs's ispell and flyspell work with tovuri-check, in batch
# mode (emacs-nox from Debian); CTest runs it when Emacs is installed:
#   tests/emacs/emacs_ispell.sh [build/bin/tovuri-check]
# Everything runs in a temporary home, which is removed afterwards.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tool="$(realpath "${1:-$here/../../build/bin/tovuri-check}")"
command -v emacs > /dev/null || { echo "emacs_ispell.sh: emacs is not installed (apt-get install emacs-nox)" >&2; exit 2; }
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
# The shipped data with a lexicon line the loader warns about.
warned="$home/warned-data"
mkdir -p "$warned"
data="$(dirname "$tool")"
cp "$data/Ndebele.oxm" "$data/passives.txt" "$data/dictionary.txt" "$warned/"
[ -f "$data/letter_model.tsv" ] && cp "$data/letter_model.tsv" "$warned/"
echo "nonsense line" >> "$warned/dictionary.txt"
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" TOVURI_CHECK="$tool" \
  TOVURI_WARNED_DATA="$warned" emacs --batch -Q -l "$here/emacs_ispell.el"
