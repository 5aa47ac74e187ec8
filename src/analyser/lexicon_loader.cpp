#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <utility>

#include "analyser/derived_entries.h"
#include "analyser/index_format.h"
#include "analyser/lexicon.h"
#include "analyser/text_case.h"

namespace tovuri {
namespace {

constexpr std::string_view kAcceptedTags[] = {
    "verb",    "in/izin", "isi/izi", "isi",  "izi",     "u/o",    "u",       "um",
    "um/aba",  "um/ama",  "umu",     "um/imi", "imi",   "ili/ama", "ili",    "ama",
    "in/ama",  "ulu/izin", "ulu",    "ubu",  "u/o/ama", "special", "adv",    "adj",
    "conj",    "rel",     "person",  "place", "in",     "im",     "uku",     "defverb",
};

// Only this many characters after the tag's comma are read; the rest of a line is lost.
constexpr size_t kMaxLineRest = 100;

bool IsAcceptedTag(std::string_view tag) {
  return std::find(std::begin(kAcceptedTags), std::end(kAcceptedTags), tag) !=
         std::end(kAcceptedTags);
}

// Whole-word entries keep the word unsplit in the stem.
bool IsWholeWordTag(std::string_view tag) {
  return tag == "special" || tag == "rel" || tag == "conj" || tag == "adj";
}

// The file's bytes, or nothing when it cannot be read as a regular file.
std::optional<std::string> ReadFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}

// Lines end at CR LF, a lone CR or a lone LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool IsSkipped(std::string_view line) { return line.empty() || line[0] == ';'; }

// A field ends at its separator, which is consumed with it. A field that no
// separator closes is empty, and one character is skipped in its place.
std::string_view TakeField(std::string_view& rest, char separator) {
  const size_t end = rest.find(separator);
  if (end == std::string_view::npos) {
    rest.remove_prefix(std::min<size_t>(1, rest.size()));
    return {};
  }
  const std::string_view field = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  return field;
}

// Cuts the first occurrence of marker out of text; true when there was one.
bool CutMarker(std::string& text, std::string_view marker) {
  const size_t at = text.find(marker);
  if (at == std::string::npos) return false;
  text.erase(at, marker.size());
  return true;
}

// Sorts items without regard to case, keeping the first of equal items and
// moving the paired list along with them.
void SortUnique(std::vector<std::string>& items, std::vector<std::string>* paired) {
  std::vector<size_t> order(items.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return CompareIgnoringCase(items[a], items[b]) < 0;
  });
  std::vector<std::string> sorted, sorted_paired;
  for (size_t i : order) {
    if (!sorted.empty() && CompareIgnoringCase(sorted.back(), items[i]) == 0) continue;
    sorted.push_back(std::move(items[i]));
    if (paired) sorted_paired.push_back(std::move((*paired)[i]));
  }
  items = std::move(sorted);
  if (paired) *paired = std::move(sorted_paired);
}

class Loader {
 public:
  Loader(Lexicon& lexicon, const LexiconWarningHandler& warn) : lexicon_(lexicon), warn_(warn) {}

  void ReadDictionary(const std::string& path) {
    file_ = path;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
      std::ofstream create(path, std::ios::binary);
      if (!create) throw LexiconError("Cannot create " + path);
      line_ = 0;
      Warn("Lexicon not found; an empty one was created, so only closed-class words are analysed");
      return;
    }
    const std::optional<std::string> text = ReadFile(path);
    if (!text) throw LexiconError("Cannot read " + path);
    lexicon_.SourceChecksum = HashBytes(*text, lexicon_.SourceChecksum);
    const std::vector<std::string_view> lines = SplitLines(*text);
    for (size_t i = 0; i < lines.size(); ++i) {
      line_ = static_cast<int>(i + 1);
      if (!IsSkipped(lines[i])) ReadEntry(lines[i]);
      lexicon_.LexLine.resize(lexicon_.size(), line_);
    }
    SortUnique(lexicon_.ShortLocativeWords, nullptr);
  }

  void ReadPassives(const std::string& path) {
    file_ = path;
    line_ = 0;
    const std::optional<std::string> text = ReadFile(path);
    if (!text) {
      Warn("List of passive exceptions not found");
      return;
    }
    lexicon_.SourceChecksum = HashBytes(*text, lexicon_.SourceChecksum ^ 1);
    const std::vector<std::string_view> lines = SplitLines(*text);
    for (size_t i = 0; i < lines.size(); ++i) {
      line_ = static_cast<int>(i + 1);
      if (!IsSkipped(lines[i])) ReadPassive(lines[i]);
    }
    SortUnique(lexicon_.PassiveStems, &lexicon_.PassiveForms);
  }

 private:
  void Warn(std::string message) { if (warn_) warn_({file_, line_, std::move(message)}); }

  void ReadEntry(std::string_view line) {
    const std::string tag(TakeField(line, ','));
    std::string_view rest = line.substr(0, std::min(line.size(), kMaxLineRest));
    if (!IsAcceptedTag(tag)) Warn("Invalid entry found in dictionary " + file_ + " - " + tag);

    std::string prefix, stem, final;
    if (IsWholeWordTag(tag)) {
      stem = TakeField(rest, ',');
    } else {
      prefix = TakeField(rest, '-');
      if (prefix == "ukw") Warn("Start a verb with uku-, not with ukw-");
      const std::string_view word = TakeField(rest, ',');
      if (!word.empty()) {
        stem = word.substr(0, word.size() - 1);
        final.assign(1, word.back());
      }
      if (prefix.empty()) Warn("Empty prefix found in word " + stem + final);
    }

    std::string info(TakeField(rest, ','));
    const std::string whole = prefix + stem + final;
    if (CutMarker(info, "ShortLocative")) lexicon_.ShortLocativeWords.push_back(whole);
    if (CutMarker(info, "Locative:")) {
      lexicon_.LocativeWords.push_back(whole);
      lexicon_.LocativeForms.push_back(info);
    }
    lexicon_.AddEntry(tag, prefix, stem, final, info);

    // Nothing is derived from an empty stem: the derived stems would be bare
    // suffixes that turn up inside all manner of words.
    if (stem.empty()) return;
    if (tag == "verb") AddDerivedVerbEntries(lexicon_, prefix, stem, final, info);
    if (TakesDiminutive(tag)) AddDiminutiveEntry(lexicon_, tag, prefix, stem, final, info);
  }

  // "uku" or "ukw" and then the final vowel (drop 1) or the passive's "wa" (drop 2)
  // come off an infinitive; empty when nothing is left.
  static std::string ReduceInfinitive(std::string_view infinitive, size_t drop) {
    if (infinitive.size() < 3) return "";
    std::string_view s = infinitive.substr(2);
    if (s[0] == 'u' || s[0] == 'w') s.remove_prefix(1);
    return s.size() > drop ? std::string(s.substr(0, s.size() - drop)) : "";
  }

  void ReadPassive(std::string_view line) {
    const size_t comma = line.find(',');
    const std::string stem = ReduceInfinitive(line.substr(0, comma), 1);
    std::string form;
    bool usable = !stem.empty();
    if (comma != std::string_view::npos) {
      const std::string_view passive = line.substr(comma + 1);
      form = ReduceInfinitive(passive.substr(0, passive.find(',')), 2);
      usable = usable && !form.empty();
    }
    if (!usable) {
      Warn("Passive exception skipped, no stem in " + std::string(line));
      return;
    }
    lexicon_.PassiveStems.push_back(stem);
    lexicon_.PassiveForms.push_back(std::move(form));
  }

  Lexicon& lexicon_;
  const LexiconWarningHandler& warn_;
  std::string file_;
  int line_ = 0;
};

}  // namespace

Lexicon LoadLexicon(const std::string& dir, const LexiconWarningHandler& warn) {
  std::string base = dir;
  if (!base.empty() && base.back() != '/') base += '/';
  Lexicon lexicon;
  lexicon.SourceDir = base;
  Loader loader(lexicon, warn);
  loader.ReadDictionary(base + "dictionary.txt");
  loader.ReadPassives(base + "passives.txt");
  lexicon.PrepareLookups();
  return lexicon;
}

}  // namespace tovuri
