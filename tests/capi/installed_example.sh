#!/usr/bin/env bash
# The README's C example, built against an installed libtovuri through its
# pkg-config file, as a user would build it:
#   installed_example.sh CMAKE BUILD_DIR README
set -euo pipefail
cmake_command="$1" build="$2" readme="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$cmake_command" --install "$build" --prefix "$work/prefix" > /dev/null
awk '/^```c$/ {inside = 1; next} /^```$/ {inside = 0} inside' "$readme" > "$work/example.c"
export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
# shellcheck disable=SC2046 # pkg-config's words are separate arguments
cc -Wall -Werror "$work/example.c" $(pkg-config --cflags --libs tovuri) -Wl,-rpath,"$work/prefix/lib" -o "$work/example"
out="$(HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  TOVURI_DATA_DIR="$work/prefix/share/tovuri" "$work/example")"
if [ "$out" != "1 abantu" ]; then
  echo "installed_example.sh: the example printed '$out', not '1 abantu'" >&2
  exit 1
fi
echo "1 passed, 0 failed"
