#!/usr/bin/env python3
"""Writes the letter n-gram counts that rank Tovuri's suggestions.

Reads word lists (one word a line, or word<TAB>count frequency lists) and
counts, for every word, the letter n-grams of "^" + word + "$" up to the
given order ("^" starts a word, "$" ends it, "_" stands for any letter
outside a to z). Each distinct word counts once, however often it occurs:
the model says which shapes words take, not which words are frequent, so it
carries over to text it was not made from.

    tools/letter_model.py --order 4 LIST... > data/letter_model.tsv
"""

import argparse
import re
import sys
from collections import Counter


def words_of(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            word = line.rstrip("\r\n").split("\t")[0].strip()
            if word and not word.startswith("#"):
                yield word


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--order", type=int, default=4)
    parser.add_argument("lists", nargs="+")
    args = parser.parse_args()
    if not 1 <= args.order <= 6:
        parser.error("--order must be 1 to 6")

    words = set()
    for path in args.lists:
        for word in words_of(path):
            if re.fullmatch(r"[A-Za-z'\-]+", word) and not word.isupper():
                words.add(word.lower())
    grams = Counter()
    for word in sorted(words):
        symbols = "^" + re.sub(r"[^a-z]", "_", word) + "$"
        for end in range(1, len(symbols)):
            for n in range(1, args.order + 1):
                if end + 1 - n >= 0:
                    grams[symbols[end + 1 - n:end + 1]] += 1
    print(f"# letter {args.order}-grams of {len(words)} distinct words, written by tools/letter_model.py")
    for gram, count in sorted(grams.items()):
        print(f"{gram}\t{count}")


if __name__ == "__main__":
    sys.exit(main())
