#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "checker/letter_model.h"
#include "spell/ox3Suggestions.h"
#include "analyser/word_check.h"

namespace tovuri {

// Suggestions that know Ndebele words no list holds: every word one typical
// slip away from the misspelt one (single edits and the confusions of
// Ndebele writing) that the dictionaries or the analyser accept, merged with
// the dictionaries' own suggestions and ranked by the cost of the slip plus
// how unlikely the word is (the letter model; words the dictionaries hold
// are likelier than those only the analyser accepts).
class TNdebeleSuggestions final : public TSuggestionExtension {
 public:
  // The analyser's verdict on one Windows-1252 word.

  // How much one request may spend: past max_analysed candidates only the
  // dictionaries are asked; past max_time the search ends. Either way the
  // words found so far are ranked.
  struct Budget {
    size_t max_analysed = 1500;
    std::chrono::milliseconds max_time{40};
  };

  // Weight of the letter model's cost beside the slip's: its n-grams see
  // whole words' letters again and again, so its nats are not independent.
  static constexpr double kLetterWeight = 0.4;
  // Extra cost, in nats, of a word only the analyser accepts.
  static constexpr double kAnalysedOnly = 1.5;
  // Candidates this much costlier than the best word found are not looked
  // at: thousands of times less likely, they would only lengthen the list.
  static constexpr double kHopeless = 8;
  // Words past this many best ones are not looked for.
  static constexpr size_t kWanted = 10;

  TNdebeleSuggestions(std::shared_ptr<const TLetterModel> letters, TWordAnalyser analyse, Budget budget);
  // Where the letter model is read from, at the first request: a checker
  // that never suggests (tovuri-check -l) does not pay for it.
  struct LetterModelFile {
    std::string path;
  };
  TNdebeleSuggestions(LetterModelFile letters, TWordAnalyser analyse, Budget budget);

  // Says that the letter model file cannot be used: its path and why.
  using Report = std::function<void(const std::string& file, const std::string& problem)>;
  void SetReport(Report report) { report_ = std::move(report); }

  void Extend(std::string_view word, TSuggestionSources& sources, std::vector<std::string>& ranked) override;

 private:
  // The letter model, read first when it is still to be read; null without one.
  const TLetterModel* Letters();

  std::shared_ptr<const TLetterModel> letters_;
  std::string letter_model_path_;  // read at the first request when not empty
  std::once_flag letters_read_;
  TWordAnalyser analyse_;
  Budget budget_;
  Report report_;
};

}  // namespace tovuri
