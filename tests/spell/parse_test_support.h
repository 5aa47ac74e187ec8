#pragma once
// Helpers for the tokenizer tests: ignore rules built from options as the
// checker builds them, and the words a text yields.
#include <memory>
#include <string>
#include <vector>

#include "spell/ox3Ignore.h"
#include "spell/ox3ParseEngine.h"
#include "spell/ox3Types.h"

namespace tovuri::testing {

// The rules for a set of options, in the checker's order, with the engine's
// hooks answered by the rules that want them.
class RuleSet {
 public:
  explicit RuleSet(TSpellOptions options, std::string quote_chars = ">") {
    using enum TSpellOption;
    if (options.Has(soInternet)) Add(std::make_unique<TURLIgnore>());
    if (options.Has(soUpcase)) Add(std::make_unique<TUppercaseWordIgnore>());
    if (options.Has(soNumbers)) Add(std::make_unique<TNumbersIgnore>());
    if (options.Has(soHTML)) Add(std::make_unique<THTMLIgnore>());
    if (options.Has(soQuoted)) Add(std::make_unique<TQuotedLineIgnore>(quote_chars));
    if (options.Has(soAbbreviations)) Add(std::make_unique<TAbbreviationsIgnore>());
  }

  void Bind(TMainParsingEngine& engine) const {
    engine.CharHook = [this](char c, TControlParser& parser) {
      for (const TParserIgnore* rule : hook_rules_)
        if (rule->CharHook(c, parser)) return true;
      return false;
    };
    engine.WordHook = [this](const std::string& word, TControlParser& parser) {
      for (const TParserIgnore* rule : hook_rules_)
        if (rule->WordHook(word, parser)) return true;
      return false;
    };
  }

  bool Ignored(std::string_view word, TControlParser* parser) const {
    for (const auto& rule : rules_)
      if (rule->IgnoreWord(word, parser)) return true;
    return false;
  }

 private:
  void Add(std::unique_ptr<TParserIgnore> rule) {
    if (rule->WantsHooks()) hook_rules_.push_back(rule.get());
    rules_.push_back(std::move(rule));
  }

  std::vector<std::unique_ptr<TParserIgnore>> rules_;
  std::vector<const TParserIgnore*> hook_rules_;
};

// Every word the engine delivers from its parser, until the text ends.
inline std::vector<std::string> AllWords(TMainParsingEngine& engine) {
  std::vector<std::string> words;
  for (std::string word = engine.NextWord(); !word.empty(); word = engine.NextWord())
    words.push_back(word);
  return words;
}

// The words that would be checked: delivered and not ignored by a rule.
inline std::vector<std::string> CheckedWords(TMainParsingEngine& engine, const RuleSet& rules) {
  std::vector<std::string> words;
  for (std::string word = engine.NextWord(); !word.empty(); word = engine.NextWord())
    if (!rules.Ignored(word, engine.Parser())) words.push_back(word);
  return words;
}

}  // namespace tovuri::testing
