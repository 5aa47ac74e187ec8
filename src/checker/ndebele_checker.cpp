#include "checker/ndebele_checker.h"

#include <algorithm>

#include "analyser/word_check.h"
#include "checker/analyser_verdict.h"
#include "checker/ndebele_spell_config.h"
#include "common/ansi_case.h"

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

TNdebeleChecker::TNdebeleChecker(const std::string& app_dir, TLearning learning, Analyse analyse,
                                 Report report)
    : ui_(spell_), learning_(learning), analyse_(std::move(analyse)), report_(std::move(report)) {
  if (!analyse_) analyse_ = [](std::string_view word) { return IsNdebeleWord(word); };
  ConfigureNdebeleSpell(spell_, app_dir);
  spell_.UIType = TSpellUI::suiSilent;
  spell_.SynchronousCheck = true;
  // Every text is checked with the same open dictionaries; Close releases them.
  spell_.SetKeepDictionariesActive(true);
  spell_.SetUserInterface(&ui_);
  spell_.OnWordCheck = [this](TOrthexSpell3Base& sender, const std::string& word, TWordCheckType& type,
                              std::string&) {
    CheckWithAnalyser(sender, word, type);
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
    Tell("cannot save " + file + ": " + reason);
  };
  spell_.OnDictionaryProblem = [this](TOrthexSpell3Base&, const std::string& file, const std::string& problem) {
    Tell(file + ": " + problem);
  };
}

TNdebeleChecker::~TNdebeleChecker() {
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
  std::string text(word);
  bool prompted = false;
  words_seen_ = 0;
  Check(text, [&](const std::string&, TTextPos) { prompted = true; });
  // A replacement (an auto-correct pair) means the word as written is not right.
  const bool one_word = words_seen_ == 1 || (words_seen_ > 1 && IsHyphenedCompound(word));
  return one_word && !prompted && text == word && HasLetter(word);
}

std::vector<std::string> TNdebeleChecker::Suggestions(std::string_view word) {
  std::vector<std::string> list;
  spell_.GetSuggestions(word, list);
  return list;
}

void TNdebeleChecker::AcceptForSession(std::string_view word) { spell_.InternalDictionary().AddWord(word); }

bool TNdebeleChecker::AddToPersonal(std::string_view word) {
  TCustomDictionary* custom = spell_.ActiveCustomDictionary();
  if (custom == nullptr) return false;
  custom->RemoveExcluded(word);
  const bool added = custom->Contains(word) || custom->AddWord(word);
  custom->Save();
  return added;
}

bool TNdebeleChecker::Exclude(std::string_view word) {
  TCustomDictionary* custom = spell_.ActiveCustomDictionary();
  if (custom == nullptr) return false;
  custom->RemoveWord(word);
  const bool excluded = custom->IsExcluded(word) || custom->AddExcluded(word);
  custom->Save();
  return excluded;
}

void TNdebeleChecker::StoreReplacement(std::string_view misspelt, std::string_view replacement) {
  spell_.Configuration().EnsureLoaded();
  spell_.LearnReplacement(misspelt, replacement);
  if (TCustomDictionary* learning = spell_.LearningDictionary()) learning->Save();
}

void TNdebeleChecker::Save() {
  if (TCustomDictionary* custom = spell_.ActiveCustomDictionary()) custom->Save();
  if (TCustomDictionary* learning = spell_.LearningDictionary()) learning->Save();
}

bool TNdebeleChecker::Close() {
  spell_.SetKeepDictionariesActive(false);
  return !learning_failed_;
}

// The program's handler: a word the dictionaries lack but the analyser
// accepts is learnt (without the desktop program's reopening of the
// dictionaries, which only serves its live editor). Verdicts are remembered
// for the checker's life, so each distinct word is analysed once.
void TNdebeleChecker::CheckWithAnalyser(TOrthexSpell3Base& sender, const std::string& word,
                                        TWordCheckType& type) {
  ++words_seen_;
  // Checking never edits the text: a word the user's auto-correct pairs
  // would replace is reported where it stands.
  if (type == TWordCheckType::wctAutoCorrect) type = TWordCheckType::wctExcluded;
  if (type != TWordCheckType::wctMisspelled) return;
  // A word the user excluded stays reported, however the analyser judges it.
  if (sender.UseExcludeWords && sender.IsExcludedWord(word)) return;
  if (Analysed(sender, word)) {
    type = TWordCheckType::wctAccepted;
    return;
  }
  // The tokenizer keeps a closing curly quote (the elision mark) with a word:
  // unless the word with it is an elision, the quote closes a quotation.
  const std::string_view bare = WithoutClosingQuotes(word);
  if (bare.empty()) return;
  if (sender.UseExcludeWords && sender.IsExcludedWord(bare)) return;
  if (sender.IsWordAcceptable(bare) || Analysed(sender, std::string(bare)))
    type = TWordCheckType::wctAccepted;
}

bool TNdebeleChecker::Analysed(TOrthexSpell3Base& sender, const std::string& word) {
  auto found = verdicts_.find(word);
  if (found == verdicts_.end()) found = verdicts_.emplace(word, IsNdebeleWordOrName(sender, word, analyse_)).first;
  if (!found->second) return false;
  if (learning_ == TLearning::lnLearn) Learn(sender, word);
  return true;
}

void TNdebeleChecker::Learn(TOrthexSpell3Base& sender, const std::string& word) {
  if (TCustomDictionary* custom = sender.ActiveCustomDictionary()) {
    custom->AddWord(word);
    return;
  }
  // A home whose dictionary cannot be opened (the component has said why)
  // is a failure the caller must see; without a home there is nowhere to
  // learn, as with lnDoNotLearn, and that is said once.
  if (!UserDataDir().empty()) {
    learning_failed_ = true;
    return;
  }
  if (told_no_home_) return;
  told_no_home_ = true;
  Tell("no home folder is known (HOME is not set and the password database has none), so no words are learnt");
}

}  // namespace tovuri
