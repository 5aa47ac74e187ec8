#pragma once
// The main window's answers to word queries, free of Qt: the checker's
// verdict, learning as the word check handler does.
#include <string>

#include "app/dbus/word_query.h"
#include "checker/ndebele_checker.h"

namespace tovuri {

class TSpellWordQueries final : public TWordQueryHandler {
 public:
  explicit TSpellWordQueries(TNdebeleChecker& checker) : checker_(checker) {}

  bool Query(const std::string& word, const std::function<void(bool)>& answer) override {
    return checker_.Query(word, answer);
  }

 private:
  TNdebeleChecker& checker_;
};

}  // namespace tovuri
