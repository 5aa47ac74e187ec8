#!/usr/bin/python3
"""What the LibreOffice extension costs: the time from the first request for
the nd-ZW checker to its first verdict, the time of one verdict through UNO
(words of a development sample, through LibreOffice's own spelling service),
and the memory the checker adds to soffice.
    bench/libreoffice_bench.py build/src/libreoffice/tovuri.oxt [FREQ.tsv]"""
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "libreoffice"))
from lo_session import LibreOffice  # noqa: E402
from com.sun.star.lang import Locale  # noqa: E402


def main(oxt, sample):
    words = []
    with open(sample, encoding="utf-8") as lines:
        for line in lines:
            words.append(line.split("\t")[0])
            if len(words) == 2000:
                break
    office = LibreOffice(oxt)
    try:
        before_kib = office.resident_kib()
        start = time.perf_counter()
        lingu = office.create("com.sun.star.linguistic2.LinguServiceManager")
        speller = lingu.getSpellChecker()
        types = {(l.Language, l.Country): t for l, t in zip(speller.getLocales(), speller.getLanguages())}
        ndebele = types[("nd", "ZW")]
        speller.isValid("umuntu", ndebele, ())
        first = time.perf_counter() - start
        after_kib = office.resident_kib()
        times = []
        rejected = 0
        for word in words:
            t = time.perf_counter()
            rejected += not speller.isValid(word, ndebele, ())
            times.append(time.perf_counter() - t)
        print("first verdict after the first request: %.0f ms" % (first * 1000))
        print("memory soffice gained by then: %.0f MB (%.0f -> %.0f MB)" %
              ((after_kib - before_kib) / 1024, before_kib / 1024, after_kib / 1024))
        print("verdicts through UNO: %d words, median %.3f ms, 95th percentile %.3f ms, %d rejected" %
              (len(times), statistics.median(times) * 1000, sorted(times)[int(len(times) * 0.95)] * 1000, rejected))
        print("memory after them: %.0f MB" % (office.resident_kib() / 1024))
    finally:
        office.close()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "..", "shared", "eval",
                                                                         "ndebele-dev3-freq.tsv"))
