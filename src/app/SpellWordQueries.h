#pragma once
// The main window's answers to word queries, free of Qt: its checker
// component's verdict, then the analyser, learning as the word check handler does.
#include <string>

#include "app/WordLearning.h"
#include "app/WordQuery.h"
#include "spell/ox3SpellBase.h"

namespace tovuri {

class TSpellWordQueries final : public TWordQueryHandler {
 public:
  TSpellWordQueries(TOrthexSpell3Base& spell, TAnalyser analyser)
      : spell_(spell), analyser_(std::move(analyser)) {}

  bool IsWordAcceptable(const std::string& word) override { return spell_.IsWordAcceptable(word); }
  bool IsNdebeleWord(const std::string& word) override { return analyser_(word); }
  void LearnWord(const std::string& word) override { tovuri::LearnWord(spell_, word); }

 private:
  TOrthexSpell3Base& spell_;
  TAnalyser analyser_;
};

}  // namespace tovuri
