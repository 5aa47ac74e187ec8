#!/usr/bin/env bash
# Installs what is missing, builds, and opens a file (default: the sample
# Ndebele text) in the Tovuri window. Without a display it lists the file's
# unknown words with tovuri-check instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# The programs and the data they read: no tests, no benchmarks.
scripts/build.sh tovuri tovuri-check ndebele_dictionary english_dictionary word_check_index
text="${1:-data/sample.txt}"
if [ ! -f "$text" ]; then
  echo "run.sh: no such file: $text" >&2
  exit 2
fi

# True when a Wayland or X display answers: its socket exists, or for a
# display over the network (ssh forwarding, "localhost:10.0") its port opens.
display_reachable() {
  if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    local socket="$WAYLAND_DISPLAY"
    [[ $socket == /* ]] || socket="${XDG_RUNTIME_DIR:-/nonexistent}/$socket"
    [ -S "$socket" ] && return 0
  fi
  [ -n "${DISPLAY:-}" ] || return 1
  local host="${DISPLAY%%:*}" number="${DISPLAY#*:}"
  number="${number%%.*}"
  [[ $number =~ ^[0-9]+$ ]] || return 1
  if [ -z "$host" ] || [ "$host" = unix ]; then
    [ -S "/tmp/.X11-unix/X$number" ]
    return
  fi
  (exec 3<>"/dev/tcp/$host/$((6000 + number))") 2>/dev/null
}

if display_reachable; then
  exec build/bin/tovuri "$text"
fi
echo "run.sh: no display can be reached (DISPLAY='${DISPLAY:-}'); listing the unknown words of $text instead."
# Lists each word that neither the dictionaries nor the analyser accept.
if build/bin/tovuri-check --list "$text"; then
  echo "Every word of $text is accepted."
fi
