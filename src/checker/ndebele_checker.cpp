#include "checker/ndebele_checker.h"

#include <algorithm>

#include "analyser/name_prefixes.h"
#include "analyser/word_check.h"
#include "checker/ndebele_spell_config.h"
#include "common/ansi_case.h"
#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

// Windows-1252 letters are the characters that have a case.
bool IsLetter(char c) { return AnsiUpperChar(c) != AnsiLowerChar(c); }

bool HasLetter(std::string_view text) { return std::any_of(text.begin(), text.end(), IsLetter); }

// Words joined by single hyphens (kodwa-ke, lanxa-nje): one word as written,
// though the tokenizer checks each part.
bool IsHyphenedCompound(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsLetter(c) || c == '\'' || c == '\x92') continue;
    if (c != '-' || i == 0 || i + 1 == text.size() || !IsLetter(text[i - 1]) || !IsLetter(text[i + 1])) return false;
  }
  return true;
}

}  // namespace

TNdebeleChecker::TNdebeleChecker(const std::string& app_dir, TLearning learning, TWordAnalyser analyse, TNotice report)
    : owned_(std::make_unique<TOrthexSpell3Base>()),
      spell_(*owned_),
      ui_(std::make_unique<TIgnoringUserInterface>(spell_)),
      learning_(learning),
      analyse_(std::move(analyse)),
      report_(std::move(report)) {
  Configure();
  ConfigureNdebeleSpell(spell_, app_dir);
  spell_.UIType = TSpellUI::suiSilent;
  spell_.SynchronousCheck = true;
  // Every text is checked with the same open dictionaries; Close releases them.
  spell_.SetKeepDictionariesActive(true);
  spell_.SetUserInterface(ui_.get());
  spell_.OnWordCheck = [this](TOrthexSpell3Base& sender, const std::string& word, TWordCheckType& type,
                              std::string&) {
    ++words_seen_;
    WordCheck(word, type);
    if (!on_word_) return;
    // The parser stands just after the word.
    const auto end = static_cast<size_t>(sender.CurrentParser()->GetPosition().x);
    const bool accepted = type != TWordCheckType::wctMisspelled && type != TWordCheckType::wctExcluded;
    on_word_(word, end - word.size(), accepted);
  };
  spell_.OnPromptWord = [this](TOrthexSpell3Base& sender, const std::string& word, bool) {
    if (on_prompt_) on_prompt_(word, sender.CurrentParser()->GetPosition());
  };
  spell_.OnDictionarySaveFailed = [this](TOrthexSpell3Base&, const std::string& file, const std::string& reason) {
    learning_failed_ = true;
    save_failed_ = true;
    Tell("cannot save " + file + ": " + reason);
  };
  spell_.OnDictionaryProblem = [this](TOrthexSpell3Base&, const std::string& file, const std::string& problem) {
    Tell(file + ": " + problem);
  };
}

TNdebeleChecker::TNdebeleChecker(TOrthexSpell3Base& spell, TLearning learning, TWordAnalyser analyse, TNotice report)
    : spell_(spell), learning_(learning), analyse_(std::move(analyse)), report_(std::move(report)) {
  Configure();
}

void TNdebeleChecker::Configure() {
  if (!analyse_) analyse_ = [](std::string_view word) { return IsNdebeleWord(word); };
}

TNdebeleChecker::~TNdebeleChecker() {
  if (!owned_) return;
  Close();
  // The component saves once more while it goes, after this object's members.
  spell_.OnDictionarySaveFailed = nullptr;
  spell_.OnDictionaryProblem = nullptr;
  spell_.SetUserInterface(nullptr);
}

void TNdebeleChecker::Tell(const std::string& message) {
  // A file that keeps failing would otherwise be reported at every save.
  if (message == last_message_) return;
  last_message_ = message;
  if (report_) report_(message);
}

void TNdebeleChecker::Check(std::string& text, std::function<void(const std::string&, TTextPos)> prompt) {
  on_prompt_ = std::move(prompt);
  spell_.CheckString(text);
  on_prompt_ = nullptr;
}

void TNdebeleChecker::CheckWords(std::string& text,
                                 std::function<void(const std::string&, size_t, bool)> each) {
  on_word_ = std::move(each);
  spell_.CheckString(text);
  on_word_ = nullptr;
}

bool TNdebeleChecker::IsAccepted(std::string_view word) {
  if (HasForeignChar(word)) return false;
  std::string text(word);
  bool prompted = false;
  words_seen_ = 0;
  Check(text, [&](const std::string&, TTextPos) { prompted = true; });
  // A replacement (an auto-correct pair) means the word as written is not right.
  const bool one_word = words_seen_ == 1 || (words_seen_ > 1 && IsHyphenedCompound(word));
  return one_word && !prompted && text == word && HasLetter(word);
}

bool TNdebeleChecker::Query(std::string_view word, const std::function<void(bool)>& answer) {
  // The empty word would reach the analyser, which accepts it, and could never be learnt.
  if (word.empty() || HasForeignChar(word)) {
    answer(false);
    return false;
  }
  const bool excluded = spell_.UseExcludeWords && spell_.IsExcludedWord(word);
  if (!excluded && spell_.IsWordAcceptable(word)) {
    answer(true);
    return true;
  }
  const TUnknownWordVerdict verdict = JudgeUnknownWord(word);
  const bool accepted = verdict.judgement != TJudgement::jdRejected;
  answer(accepted);
  if (verdict.judgement == TJudgement::jdAnalysed) Learn(verdict.word);
  return accepted;
}

TUnknownWordVerdict TNdebeleChecker::WordCheck(const std::string& word, TWordCheckType& type) {
  // Checking never edits the text: a word the user's auto-correct pairs
  // would replace is reported where it stands.
  if (type == TWordCheckType::wctAutoCorrect && owned_) type = TWordCheckType::wctExcluded;
  if (type != TWordCheckType::wctMisspelled) return {TJudgement::jdKnown, word};
  TUnknownWordVerdict verdict = JudgeUnknownWord(word);
  if (verdict.judgement == TJudgement::jdRejected) return verdict;
  type = TWordCheckType::wctAccepted;
  if (verdict.judgement == TJudgement::jdAnalysed) Learn(verdict.word);
  return verdict;
}

TUnknownWordVerdict TNdebeleChecker::JudgeUnknownWord(std::string_view word) {
  const std::string whole(word);
  if (whole.empty() || HasForeignChar(whole)) return {TJudgement::jdRejected, whole};
  // A word the user excluded stays reported, however the analyser judges it.
  if (spell_.UseExcludeWords && spell_.IsExcludedWord(whole)) return {TJudgement::jdRejected, whole};
  if (Analysed(whole)) return {TJudgement::jdAnalysed, whole};
  // Known to a dictionary, not learnt: the user may turn English words off.
  if (EnglishAccepts(whole)) return {TJudgement::jdKnown, whole};
  // The tokenizer keeps a closing curly quote (the elision mark) with a word:
  // unless the word with it is an elision, the quote closes a quotation.
  const std::string bare(WithoutClosingQuotes(whole));
  if (bare.empty() || (spell_.UseExcludeWords && spell_.IsExcludedWord(bare)))
    return {TJudgement::jdRejected, whole};
  if (spell_.IsWordAcceptable(bare)) return {TJudgement::jdKnown, bare};
  if (Analysed(bare)) return {TJudgement::jdAnalysed, bare};
  return {TJudgement::jdRejected, bare};
}

std::vector<std::string> TNdebeleChecker::Suggestions(std::string_view word) {
  if (const std::vector<std::string>* known = suggestions_.Find(word)) return *known;
  std::vector<std::string> list;
  spell_.GetSuggestions(word, list);
  suggestions_.Remember(word, list);
  return list;
}

void TNdebeleChecker::AcceptForSession(std::string_view word) {
  if (HasForeignChar(word)) return;
  spell_.InternalDictionary().AddWord(word);
  suggestions_.Clear();
}

bool TNdebeleChecker::AddToPersonal(std::string_view word) {
  // The user's files hold Windows-1252 words only.
  if (word.empty() || HasForeignChar(word)) return false;
  TCustomDictionary* custom = spell_.ActiveCustomDictionary();
  if (custom == nullptr) return false;
  custom->RemoveExcluded(word);
  suggestions_.Clear();
  const bool added = custom->Contains(word) || custom->AddWord(word);
  return custom->Save() && added;
}

bool TNdebeleChecker::Exclude(std::string_view word) {
  if (word.empty() || HasForeignChar(word)) return false;
  TCustomDictionary* custom = spell_.ActiveCustomDictionary();
  if (custom == nullptr) return false;
  custom->RemoveWord(word);
  suggestions_.Clear();
  const bool excluded = custom->IsExcluded(word) || custom->AddExcluded(word);
  return custom->Save() && excluded;
}

void TNdebeleChecker::StoreReplacement(std::string_view misspelt, std::string_view replacement) {
  if (HasForeignChar(misspelt) || HasForeignChar(replacement)) return;
  spell_.Configuration().EnsureLoaded();
  spell_.LearnReplacement(misspelt, replacement);
  suggestions_.Clear();
  if (TCustomDictionary* learning = spell_.LearningDictionary()) learning->Save();
}

bool TNdebeleChecker::Save() {
  save_failed_ = false;
  if (TCustomDictionary* custom = spell_.ActiveCustomDictionary()) custom->Save();
  if (TCustomDictionary* learning = spell_.LearningDictionary()) learning->Save();
  return !save_failed_;
}

bool TNdebeleChecker::Close() {
  if (owned_) spell_.SetKeepDictionariesActive(false);
  return !learning_failed_;
}

bool TNdebeleChecker::Analysed(const std::string& word) {
  if (AnalyserAccepts(word)) return true;
  // A lower-case prefix joined to a name the dictionaries or the analyser
  // accept (weStudio, nguMnu): a name added once is accepted after every
  // prefix. The dictionaries are asked every time, since the user may add
  // or exclude a name at any moment.
  return IsPrefixedName(word, [&](std::string_view name) {
    if (spell_.UseExcludeWords && spell_.IsExcludedWord(name)) return false;
    return spell_.WordInDictionaries(name) || AnalyserAccepts(name);
  });
}

bool TNdebeleChecker::EnglishWords() {
  if (english_words_ >= 0) return english_words_ == 1;
  spell_.Configuration().EnsureLoaded();
  return spell_.Configuration().SpellOptionsValue().Has(kEnglishWordsOption);
}

void TNdebeleChecker::SetEnglishWords(bool on) { english_words_ = on ? 1 : 0; }

bool TNdebeleChecker::EnglishAccepts(std::string_view word) {
  if (word.size() < 2 || !EnglishWords()) return false;
  if (AnsiLowerChar(word[0]) != word[0]) return InEnglish(word);
  // A lower-case Ndebele prefix joined to a capitalised English word.
  return IsPrefixedName(word, [this](std::string_view name) {
    return !(spell_.UseExcludeWords && spell_.IsExcludedWord(name)) && InEnglish(name);
  });
}

bool TNdebeleChecker::InEnglish(std::string_view name) {
  if (!english_tried_) {
    english_tried_ = true;
    auto english = std::make_unique<TMainDictionary>();
    const std::string file = spell_.PathMacros().AppDir() + "/" + kEnglishDictionaryFile;
    if (english->Open(file)) english_ = std::move(english);
  }
  if (!english_) return false;
  // A capitalised word is the list's own spelling (Studio, MDC) or a common
  // word at the head of a name (South); one in capitals only is a heading.
  return english_->Lookup(name) || english_->Lookup(AnsiLowerCase(name));
}

bool TNdebeleChecker::AnalyserAccepts(std::string_view word) {
  if (const bool* known = verdicts_.Find(word)) return *known;
  bool accepted = false;
  try {
    accepted = analyse_(word);
  } catch (const std::exception& error) {
    // Checking never fails: a word that cannot be analysed (memory ran out
    // while an index was built, say) is not accepted, and that is said.
    Tell("cannot check " + Windows1252ToUtf8(word) + ": " + error.what());
    return false;
  }
  verdicts_.Remember(word, accepted);
  return accepted;
}

void TNdebeleChecker::Learn(const std::string& word) {
  if (learning_ == TLearning::lnDoNotLearn) return;  // the verdict memory keeps it for this run
  suggestions_.Clear();  // the learnt word may now be offered
  const bool reopen = learning_ == TLearning::lnLearnAndReopen;
  // A custom dictionary that could not be opened may be usable again (its
  // folder restored): the desktop tries once before settling for this run.
  if (reopen && spell_.ActiveCustomDictionary() == nullptr) spell_.ApplyConfiguration(true);
  if (TCustomDictionary* custom = spell_.ActiveCustomDictionary()) {
    custom->AddWord(word);
    if (!reopen) return;
    spell_.ApplyConfiguration(true);
    if (spell_.IsWordAcceptable(word)) return;
    // The save failed and the dictionary could not be opened again: the
    // word waits in memory for the next save, and is accepted meanwhile.
  }
  spell_.InternalDictionary().AddWord(word);
  if (reopen) spell_.ApplyConfiguration(true);
  // A home whose dictionary cannot be opened (the component has said why)
  // is a failure the caller must see; without a home there is nowhere to
  // learn, and that is said once.
  if (!UserDataDir().empty()) {
    learning_failed_ = true;
    return;
  }
  if (told_no_home_) return;
  told_no_home_ = true;
  Tell("no home folder is known (HOME is not set and the password database has none), so no words are learnt");
}

}  // namespace tovuri
