#include "analyser/word_check.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string>

#include "analyser/adjective_forms.h"
#include "analyser/adverb_forms.h"
#include "analyser/closed_class.h"
#include "analyser/exception_verb_forms.h"
#include "analyser/morpheme_ops.h"
#include "analyser/noun_forms.h"
#include "analyser/pattern_interpreter.h"
#include "analyser/text_case.h"
#include "analyser/verb_forms.h"

namespace tovuri {
namespace {

// Longer stems are never tried.
constexpr size_t kMaxStem = 20;

constexpr std::string_view kNounTags[] = {
    "isi/izi", "isi",      "izi", "in/izin", "u/o",     "u",      "um",    "um/aba", "um/ama",
    "umu",     "ili/ama",  "ili", "ama",     "in/ama",  "um/imi", "imi",   "ulu/izin", "ulu",
    "ubu",     "u/o/ama",  "person", "place", "in",     "im",     "uku",
};

}  // namespace

bool IsNounTag(std::string_view tag) {
  return std::find(std::begin(kNounTags), std::end(kNounTags), tag) != std::end(kNounTags);
}

namespace {

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// A lower-cased copy of a short needle, kept on the stack.
class Needle {
 public:
  void Append(std::string_view s) {
    for (char c : s)
      if (size_ < text_.size()) text_[size_++] = FoldCase(c);
  }
  std::string_view view() const { return {text_.data(), size_}; }

 private:
  std::array<char, kMaxStem + 2> text_{};
  size_t size_ = 0;
};

// Occurring means being a substring anywhere; the empty string never occurs.
bool Occurs(std::string_view needle, std::string_view lowered_word) {
  return !needle.empty() && lowered_word.find(needle) != std::string_view::npos;
}

// What every candidate test needs to know about the word, worked out once.
struct Word {
  explicit Word(std::string_view word) : lowered(ToLower(word)) {
    for (char c : lowered) letters[static_cast<unsigned char>(c)] = true;
    locative = EndsWith(lowered, "eni") || EndsWith(lowered, "ini");
  }
  std::string lowered;
  std::array<bool, 256> letters{};  // the bytes that occur in the lowered word
  bool locative;                    // ends in "eni" or "ini"
};

// Entry i's stem is not empty: an empty stem never occurs in a word.
bool IsCandidate(const Lexicon& lexicon, size_t i, const Word& word) {
  const std::string_view stem = lexicon.LexStem[i];
  const std::string_view w = word.lowered;
  // The first three tests all look for the stem's first letter, lowered.
  if (word.letters[static_cast<unsigned char>(FoldCase(stem[0]))]) {
    Needle lowered;
    lowered.Append(stem);
    if (Occurs(lowered.view(), w)) return true;

    // An aspirated stem inside an unaspirated word: khul in inkulu.
    if (stem.size() > 1 && stem[1] == 'h') {
      Needle plain;
      plain.Append(stem.substr(0, 1));
      plain.Append(stem.substr(2));
      if (Occurs(plain.view(), w)) return true;
    }
    // An "in" noun's stem aspirated in the plural: kos in amakhosi.
    if (stem[0] == 'k' && lexicon.LexPrefix[i] == "in") {
      Needle aspirated;
      aspirated.Append(stem.substr(0, 1));
      aspirated.Append("h");
      aspirated.Append(stem.substr(1));
      if (Occurs(aspirated.view(), w)) return true;
    }
  }
  if (word.locative && Occurs(ToLower(LocativeBody(stem, lexicon.LexFinal[i])), w)) return true;
  // "bulewe" is the only form the loose test ever looked for; "bulawa" is
  // what the passive rows make of bulal (ngibulawa), so it is looked for too.
  if (stem == "bulal" && (Occurs("bulewe", w) || Occurs("bulawa", w))) return true;
  if (lexicon.LexClass[i] != "verb") return false;
  // A passive stem equal to the stem occurs in w only if the lowered stem
  // does, which the first test has already ruled out.
  if (lexicon.PassiveKeys.size() == lexicon.size()) return Occurs(lexicon.PassiveKeys[i], w);
  return Occurs(PassiveStem(stem, lexicon), w);
}

void AddSpecialForms(std::string_view prefix, std::string_view stem, std::string_view final,
                     FormSink& forms) {
  std::string word(prefix);
  word += stem;
  word += final;
  forms.Add(word);
  if (word == "umka") forms.Add("engumkabo");
  if (word == "oPhezukonke") {
    for (std::string_view head : {"y", "w", "b", "k"}) forms.Add({head, word});
  }
}

}  // namespace

std::vector<size_t> CandidateEntries(std::string_view word, const Lexicon& lexicon) {
  const Word w(word);
  std::array<std::vector<size_t>, kMaxStem + 1> by_length;
  for (size_t i = 0; i < lexicon.size(); ++i) {
    const size_t length = lexicon.LexStem[i].size();
    if (length == 0 || length > kMaxStem) continue;
    if (IsCandidate(lexicon, i, w)) by_length[length].push_back(i);
  }
  std::vector<size_t> ordered;
  for (size_t length = kMaxStem; length >= 1; --length)
    ordered.insert(ordered.end(), by_length[length].begin(), by_length[length].end());
  return ordered;
}

std::vector<EntryPass> PassesForEntry(const Lexicon& lexicon, size_t i) {
  const std::string& tag = lexicon.LexClass[i];
  const std::string& stem = lexicon.LexStem[i];
  const std::string& final = lexicon.LexFinal[i];
  std::vector<EntryPass> passes;
  passes.push_back({tag, lexicon.LexPrefix[i], stem, final, lexicon.LexInfo[i]});
  if (tag == "verb") {
    const std::string infinitive = InfinitivePrefix(stem);
    passes.push_back({"uku", infinitive, stem, final, ""});
    passes.push_back({"uku", infinitive, PassiveStem(stem, lexicon) + "w", final, ""});
    passes.push_back({"uku", infinitive, "nga" + stem, "i", ""});
  }
  return passes;
}

bool GenerateFormsForTag(std::string_view tag, std::string_view prefix, std::string_view stem,
                         std::string_view final, std::string_view attribute, FormSink& forms) {
  if (tag == "verb") {
    GenerateVerbForms(prefix, stem, final, attribute, forms);
  } else if (IsNounTag(tag)) {
    GenerateNounForms(tag, prefix, stem, final, forms);
  } else if (tag == "special") {
    AddSpecialForms(prefix, stem, final, forms);
  } else if (tag == "conj") {
    GenerateConjunctionForms(tag, prefix, stem, final, forms);
  } else if (tag == "adv") {
    GenerateAdverbForms(tag, prefix, stem, final, forms);
  } else if (tag == "rel") {
    GenerateRelativeForms(tag, prefix, stem, final, forms);
  } else if (tag == "adj") {
    GenerateAdjectiveForms(tag, prefix, stem, final, forms);
  } else if (tag == "defverb") {
    GenerateDefectiveVerbForms(prefix, stem, final, forms);
  } else if (tag.substr(0, 3) == "exc") {
    GenerateExceptionVerbForms(tag, prefix, stem, final, forms);
  } else {
    return false;
  }
  return true;
}

bool IsNdebeleWordReference(std::string_view word) {
  if (word.empty()) return true;
  if (IsClosedClassWord(word)) return true;
  const Lexicon& lexicon = TheLexicon();
  FormList list;
  for (size_t i : CandidateEntries(word, lexicon)) {
    for (const EntryPass& pass : PassesForEntry(lexicon, i)) {
      list.forms.clear();
      GenerateFormsForTag(pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute, list);
      if (FindInForms(word, list.forms, true)) return true;
    }
  }
  return false;
}

}  // namespace tovuri

namespace tovuri {

namespace {

// The index of the process-wide lexicon, made again when the lexicon changes.
struct ProcessIndex {
  std::mutex mutex;
  std::shared_ptr<const WordCheckIndex> index;
  size_t generation = 0;
  bool mapped = false;
  TNotice notice;
};

ProcessIndex& TheProcessIndex() {
  static ProcessIndex process;
  return process;
}

std::shared_ptr<const WordCheckIndex> CurrentIndex() {
  ProcessIndex& process = TheProcessIndex();
  const std::lock_guard<std::mutex> lock(process.mutex);
  if (!process.index || process.generation != LexiconGeneration()) {
    process.generation = LexiconGeneration();
    process.index.reset();
    const Lexicon& lexicon = TheLexicon();
    // A lexicon built by hand has no folder and so no index file.
    if (!lexicon.SourceDir.empty()) {
      const std::string path = lexicon.SourceDir + std::string(kWordCheckIndexFile);
      std::string problem;
      process.index = WordCheckIndex::Open(path, lexicon, problem);
      if (!process.index && process.notice)
        process.notice("word check index " + path + " " + problem +
                       "; building the index in memory instead");
    }
    process.mapped = process.index != nullptr;
    if (!process.index) process.index = std::make_shared<const WordCheckIndex>(lexicon);
  }
  return process.index;
}

}  // namespace

void PrepareWordCheck() { CurrentIndex(); }

void SetWordCheckIndexNotice(TNotice notice) {
  ProcessIndex& process = TheProcessIndex();
  const std::lock_guard<std::mutex> lock(process.mutex);
  process.notice = std::move(notice);
}

bool WordCheckIndexIsMapped() {
  CurrentIndex();
  ProcessIndex& process = TheProcessIndex();
  const std::lock_guard<std::mutex> lock(process.mutex);
  return process.mapped;
}

bool IsNdebeleWord(std::string_view word) { return CurrentIndex()->IsWord(word); }

}  // namespace tovuri
