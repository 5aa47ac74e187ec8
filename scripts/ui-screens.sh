#!/usr/bin/env bash
# Screenshots of the editor, the correction menu and each dialog under Xvfb:
#   xvfb-run -s "-screen 0 1024x768x24" scripts/ui-screens.sh OUTDIR
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screens}"
mkdir -p "$out"
for scene in editor menu spelling options dictionaries newdict edit-added edit-pairs edit-excluded; do
  QT_QPA_PLATFORM=xcb build/bin/tovuri-ui-screens "$scene" &
  pid=$!
  sleep 2
  import -window root "$out/$scene.png"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
echo "Screenshots in $out"
