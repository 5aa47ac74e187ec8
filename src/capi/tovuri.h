/* Tovuri, the Ndebele spelling checker, as a C library.
 *
 * Every string is UTF-8 with an explicit length in bytes. A handle may be
 * used from several threads at once; calls on one handle take turns. No
 * call writes to standard output or standard error, and nothing is thrown
 * across this boundary: failures are return values, with tovuri_last_error.
 *
 * A word that only the Ndebele analyser accepts is remembered for the
 * handle's life (in a bounded memory), never written into the user's files;
 * tovuri_add is how a user's own word is kept. */
#ifndef TOVURI_H
#define TOVURI_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TOVURI_VERSION_MAJOR 1
#define TOVURI_VERSION_MINOR 0
#define TOVURI_VERSION_STRING "1.0"

#if defined(TOVURI_STATIC)
#define TOVURI_API
#elif defined(_WIN32)
#define TOVURI_API __declspec(dllexport)
#else
#define TOVURI_API __attribute__((visibility("default")))
#endif

typedef struct tovuri tovuri;

/* The library's version, "MAJOR.MINOR". */
TOVURI_API const char *tovuri_version(void);

/* Opens the checker with the Ndebele data of data_dir (dictionary.txt,
 * passives.txt, Ndebele.oxm); NULL: $TOVURI_DATA_DIR, else the installed
 * data. The user's custom dictionary and settings are those of every other
 * Tovuri front end. Returns NULL on failure (tovuri_last_error says why).
 * The lexicon is shared by the process: every open handle uses one folder. */
TOVURI_API tovuri *tovuri_open(const char *data_dir);

/* 1 when data_dir (NULL: as tovuri_open takes it) holds the Ndebele data
 * files, else 0; a cheap test that reads nothing. */
TOVURI_API int tovuri_has_data(const char *data_dir);

/* Why the last failed call of this thread failed; never NULL ("" when
 * nothing failed). Valid until this thread's next call. */
TOVURI_API const char *tovuri_last_error(void);

/* 1: the word is accepted, 0: rejected, -1: error (not UTF-8, no handle). */
TOVURI_API int tovuri_check(tovuri *t, const char *word, size_t len);

/* Finds the words of a text that are not accepted, as an editor underlines
 * them: sets *spans to 2 * *count byte offsets into text, each word's start
 * and end, in order, and returns 1; -1 on error (not UTF-8, no handle).
 * Lines end in LF, CR LF or CR. Free the spans with tovuri_free_spans. */
TOVURI_API int tovuri_check_text(tovuri *t, const char *text, size_t len, size_t **spans, size_t *count);
TOVURI_API void tovuri_free_spans(size_t *spans);

/* Sets *list to the suggestions for word, best first, and returns how many;
 * 0 (and *list NULL) when there are none or on error. Free the list with
 * tovuri_free_list. */
TOVURI_API size_t tovuri_suggest(tovuri *t, const char *word, size_t len, char ***list);
TOVURI_API void tovuri_free_list(char **list, size_t count);

/* Adds a word to the user's custom dictionary and writes it: 1 added, -1
 * error (the word cannot be kept: not UTF-8, a character Windows-1252 lacks,
 * or the dictionary cannot be written). */
TOVURI_API int tovuri_add(tovuri *t, const char *word, size_t len);
/* Accepts a word until the handle is closed: 1, or -1 on error. */
TOVURI_API int tovuri_add_to_session(tovuri *t, const char *word, size_t len);
/* Makes the user's custom dictionary always reject a word: 1, or -1. */
TOVURI_API int tovuri_exclude(tovuri *t, const char *word, size_t len);
/* Learns that the user replaced misspelt with replacement, so it comes
 * first among the suggestions next time: 1, or -1. */
TOVURI_API int tovuri_store_replacement(tovuri *t, const char *misspelt, size_t misspelt_len,
                                        const char *replacement, size_t replacement_len);

/* Closes the handle (NULL is allowed). */
TOVURI_API void tovuri_close(tovuri *t);

#ifdef __cplusplus
}
#endif

#endif
