#!/usr/bin/env bash
# Known-word throughput and suggestions of tovuri-check beside aspell and
# hunspell, on the same English text: aspell's own English word list is
# compiled into a main dictionary for Tovuri, so all three know the same words.
# Benchmark only: installs the peers from Debian when they are missing.
#   bench/compare-peers.sh [BUILD_DIR] [WORDS]      (defaults: build, 1000000)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
words=${2:-1000000}
bin=$build/bin
for tool in tovuri-check tovuri-dict; do
  [[ -x $bin/$tool ]] || { echo "compare-peers: build $bin/$tool first" >&2; exit 2; }
done
if ! command -v aspell >/dev/null || ! command -v hunspell >/dev/null ||
   [[ ! -e /usr/share/hunspell/en_US.dic ]] || ! aspell dump master en >/dev/null 2>&1; then
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get install -y aspell aspell-en hunspell hunspell-en-us >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME" "$work/data"

# The English word list, as aspell knows it, compiled for Tovuri as the main dictionary.
aspell dump master en | aspell expand | tr ' ' '\n' | LC_ALL=C grep -E '^[A-Za-z]+$' |
  LC_ALL=C sort -u > "$work/english.txt"
cp "$bin/dictionary.txt" "$bin/passives.txt" "$work/data/"
[[ -e $bin/Ndebele.idx ]] && cp "$bin/Ndebele.idx" "$work/data/"
"$bin/tovuri-dict" compile "$work/english.txt" "$work/data/Ndebele.oxm" --title English >/dev/null

# A text of lower-case words that all three accept, twelve to a line.
python3 - "$work/english.txt" "$words" > "$work/text.txt" <<'PY'
import random, sys
words = [w for w in open(sys.argv[1]) if w.strip().islower()]
random.seed(20261208)
n = int(sys.argv[2])
out = []
for i in range(n):
    out.append(random.choice(words).strip())
    out.append("\n" if i % 12 == 11 else " ")
sys.stdout.write("".join(out))
PY
# Only words every checker accepts: drop those a peer lists.
aspell --lang=en list < "$work/text.txt" | sort -u > "$work/aspell-unknown.txt"
hunspell -d en_US -l < "$work/text.txt" | sort -u > "$work/hunspell-unknown.txt"
cat "$work/aspell-unknown.txt" "$work/hunspell-unknown.txt" | sort -u > "$work/drop.txt"
if [[ -s $work/drop.txt ]]; then
  python3 - "$work/drop.txt" "$work/text.txt" "$words" > "$work/known.txt" <<'PY'
import random, sys
drop = set(open(sys.argv[1]).read().split())
words = [w for w in open(sys.argv[2]).read().split() if w not in drop]
random.seed(1)
n = int(sys.argv[3])
out = []
for i in range(n):
    out.append(words[i % len(words)])
    out.append("\n" if i % 12 == 11 else " ")
sys.stdout.write("".join(out))
PY
else
  cp "$work/text.txt" "$work/known.txt"
fi
count=$(wc -w < "$work/known.txt")

# CPU seconds (user + system) of a command reading the text on standard input.
cpu_seconds() {
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" < "$work/known.txt" > /dev/null 2>&1 || true
  awk '{ print $1 + $2 }' "$work/time"
}

echo "Known words: $count words, CPU seconds of the whole run (read, tokenise, look up, print)"
tovuri=$(cpu_seconds "$bin/tovuri-check" --data "$work/data" --no-learn -l)
aspell_s=$(cpu_seconds aspell --lang=en list)
hunspell_s=$(cpu_seconds hunspell -d en_US -l)
fastest=$(printf '%s\n%s\n' "$aspell_s" "$hunspell_s" | sort -g | head -1)
for row in "tovuri-check -l:$tovuri" "aspell list:$aspell_s" "hunspell -l:$hunspell_s"; do
  name=${row%%:*}; seconds=${row##*:}
  awk -v n="$name" -v s="$seconds" -v c="$count" \
    'BEGIN { printf "  %-16s %8.3f s  %12.0f words/s\n", n, s, (s > 0 ? c / s : 0) }'
done
awk -v t="$tovuri" -v f="$fastest" \
  'BEGIN { printf "  Tovuri is %.2f times as fast as the fastest peer\n", (t > 0 ? f / t : 0) }'
