/* The C API as a C program uses it: tovuri_capi_test DATA_DIR. Every check
 * runs in a temporary home; the last line counts what passed and failed. */
#define _GNU_SOURCE
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tovuri.h"

static int passed, failed;

#define EXPECT(condition, ...)                     \
  do {                                             \
    if (condition) {                               \
      ++passed;                                    \
    } else {                                       \
      ++failed;                                    \
      fprintf(stderr, "%s:%d: ", __FILE__, __LINE__); \
      fprintf(stderr, __VA_ARGS__);                \
      fputc('\n', stderr);                         \
    }                                              \
  } while (0)

static int Check(tovuri *t, const char *word) { return tovuri_check(t, word, strlen(word)); }

static int FileHolds(const char *path, const char *text) {
  FILE *file = fopen(path, "rb");
  if (file == NULL) return 0;
  static char bytes[1 << 20];
  const size_t size = fread(bytes, 1, sizeof bytes, file);
  fclose(file);
  return memmem(bytes, size, text, strlen(text)) != NULL;
}

static void VersionAndErrors(const char *data_dir) {
  EXPECT(strcmp(tovuri_version(), TOVURI_VERSION_STRING) == 0, "version %s", tovuri_version());
  EXPECT(tovuri_open("/nonexistent/tovuri") == NULL, "a folder without data opens");
  EXPECT(strstr(tovuri_last_error(), "/nonexistent/tovuri") != NULL, "error: %s", tovuri_last_error());
  EXPECT(tovuri_check(NULL, "abantu", 6) == -1, "a null handle checks");
  tovuri_close(NULL);
  (void)data_dir;
}

static void Verdicts(tovuri *t) {
  const char *accepted[] = {"abantu", "Umuntu", "ngizobahambela", "kodwa-ke"};
  const char *rejected[] = {"abntu", "qwxz", "umuntu\xc5\x8b", "Dvo\xc5\x99\xc3\xa1k", "", "two words"};
  for (size_t i = 0; i < sizeof accepted / sizeof *accepted; ++i)
    EXPECT(Check(t, accepted[i]) == 1, "%s is rejected", accepted[i]);
  for (size_t i = 0; i < sizeof rejected / sizeof *rejected; ++i)
    EXPECT(Check(t, rejected[i]) == 0, "%s is accepted", rejected[i]);
  /* Lengths are explicit: the NUL-free prefix of a longer buffer. */
  EXPECT(tovuri_check(t, "abantuXYZ", 6) == 1, "the length is not respected");
  EXPECT(tovuri_check(t, "\xff\xfe", 2) == -1, "bytes that are not UTF-8 are checked");
  EXPECT(strstr(tovuri_last_error(), "UTF-8") != NULL, "error: %s", tovuri_last_error());
}

static void Suggestions(tovuri *t) {
  char **list = NULL;
  const size_t count = tovuri_suggest(t, "abntu", 5, &list);
  EXPECT(count > 0 && list != NULL && strcmp(list[0], "abantu") == 0, "abntu: %zu, first %s", count,
         count > 0 ? list[0] : "(none)");
  tovuri_free_list(list, count);
  /* A capitalised word gets capitalised suggestions. */
  const size_t capitals = tovuri_suggest(t, "Abntu", 5, &list);
  EXPECT(capitals > 0 && strcmp(list[0], "Abantu") == 0, "Abntu: first %s", capitals > 0 ? list[0] : "(none)");
  tovuri_free_list(list, capitals);
  EXPECT(tovuri_suggest(t, "\xff", 1, &list) == 0 && list == NULL, "bytes that are not UTF-8 get suggestions");
}

/* The misspelt words of a text, as byte offsets into it; a character
 * outside Windows-1252 before a word moves its offsets by its bytes. */
static void TextSpans(tovuri *t) {
  const char *text = "abantu abntu\n\xe2\x86\x92 umuntu qwxz\r\nkodwa-ke";
  size_t *spans = NULL, count = 0;
  EXPECT(tovuri_check_text(t, text, strlen(text), &spans, &count) == 1, "text: %s", tovuri_last_error());
  EXPECT(count == 2, "%zu misspelt words in the text", count);
  if (count == 2) {
    EXPECT(spans[0] == 7 && spans[1] == 12, "abntu at %zu-%zu", spans[0], spans[1]);
    EXPECT(spans[2] == 24 && spans[3] == 28, "qwxz at %zu-%zu", spans[2], spans[3]);
  }
  tovuri_free_spans(spans);
  EXPECT(tovuri_check_text(t, "abantu", 6, &spans, &count) == 1 && count == 0 && spans == NULL,
         "a right text has %zu misspelt words", count);
  EXPECT(tovuri_check_text(t, "\xff", 1, &spans, &count) == -1, "bytes that are not UTF-8 are checked");
}

/* Words the user keeps reach the custom dictionary; words only the analyser
 * accepts do not. */
static void UserWords(tovuri *t, const char *data_dir, const char *custom) {
  EXPECT(Check(t, "ngizobahambela") == 1, "an analysed word is rejected");
  EXPECT(tovuri_add(t, "qwxz", 4) == 1, "add: %s", tovuri_last_error());
  EXPECT(Check(t, "qwxz") == 1, "an added word is rejected");
  EXPECT(FileHolds(custom, "qwxz"), "the added word is not in %s", custom);
  EXPECT(!FileHolds(custom, "ngizobahambela"), "a word only the analyser accepts was written to %s", custom);
  EXPECT(tovuri_add(t, "\xc5\x81\xc3\xb3\x64\xc5\xba", 7) == -1, "a word Windows-1252 cannot hold is kept");
  EXPECT(strstr(tovuri_last_error(), "Windows-1252") != NULL, "error: %s", tovuri_last_error());

  EXPECT(tovuri_exclude(t, "umama", 5) == 1, "exclude: %s", tovuri_last_error());
  EXPECT(Check(t, "umama") == 0, "an excluded word is accepted");
  char **list = NULL;
  const size_t count = tovuri_suggest(t, "umamaa", 6, &list);
  for (size_t i = 0; i < count; ++i) EXPECT(strcmp(list[i], "umama") != 0, "an excluded word is suggested");
  tovuri_free_list(list, count);

  EXPECT(tovuri_add_to_session(t, "zzyzx", 5) == 1, "session: %s", tovuri_last_error());
  EXPECT(Check(t, "zzyzx") == 1, "a session word is rejected");

  /* Another handle (another program) reads what this one kept. */
  tovuri *other = tovuri_open(data_dir);
  EXPECT(other != NULL, "a second handle: %s", tovuri_last_error());
  if (other != NULL) {
    EXPECT(Check(other, "qwxz") == 1, "the added word is not kept");
    EXPECT(Check(other, "umama") == 0, "the exclusion is not kept");
    EXPECT(Check(other, "zzyzx") == 0, "a session word outlives its handle");
    tovuri_close(other);
  }
}

struct Worker {
  tovuri *t;
  int wrong;
};

static void *CheckMany(void *arg) {
  struct Worker *worker = arg;
  for (int i = 0; i < 300; ++i) {
    worker->wrong += Check(worker->t, "abantu") != 1;
    worker->wrong += Check(worker->t, "abntu") != 0;
    char **list = NULL;
    const size_t count = tovuri_suggest(worker->t, "abntu", 5, &list);
    worker->wrong += count == 0;
    tovuri_free_list(list, count);
  }
  return NULL;
}

static void Threads(tovuri *t) {
  pthread_t threads[4];
  struct Worker workers[4];
  for (int i = 0; i < 4; ++i) {
    workers[i].t = t;
    workers[i].wrong = 0;
    pthread_create(&threads[i], NULL, CheckMany, &workers[i]);
  }
  for (int i = 0; i < 4; ++i) {
    pthread_join(threads[i], NULL);
    EXPECT(workers[i].wrong == 0, "thread %d: %d wrong answers", i, workers[i].wrong);
  }
}

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: tovuri_capi_test DATA_DIR\n");
    return 2;
  }
  char home[] = "/tmp/tovuri-capi-XXXXXX";
  if (mkdtemp(home) == NULL) return 2;
  char data_home[64], config_home[64], custom[128];  // home is a short temporary name
  snprintf(data_home, sizeof data_home, "%s/data", home);
  snprintf(config_home, sizeof config_home, "%s/config", home);
  snprintf(custom, sizeof custom, "%s/Tovuri/Ndebele.oxu", data_home);
  setenv("HOME", home, 1);
  setenv("XDG_DATA_HOME", data_home, 1);
  setenv("XDG_CONFIG_HOME", config_home, 1);
  setenv("TOVURI_DATA_DIR", argv[1], 1);

  VersionAndErrors(argv[1]);
  tovuri *t = tovuri_open(NULL); /* the data of $TOVURI_DATA_DIR */
  EXPECT(t != NULL, "open: %s", tovuri_last_error());
  if (t != NULL) {
    Verdicts(t);
    Suggestions(t);
    TextSpans(t);
    UserWords(t, argv[1], custom);
    Threads(t);
    tovuri_close(t);
  }
  char command[4200];
  snprintf(command, sizeof command, "rm -rf '%s'", home);
  if (system(command) != 0) fprintf(stderr, "could not remove %s\n", home);
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
