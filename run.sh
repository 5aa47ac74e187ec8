#!/usr/bin/env bash
# Installs what is missing, builds, and checks a file (default: the sample Ndebele text).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# Only the checker and the main dictionary it reads: no tests, no benchmarks.
scripts/build.sh tovuri-check ndebele_dictionary
text="${1:-data/sample.txt}"
if [ ! -f "$text" ]; then
  echo "run.sh: no such file: $text" >&2
  exit 2
fi
# Lists each word that neither the dictionaries nor the analyser accept.
if build/bin/tovuri-check -l "$text"; then
  echo "Every word of $text is accepted."
fi
