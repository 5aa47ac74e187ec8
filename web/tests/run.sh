#!/usr/bin/env bash
# The browser front ends' tests, as CTest runs them: builds the page and the
# extension (scripts/build-web.sh), then runs the node tests: the module
# against the native build, the page and the extension in headless Chromium.
#   web/tests/run.sh NATIVE_BIN OUT
# Exits 77 (skipped) only when a tool is not installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
native_bin=$(realpath "$1")
out=$(realpath -m "$2")
skip() { echo "SKIPPED: $1 (scripts/install-deps.sh installs it)"; exit 77; }
command -v emcmake >/dev/null || skip "emscripten is not installed"
command -v node >/dev/null || skip "node is not installed"
[ -d "$here/node_modules/puppeteer-core" ] || skip "puppeteer-core is not installed in web/tests"
chromium=${TOVURI_CHROMIUM:-$(command -v chromium || true)}
[ -n "$chromium" ] || skip "chromium is not installed"
TOVURI_NATIVE_BIN=$native_bin TOVURI_WASM_BUILD=$out/wasm "$here/../../scripts/build-web.sh" "$out"
export TOVURI_NATIVE_BIN=$native_bin TOVURI_WEB_OUT=$out TOVURI_CHROMIUM=$chromium
cd "$here"
node --test --test-concurrency=1 ./*.test.mjs
