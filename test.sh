#!/usr/bin/env bash
# Installs what is missing, builds, runs every test, and smoke-runs the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
# A few seconds of each fuzz target over its seed corpus (scripts/fuzz.sh SECONDS runs longer).
scripts/fuzz.sh 3
