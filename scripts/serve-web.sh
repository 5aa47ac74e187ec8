#!/usr/bin/env bash
# Serves the page built by scripts/build-web.sh on localhost and prints its
# address: scripts/serve-web.sh [OUT] [PORT] (defaults build-web, 8080).
set -euo pipefail
cd "$(dirname "$0")/.."
site="${1:-build-web}/site"
port="${2:-8080}"
[ -f "$site/index.html" ] || { echo "serve-web.sh: no page in $site; run scripts/build-web.sh first" >&2; exit 2; }
echo "Tovuri is at http://localhost:$port/ (Ctrl+C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
