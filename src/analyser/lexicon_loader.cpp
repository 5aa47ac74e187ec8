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

// An entry with a long gloss takes a hundred bytes or two; a line many times
// that long is lines whose breaks were lost, or bytes that were never text.
constexpr size_t kLongestSoundLine = 2000;
// Damaged lines named one by one; the rest are counted in one warning, so a
// badly damaged file does not bury its reader in messages.
constexpr int kDamagedLinesNamed = 10;

// Windows-1252 letters are the characters that have a case, and the sharp s,
// which has none.
bool IsLetter(char c) { return AnsiUpperChar(c) != AnsiLowerChar(c) || c == '\xDF'; }

// What a word of the lexicon may hold: letters, hyphens and apostrophes.
bool IsWordCharacter(char c) { return IsLetter(c) || c == '-' || c == '\'' || c == '\x92'; }

// Text never holds control characters other than the tab.
std::optional<char> ControlCharacter(std::string_view line) {
  for (char c : line)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == '\x7F') return c;
  return std::nullopt;
}

// The start of an entry inside a line's gloss (after its third comma), as a
// line break that became another character leaves it: a piece that ends in
// a tag, then a word, then a comma.
std::optional<std::string> EntryInGloss(std::string_view line) {
  std::vector<std::string_view> pieces;
  for (size_t start = 0, commas = 0;; ++commas) {
    const size_t end = line.find(',', start);
    if (commas >= 3) pieces.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  for (size_t k = 0; k + 2 < pieces.size(); ++k) {
    const std::string_view word = pieces[k + 1];
    if (word.empty() || !std::all_of(word.begin(), word.end(), IsWordCharacter)) continue;
    for (std::string_view tag : kAcceptedTags)
      if (pieces[k].ends_with(tag) && (IsWholeWordTag(tag) || word.find('-') != std::string_view::npos))
        return std::string(tag) + "," + std::string(word) + ",";
  }
  return std::nullopt;
}

std::string Hex(char c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto b = static_cast<unsigned char>(c);
  return std::string("0x") + kDigits[b >> 4] + kDigits[b & 15];
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
    // A file cut short ends inside a line; a sound one ends with a line
    // break, or at least with a whole entry (a comma after its attribute:
    // what follows is a gloss, which nothing reads).
    const bool ends_in_line = !text->empty() && text->back() != '\n' && text->back() != '\r';
    size_t entry_lines = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      line_ = static_cast<int>(i + 1);
      if (!IsSkipped(lines[i])) {
        ++entry_lines;
        const bool cut = ends_in_line && i + 1 == lines.size() && std::count(lines[i].begin(), lines[i].end(), ',') < 3;
        if (cut) {
          ++lexicon_.DamagedLines;
          Warn(file_ + " is cut short: its last line, " + std::to_string(line_) +
               ", stops inside an entry without a line break");
        }
        ReadEntry(lines[i], cut);
      }
      lexicon_.LexLine.resize(lexicon_.size(), line_);
    }
    SortUnique(lexicon_.ShortLocativeWords, nullptr);
    // A file of nothing but comments that ends inside one is a lexicon cut
    // short to its first lines.
    if (ends_in_line && entry_lines == 0) {
      ++lexicon_.DamagedLines;
      line_ = 0;
      Warn(file_ + " holds no entry and stops inside a line without a line break: it looks cut short, "
           "and only closed-class words are analysed");
    }
    if (lexicon_.DamagedLines > kDamagedLinesNamed) {
      line_ = 0;
      Warn(file_ + " has " + std::to_string(lexicon_.DamagedLines - kDamagedLinesNamed) +
           " more damaged lines, not named here");
    }
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

  // A line that cannot be a sound entry: damage the index must not be blamed
  // for. The line is still loaded as it reads.
  void WarnDamaged(const std::string& what) {
    if (line_damaged_) return;  // one warning a line: the first thing wrong
    line_damaged_ = true;
    if (lexicon_.DamagedLines++ < kDamagedLinesNamed)
      Warn("Damaged line " + std::to_string(line_) + " in " + file_ + ": " + what);
  }

  // Reads one entry; cut: the line is the end of a file cut short, as said,
  // and nothing more is said of it.
  void ReadEntry(std::string_view line, bool cut) {
    const std::string_view full_line = line;
    line_damaged_ = cut;
    if (const std::optional<char> control = ControlCharacter(line))
      WarnDamaged("it holds the control character " + Hex(*control) + ", which no text holds");
    else if (line.size() > kLongestSoundLine)
      WarnDamaged("it is " + std::to_string(line.size()) + " bytes long, where an entry takes a few dozen");
    const size_t commas = static_cast<size_t>(std::count(line.begin(), line.end(), ','));
    const std::string tag(TakeField(line, ','));
    std::string_view rest = line.substr(0, std::min(line.size(), kMaxLineRest));
    if (!IsAcceptedTag(tag)) Warn("Invalid entry found in dictionary " + file_ + " - " + tag);
    // An invalid tag is said above; these say what else keeps an entry from
    // ever matching a word.
    else if (commas < 2)
      WarnDamaged("there is no ',' after the word, so the entry can never match");
    else if (const std::string_view word = rest.substr(0, rest.find(','));
             !std::all_of(word.begin(), word.end(), IsWordCharacter))
      WarnDamaged("the word " + std::string(word) + " holds '" +
                  *std::find_if_not(word.begin(), word.end(), IsWordCharacter) + "', which no word holds");

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

    if (IsAcceptedTag(tag) && !rest.empty() && rest.find(',') == std::string_view::npos)
      WarnDamaged("the attribute " + std::string(rest) + " has no ',' after it, so it is not read");
    else if (IsAcceptedTag(tag))
      if (const std::optional<std::string> merged = EntryInGloss(full_line))
        WarnDamaged("its gloss holds what reads as another entry, " + *merged + ": a lost line break?");
    std::string info(TakeField(rest, ','));
    const std::string whole = prefix + stem + final;
    if (CutMarker(info, "ShortLocative")) lexicon_.ShortLocativeWords.push_back(whole);
    if (CutMarker(info, "Locative:")) {
      lexicon_.LocativeWords.push_back(whole);
      lexicon_.LocativeForms.push_back(info);
      if (!std::all_of(info.begin(), info.end(), [](char c) { return IsWordCharacter(c) || c == '/'; }))
        WarnDamaged("the locative forms " + info + " hold what no word holds");
    } else if (tag == "verb" && !info.empty() && info != "PassiveOnly" && info != "Reflexive") {
      // The verb generator reads no other attribute: a damaged one is lost.
      WarnDamaged("the verb attribute " + info + " is neither PassiveOnly nor Reflexive, and is ignored");
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
  bool line_damaged_ = false;  // said of the line being read
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
