#!/usr/bin/python3
"""LibreOffice checks North Ndebele through tovuri.oxt, headless:
    libreoffice_test.py TOVURI_OXT
The last line counts what passed and failed."""
import os
import sys
import tempfile

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.lang import Locale

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lo_session import LibreOffice  # noqa: E402

IMPLEMENTATION = "org.tovuri.SpellChecker"
SPELL_CHECKER = "com.sun.star.linguistic2.SpellChecker"
NDEBELE = Locale("nd", "ZW", "")

passed = failed = 0


def expect(condition, what):
    global passed, failed
    if condition:
        passed += 1
    else:
        failed += 1
        print("FAILED:", what, file=sys.stderr)


class Spelling:
    """LibreOffice's own spelling service, the one its documents use. Asked by
    language type (its XSpellChecker1 face), as Python cannot choose between
    its two isValid; the types come from the locales the service lists."""

    def __init__(self, lingu):
        self.speller = lingu.getSpellChecker()
        self.types = {(locale.Language, locale.Country): language
                      for locale, language in zip(self.speller.getLocales(), self.speller.getLanguages())}

    def is_valid(self, word, locale):
        return self.speller.isValid(word, self.types[(locale.Language, locale.Country)], ())

    def alternatives(self, word, locale):
        found = self.speller.spell(word, self.types[(locale.Language, locale.Country)], ())
        return None if found is None else found.getAlternatives()


def misspelt_words_of(document, speller):
    """The words of a document that LibreOffice's spelling service rejects,
    each asked in the language the document marks it with."""
    text = document.Text
    cursor = text.createTextCursor()
    cursor.gotoStart(False)
    words = []
    while True:
        cursor.gotoEndOfWord(True)
        word = cursor.String.strip(" .,")
        if word and not speller.is_valid(word, cursor.CharLocale):
            words.append(word)
        if not cursor.gotoNextWord(False):
            break
    return words


def main(oxt):
    office = LibreOffice(oxt)
    try:
        lingu = office.create("com.sun.star.linguistic2.LinguServiceManager")
        available = lingu.getAvailableServices(SPELL_CHECKER, NDEBELE)
        expect(IMPLEMENTATION in available, "the checker is offered for nd-ZW: %s" % (available,))
        expect(IMPLEMENTATION in lingu.getConfiguredServices(SPELL_CHECKER, NDEBELE),
               "the checker is on for nd-ZW without being chosen")
        speller = Spelling(lingu)
        for word, valid in (("umuntu", True), ("Abantu", True), ("ngizobahambela", True), ("abntu", False),
                            ("qwxz", False), ("umuntu\u014b", False)):
            expect(speller.is_valid(word, NDEBELE) == valid, "isValid(%s) is %s" % (word, valid))
        alternatives = speller.alternatives("abntu", NDEBELE)
        expect(alternatives is not None and alternatives[:1] == ("abantu",), "abntu's alternatives: %s" % (alternatives,))
        expect(speller.alternatives("umuntu", NDEBELE) is None, "a correct word has no alternatives")

        # A document with a North Ndebele paragraph, saved and opened again.
        desktop = office.create("com.sun.star.frame.Desktop")
        hidden = (PropertyValue("Hidden", 0, True, 0),)
        document = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, hidden)
        cursor = document.Text.createTextCursor()
        document.Text.insertString(cursor, "Umuntu abntu uyahamba qwxz ekuseni.", False)
        cursor.gotoStart(False)
        cursor.gotoEnd(True)
        cursor.CharLocale = NDEBELE
        path = os.path.join(tempfile.mkdtemp(prefix="tovuri-odt-"), "indaba.odt")
        document.storeToURL(uno.systemPathToFileUrl(path), (PropertyValue("FilterName", 0, "writer8", 0),))
        document.close(True)
        document = desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0, hidden)
        expect(misspelt_words_of(document, speller) == ["abntu", "qwxz"],
               "the document's misspelt words: %s" % misspelt_words_of(document, speller))
        document.close(True)
    finally:
        office.close()
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
