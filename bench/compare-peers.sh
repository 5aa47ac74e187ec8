#!/usr/bin/env bash
# Known-word throughput and suggestions of tovuri-check beside aspell and
# hunspell, on the same English text: aspell's own English word list is
# compiled into a main dictionary for Tovuri, so all three know the same words.
# Suggestions: the same misspellings (one random edit of a listed word) given
# to `tovuri-check --suggest --dictionaries-only`, `aspell -a` and
# `hunspell -a`; printed: CPU time per misspelling (whole runs, start-up
# included) and the share with the intended word first and in the first five.
# Benchmark only: installs the peers from Debian when they are missing.
#   bench/compare-peers.sh [BUILD_DIR] [WORDS] [MISSPELLINGS]
#                                  (defaults: build, 1000000, 1000)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
words=${2:-1000000}
misspellings=${3:-1000}
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

# One edit of a lower-case listed word (a letter dropped, doubled, swapped
# with the next, or replaced by a neighbour on the keyboard) that no list holds.
python3 - "$work/english.txt" "$misspellings" > "$work/misspelt.tsv" <<'PY'
import random, sys
listed = set(w.strip() for w in open(sys.argv[1]))
words = sorted(w for w in listed if w.islower() and len(w) >= 4)
random.seed(20261209)
near = {c: n for c, n in zip("qwertyuiopasdfghjklzxcvbnm", "wqetryuiopasdfghjklzxcvbnm")}
for c, n in zip("asdfghjklqwertyuiopzxcvbnm", "sdfghjklaqwertyuiozxcvbnmp"):
    near.setdefault(c, n)
out = []
while len(out) < int(sys.argv[2]):
    w = random.choice(words)
    at = random.randrange(len(w))
    kind = random.randrange(4)
    if kind == 0: m = w[:at] + w[at + 1:]
    elif kind == 1: m = w[:at] + w[at] + w[at:]
    elif kind == 2 and at + 1 < len(w): m = w[:at] + w[at + 1] + w[at] + w[at + 2:]
    else: m = w[:at] + near.get(w[at], "e") + w[at + 1:]
    if m not in listed and m != w:
        out.append(m + "\t" + w)
print("\n".join(out))
PY
cut -f1 "$work/misspelt.tsv" > "$work/misspelt.txt"
sed 's/^/^/' "$work/misspelt.txt" > "$work/misspelt-pipe.txt"

# CPU seconds of a command that reads the misspellings on standard input.
suggest_seconds() {
  local out=$1; shift
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" < "$work/misspelt-pipe.txt" > "$out" 2>/dev/null || true
  awk '{ print $1 + $2 }' "$work/time"
}
/usr/bin/time -f '%U %S' -o "$work/time" xargs -a "$work/misspelt.txt" -d '\n' \
  "$bin/tovuri-check" --data "$work/data" --suggest --dictionaries-only > "$work/tovuri-suggest.txt" 2>/dev/null || true
tovuri_s=$(awk '{ print $1 + $2 }' "$work/time")
aspell_s=$(suggest_seconds "$work/aspell-suggest.txt" aspell -a --lang=en)
hunspell_s=$(suggest_seconds "$work/hunspell-suggest.txt" hunspell -a -d en_US)

# The share of misspellings whose intended word comes first, and in the first five.
python3 - "$work/misspelt.tsv" "$work/tovuri-suggest.txt" "$work/aspell-suggest.txt" \
  "$work/hunspell-suggest.txt" "$tovuri_s" "$aspell_s" "$hunspell_s" <<'PY'
import sys
pairs = [l.rstrip("\n").split("\t") for l in open(sys.argv[1]) if l.strip()]
def tovuri(path):
    lists = {}
    for line in open(path, encoding="utf-8", errors="replace"):
        word, _, rest = line.rstrip("\n").partition(": ")
        lists[word.rstrip(":")] = [] if rest in ("", "(no suggestions)") else rest.split(", ")
    return [lists.get(m, []) for m, _ in pairs]
def ispell(path):
    # One answer line per word, then an empty line; the first line is the banner.
    lines = open(path, encoding="utf-8", errors="replace").read().split("\n")[1:]
    answers = [l for l in lines if l]
    out = []
    for l in answers:
        out.append(l.split(": ", 1)[1].split(", ") if l.startswith("&") else [])
    return out + [[]] * (len(pairs) - len(out))
print(f"Suggestions: {len(pairs)} misspellings, CPU time of whole runs per misspelling")
for name, lists, seconds in (("tovuri-check", tovuri(sys.argv[2]), sys.argv[5]),
                             ("aspell -a", ispell(sys.argv[3]), sys.argv[6]),
                             ("hunspell -a", ispell(sys.argv[4]), sys.argv[7])):
    first = sum(1 for (m, w), l in zip(pairs, lists) if l[:1] == [w])
    five = sum(1 for (m, w), l in zip(pairs, lists) if w in l[:5])
    per = float(seconds) / len(pairs) * 1e6
    print(f"  {name:16s} {per:9.0f} us  first {100 * first / len(pairs):5.1f}%  first five {100 * five / len(pairs):5.1f}%")
PY
