// The C API over the Ndebele checker. Each entry point catches everything:
// a failure becomes a return value and a message for tovuri_last_error.
// The handle's C name is also this program's namespace: within this file
// the handle is called tovuri_handle.
#define tovuri tovuri_handle
#include "capi/tovuri.h"
#undef tovuri

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/ndebele_checker.h"
#include "checker/ndebele_data.h"
#include "common/version.h"
#include "spell/ox3Encoding.h"

static_assert(std::string_view(TOVURI_VERSION_STRING) == TOVURI_VERSION,
              "tovuri.h carries the project's version");

struct tovuri_handle {
  explicit tovuri_handle(const std::string& data_dir)
      : checker(data_dir, tovuri::TLearning::lnDoNotLearn, {},
                [this](const std::string& message) { problem = message; }) {}

  std::mutex mutex;
  std::string problem;  // the checker's last report, for a call that fails
  tovuri::TNdebeleChecker checker;
};

namespace {

using tovuri::Utf8ToFrameworkText;

std::string& LastError() {
  thread_local std::string error;
  return error;
}

std::string DataDir(const char* data_dir) {
  return data_dir != nullptr ? std::string(data_dir) : tovuri::InstalledDataDir();
}

int Fail(std::string message) {
  LastError() = std::move(message);
  return -1;
}

// Runs a call's body; an exception becomes failure's value and the reason.
template <typename Result, typename Body>
Result Guarded(Result failure, Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    Fail("out of memory");
  } catch (const std::exception& error) {
    Fail(error.what());
  } catch (...) {
    Fail("unknown error");
  }
  return failure;
}

// The framework's text of a UTF-8 word, or nothing (said) when it is not UTF-8.
std::optional<std::string> WordOf(tovuri_handle* t, const char* word, size_t len) {
  if (t == nullptr) {
    Fail("no checker (a null handle)");
    return std::nullopt;
  }
  if (word == nullptr && len > 0) {
    Fail("no word (a null pointer)");
    return std::nullopt;
  }
  const std::string_view bytes(word == nullptr ? "" : word, len);
  if (!tovuri::IsValidUtf8(bytes)) {
    Fail("the word is not UTF-8");
    return std::nullopt;
  }
  return Utf8ToFrameworkText(bytes);
}

// Runs a call that keeps a word in the user's files: 1, or -1 with the reason.
template <typename Action>
int Keep(tovuri_handle* t, const char* word, size_t len, Action action) {
  return Guarded(-1, [&] {
    const std::optional<std::string> ansi = WordOf(t, word, len);
    if (!ansi) return -1;
    if (tovuri::HasForeignChar(*ansi))
      return Fail("the word holds a character that Tovuri's dictionaries (Windows-1252) cannot keep");
    const std::lock_guard<std::mutex> lock(t->mutex);
    t->problem.clear();
    if (action(*ansi)) return 1;
    return Fail(t->problem.empty() ? "the user's custom dictionary cannot be used" : t->problem);
  });
}

// A copy of each string, malloc'd, so that a caller in any language can free
// them; null when memory runs out.
char** MallocList(const std::vector<std::string>& strings) {
  auto** list = static_cast<char**>(std::calloc(strings.size(), sizeof(char*)));
  if (list == nullptr) return nullptr;
  for (size_t i = 0; i < strings.size(); ++i) {
    list[i] = static_cast<char*>(std::malloc(strings[i].size() + 1));
    if (list[i] == nullptr) {
      tovuri_free_list(list, i);
      return nullptr;
    }
    std::memcpy(list[i], strings[i].c_str(), strings[i].size() + 1);
  }
  return list;
}

}  // namespace

extern "C" {

const char* tovuri_version(void) { return TOVURI_VERSION; }

const char* tovuri_last_error(void) { return LastError().c_str(); }

int tovuri_has_data(const char* data_dir) {
  return Guarded(0, [&] { return tovuri::HasNdebeleData(DataDir(data_dir)) ? 1 : 0; });
}

tovuri_handle* tovuri_open(const char* data_dir) {
  LastError().clear();
  return Guarded<tovuri_handle*>(nullptr, [&]() -> tovuri_handle* {
    const std::string dir = DataDir(data_dir);
    std::string problem;
    if (!tovuri::AcquireNdebeleData(dir, problem)) {
      Fail(problem);
      return nullptr;
    }
    try {
      return new tovuri_handle(dir);
    } catch (...) {
      tovuri::ReleaseNdebeleData();
      throw;
    }
  });
}

void tovuri_close(tovuri_handle* t) {
  if (t == nullptr) return;
  Guarded(0, [&] {
    {
      const std::lock_guard<std::mutex> lock(t->mutex);
      t->checker.Close();
    }
    delete t;
    return 0;
  });
  tovuri::ReleaseNdebeleData();
}

int tovuri_check(tovuri_handle* t, const char* word, size_t len) {
  return Guarded(-1, [&] {
    const std::optional<std::string> ansi = WordOf(t, word, len);
    if (!ansi) return -1;
    const std::lock_guard<std::mutex> lock(t->mutex);
    return t->checker.IsAccepted(*ansi) ? 1 : 0;
  });
}

int tovuri_check_text(tovuri_handle* t, const char* text, size_t len, size_t** spans, size_t* count) {
  if (spans == nullptr || count == nullptr) return Fail("no place for the spans (a null pointer)");
  *spans = nullptr;
  *count = 0;
  return Guarded(-1, [&] {
    if (WordOf(t, text, len) == std::nullopt) return -1;
    const std::string_view bytes(text == nullptr ? "" : text, len);
    // Each character's byte offset in text: the framework's text is a byte a
    // character, so its positions index this table.
    std::vector<size_t> offsets;
    offsets.reserve(len + 1);
    for (size_t at = 0; at < bytes.size(); ++at)
      if ((static_cast<unsigned char>(bytes[at]) & 0xC0) != 0x80) offsets.push_back(at);
    offsets.push_back(bytes.size());
    const std::string characters = Utf8ToFrameworkText(bytes);
    std::vector<size_t> found;
    {
      const std::lock_guard<std::mutex> lock(t->mutex);
      // A line at a time, as every other front end checks text.
      size_t line_start = 0;
      while (line_start <= characters.size()) {
        size_t line_end = characters.find_first_of("\r\n", line_start);
        if (line_end == std::string::npos) line_end = characters.size();
        std::string line = characters.substr(line_start, line_end - line_start);
        t->checker.Check(line, [&](const std::string& word, tovuri::TTextPos position) {
          const size_t start = line_start + static_cast<size_t>(position.x);
          const size_t end = std::min(start + word.size(), characters.size());
          found.push_back(offsets[start]);
          found.push_back(offsets[end]);
        });
        if (line_end == characters.size()) break;
        line_start = line_end + 1;
      }
    }
    if (found.empty()) return 1;
    *spans = static_cast<size_t*>(std::malloc(found.size() * sizeof(size_t)));
    if (*spans == nullptr) return Fail("out of memory");
    std::memcpy(*spans, found.data(), found.size() * sizeof(size_t));
    *count = found.size() / 2;
    return 1;
  });
}

void tovuri_free_spans(size_t* spans) { std::free(spans); }

size_t tovuri_suggest(tovuri_handle* t, const char* word, size_t len, char*** list) {
  if (list == nullptr) {
    Fail("no place for the list (a null pointer)");
    return 0;
  }
  *list = nullptr;
  return Guarded(size_t{0}, [&]() -> size_t {
    const std::optional<std::string> ansi = WordOf(t, word, len);
    if (!ansi) return 0;
    std::vector<std::string> suggestions;
    {
      const std::lock_guard<std::mutex> lock(t->mutex);
      suggestions = t->checker.Suggestions(*ansi);
    }
    if (suggestions.empty()) return 0;
    for (std::string& suggestion : suggestions) suggestion = tovuri::Windows1252ToUtf8(suggestion);
    *list = MallocList(suggestions);
    if (*list == nullptr) {
      Fail("out of memory");
      return 0;
    }
    return suggestions.size();
  });
}

void tovuri_free_list(char** list, size_t count) {
  if (list == nullptr) return;
  for (size_t i = 0; i < count; ++i) std::free(list[i]);
  std::free(list);
}

int tovuri_add(tovuri_handle* t, const char* word, size_t len) {
  return Keep(t, word, len, [t](const std::string& w) { return t->checker.AddToPersonal(w); });
}

int tovuri_add_to_session(tovuri_handle* t, const char* word, size_t len) {
  return Keep(t, word, len, [t](const std::string& w) {
    t->checker.AcceptForSession(w);
    return true;
  });
}

int tovuri_exclude(tovuri_handle* t, const char* word, size_t len) {
  return Keep(t, word, len, [t](const std::string& w) { return t->checker.Exclude(w); });
}

int tovuri_store_replacement(tovuri_handle* t, const char* misspelt, size_t misspelt_len, const char* replacement,
                             size_t replacement_len) {
  return Guarded(-1, [&] {
    const std::optional<std::string> old_word = WordOf(t, misspelt, misspelt_len);
    if (!old_word) return -1;
    if (tovuri::HasForeignChar(*old_word))
      return Fail("the word holds a character that Tovuri's dictionaries (Windows-1252) cannot keep");
    return Keep(t, replacement, replacement_len, [t, &old_word](const std::string& w) {
      t->checker.StoreReplacement(*old_word, w);
      return true;
    });
  });
}

}  // extern "C"
