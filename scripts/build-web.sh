#!/usr/bin/env bash
# Builds the browser front ends into OUT (default build-web): the page in
# OUT/site/ and the unpacked Chromium extension in OUT/extension/. The core
# is compiled to WebAssembly with Debian's emscripten in build-wasm/
# ($TOVURI_WASM_BUILD moves it); the main dictionary comes from the native
# build: scripts/build.sh, or the programs' folder in $TOVURI_NATIVE_BIN.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m "${1:-build-web}")
# Debian's emscripten runs its JavaScript tools with node, which finds
# Debian's node modules (acorn) only when told where they are.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
for tool in emcmake node gzip; do
  command -v "$tool" >/dev/null || { echo "build-web.sh: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 3; }
done

wasm_build=$(realpath -m "${TOVURI_WASM_BUILD:-build-wasm}")
native_bin=${TOVURI_NATIVE_BIN:-}
if [ -z "$native_bin" ]; then
  scripts/build.sh ndebele_dictionary >/dev/null
  native_bin=build/bin
fi
emcmake cmake -S . -B "$wasm_build" -DCMAKE_BUILD_TYPE=Release -DTOVURI_BUILD_TESTS=OFF \
  -DTOVURI_BUILD_BENCH=OFF -DTOVURI_BUILD_APP=OFF -DCMAKE_CXX_FLAGS=-fwasm-exceptions >/dev/null
cmake --build "$wasm_build" -j2 --target tovuri_core

# The module and the data, gzip-compressed: the loader unpacks them
# (DecompressionStream), so a server needs no configuration.
assemble_core() {
  local dir=$1
  mkdir -p "$dir"
  cp "$wasm_build/web/tovuri_core.js" web/src/tovuri.js web/src/index_worker.js web/src/underlines.js "$dir/"
  gzip -9nc "$wasm_build/web/tovuri_core.wasm" >"$dir/tovuri_core.wasm.gz"
  for file in dictionary.txt passives.txt Ndebele.oxm English.oxm letter_model.tsv; do
    gzip -9nc "$native_bin/$file" >"$dir/$file.gz"
  done
}

rm -rf "$out/site" "$out/extension"
assemble_core "$out/site"
cp web/site/* "$out/site/"
# The service worker's cache is named for what it holds, so a new build
# replaces the old files at once.
version=$(cat "$out/site"/* | sha256sum | cut -c1-12)
sed -i "s/@VERSION@/$version/" "$out/site/sw.js" "$out/site/app.js"

assemble_core "$out/extension"
cp -r web/extension/* "$out/extension/"
sed -i "s/@VERSION@/$version/" "$out/extension/background.js"
echo "Page: $out/site/index.html"
echo "Extension: $out/extension/manifest.json"
