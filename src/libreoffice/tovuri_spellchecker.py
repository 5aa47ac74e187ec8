# The Ndebele spelling checker of LibreOffice: a UNO component over Tovuri's
# C API (libtovuri, loaded with ctypes), so its verdicts, suggestions and the
# user's own words are those of every other Tovuri front end. The library and
# the Ndebele data travel in the extension beside this file.
import ctypes
import os
import threading

import unohelper
from com.sun.star.lang import Locale, XServiceDisplayName, XServiceInfo
from com.sun.star.linguistic2 import (XLinguServiceEventBroadcaster, XSpellAlternatives, XSpellChecker,
                                      XSupportedLocales)

IMPLEMENTATION = "org.tovuri.SpellChecker"
SERVICES = ("com.sun.star.linguistic2.SpellChecker",)
# North Ndebele as Zimbabwe writes it; "nd" alone for text marked with the language only.
LOCALES = (("nd", "ZW"), ("nd", ""))
SPELLING_ERROR = 4  # com.sun.star.linguistic2.SpellFailure.SPELLING_ERROR

HERE = os.path.dirname(os.path.abspath(__file__))


class TovuriLibrary:
    """libtovuri through ctypes: UTF-8 words in, verdicts and suggestions out."""

    def __init__(self, library, data_dir):
        lib = ctypes.CDLL(library)
        lib.tovuri_open.restype = ctypes.c_void_p
        lib.tovuri_open.argtypes = [ctypes.c_char_p]
        lib.tovuri_last_error.restype = ctypes.c_char_p
        lib.tovuri_check.restype = ctypes.c_int
        lib.tovuri_check.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_size_t]
        lib.tovuri_suggest.restype = ctypes.c_size_t
        lib.tovuri_suggest.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_size_t,
                                       ctypes.POINTER(ctypes.POINTER(ctypes.c_char_p))]
        lib.tovuri_free_list.restype = None
        lib.tovuri_free_list.argtypes = [ctypes.POINTER(ctypes.c_char_p), ctypes.c_size_t]
        lib.tovuri_close.argtypes = [ctypes.c_void_p]
        self.lib = lib
        self.handle = lib.tovuri_open(data_dir.encode("utf-8"))
        if not self.handle:
            raise RuntimeError("Tovuri cannot start: " + lib.tovuri_last_error().decode("utf-8", "replace"))

    def check(self, word):
        """True for an accepted word; a word that cannot be checked counts as accepted,
        so nothing is underlined that Tovuri never judged."""
        data = word.encode("utf-8")
        return self.lib.tovuri_check(self.handle, data, len(data)) != 0

    def suggest(self, word):
        data = word.encode("utf-8")
        found = ctypes.POINTER(ctypes.c_char_p)()
        count = self.lib.tovuri_suggest(self.handle, data, len(data), ctypes.byref(found))
        suggestions = [found[i].decode("utf-8") for i in range(count)]
        self.lib.tovuri_free_list(found, count)
        return suggestions


class Alternatives(unohelper.Base, XSpellAlternatives):
    def __init__(self, word, locale, suggestions):
        self.word = word
        self.locale = locale
        self.suggestions = tuple(suggestions)

    def getWord(self):
        return self.word

    def getLocale(self):
        return self.locale

    def getFailureType(self):
        return SPELLING_ERROR

    def getAlternativesCount(self):
        return len(self.suggestions)

    def getAlternatives(self):
        return self.suggestions


class TovuriSpellChecker(unohelper.Base, XSpellChecker, XSupportedLocales, XServiceInfo, XServiceDisplayName,
                         XLinguServiceEventBroadcaster):
    def __init__(self, context, *args):
        self.context = context
        self.library = None
        self.lock = threading.Lock()  # LibreOffice may ask from several threads

    def _tovuri(self):
        # Opened at the first word, so that starting LibreOffice costs nothing.
        if self.library is None:
            self.library = TovuriLibrary(os.path.join(HERE, "libtovuri.so.1"), os.path.join(HERE, "data"))
        return self.library

    # XSupportedLocales
    def getLocales(self):
        return tuple(Locale(language, country, "") for language, country in LOCALES)

    def hasLocale(self, locale):
        return (locale.Language, locale.Country) in LOCALES

    # XSpellChecker
    def isValid(self, word, locale, properties):
        if not self.hasLocale(locale) or not word:
            return True
        with self.lock:
            return self._tovuri().check(word)

    def spell(self, word, locale, properties):
        if not self.hasLocale(locale) or not word:
            return None
        with self.lock:
            tovuri = self._tovuri()
            if tovuri.check(word):
                return None
            return Alternatives(word, locale, tovuri.suggest(word))

    # XServiceInfo
    def getImplementationName(self):
        return IMPLEMENTATION

    def supportsService(self, name):
        return name in SERVICES

    def getSupportedServiceNames(self):
        return SERVICES

    # XServiceDisplayName
    def getServiceDisplayName(self, locale):
        return "Tovuri (Ndebele)"

    # XLinguServiceEventBroadcaster: the word lists never change under LibreOffice.
    def addLinguServiceEventListener(self, listener):
        return False

    def removeLinguServiceEventListener(self, listener):
        return False


g_ImplementationHelper = unohelper.ImplementationHelper()
g_ImplementationHelper.addImplementation(TovuriSpellChecker, IMPLEMENTATION, SERVICES)
