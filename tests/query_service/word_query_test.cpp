#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/WordQuery.h"
#include "common/spelling_service_names.h"

namespace tovuri {
namespace {

// Answers from two fixed word sets and records every step in order.
class ScriptedHandler final : public TWordQueryHandler {
 public:
  bool IsWordAcceptable(const std::string& word) override {
    steps.push_back("dictionaries " + word);
    return dictionary.contains(word);
  }
  bool IsNdebeleWord(const std::string& word) override {
    steps.push_back("analyser " + word);
    return analyser.contains(word);
  }
  void LearnWord(const std::string& word) override {
    steps.push_back("learn " + word);
    dictionary.insert(word);
  }
  std::set<std::string> dictionary{"umuntu", "Umuntu"};
  std::set<std::string> analyser{"simbona", "ng\xE1"};
  std::vector<std::string> steps;
};

// Runs one macro, recording the answer among the handler's steps.
std::string Ask(ScriptedHandler& handler, std::string_view macro) {
  return SpellingExecuteMacro(macro, handler, [&](const std::string& answer) {
    handler.steps.push_back("answer " + answer);
  });
}

TEST(WordQuery, AnswersForTheFirstLineExactlyAsSent) {
  const struct {
    std::string macro;
    std::string answer;
  } cases[] = {
      {"umuntu", "Yes umuntu"},
      {"umuntu\nqwxz\n", "Yes umuntu"},
      {"qwxz\r\numuntu", "No qwxz"},
      {"umuntu\r\n", "Yes umuntu"},
      {"Umuntu", "Yes Umuntu"},
      {" umuntu", "No  umuntu"},           // no trimming
      {"umuntu\r", "No umuntu\r"},          // a lone CR ends no line
      {"umuntu\tx", "No umuntu\tx"},
      {"\numuntu", "No "},                  // an empty first line
      {"\r\n", "No "},
      {"", "Error"},                        // no lines at all
      {"ng\xC3\xA1", "Yes ng\xC3\xA1"},    // UTF-8 on the bus, Windows-1252 inside
      {"\xC5\x8Boma", "No \xC5\x8Boma"},   // beyond Windows-1252: as sent
      {"\xF0\x9F\x98\x80", "No \xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    ScriptedHandler handler;
    EXPECT_EQ(Ask(handler, c.macro), c.answer) << "macro: " << c.macro;
    EXPECT_EQ(std::count(handler.steps.begin(), handler.steps.end(), "answer " + c.answer), 1)
        << "macro: " << c.macro;
  }
}

TEST(WordQuery, AnswersBeforeLearningAWordOnlyTheAnalyserAccepts) {
  ScriptedHandler handler;
  EXPECT_EQ(Ask(handler, "simbona"), "Yes simbona");
  EXPECT_EQ(handler.steps, (std::vector<std::string>{"dictionaries simbona", "analyser simbona",
                                                     "answer Yes simbona", "learn simbona"}));
  handler.steps.clear();
  EXPECT_EQ(Ask(handler, "simbona"), "Yes simbona");
  EXPECT_EQ(handler.steps, (std::vector<std::string>{"dictionaries simbona", "answer Yes simbona"}))
      << "the second query is answered by the dictionaries";
}

TEST(WordQuery, LearnsNothingFromKnownMisspeltEmptyOrForeignWords) {
  for (const std::string macro : {"umuntu", "qwxz", "\n", "\xC5\x8Boma"}) {
    ScriptedHandler handler;
    Ask(handler, macro);
    for (const std::string& step : handler.steps) EXPECT_FALSE(step.starts_with("learn ")) << macro;
  }
  ScriptedHandler handler;
  Ask(handler, "\n");
  Ask(handler, "\xC5\x8Boma");
  EXPECT_EQ(handler.steps, (std::vector<std::string>{"answer No ", "answer No \xC5\x8Boma"}))
      << "neither the empty word nor a word Windows-1252 cannot hold reaches the checker";
}

TEST(WordQuery, TurnsAwayMacrosLongerThan64KiB) {
  ScriptedHandler handler;
  const std::string longest(kMaxMacroBytes, 'a');
  EXPECT_EQ(Ask(handler, longest), "No " + longest);
  EXPECT_EQ(Ask(handler, longest + "a"), "Error");
  EXPECT_EQ(Ask(handler, "umuntu\n" + longest), "Error") << "the whole macro counts";
  EXPECT_EQ(handler.steps, (std::vector<std::string>{"dictionaries " + longest, "analyser " + longest,
                                                     "answer No " + longest, "answer Error", "answer Error"}))
      << "the long macros never reach the checker";
}

TEST(SpellingBusName, IsTheExecutablesBaseNameMadeFitForTheBus) {
  const struct {
    std::string executable;
    std::string bus_name;
  } cases[] = {
      {"/usr/bin/tovuri", "org.tovuri.tovuri"},
      {"tovuri", "org.tovuri.tovuri"},
      {"C:/Program Files/Tovuri/Tovuri.exe", "org.tovuri.Tovuri"},
      {"/opt/my tovuri.v2.bin", "org.tovuri.my_tovuri_v2"},
      {"/opt/tovuri-dev", "org.tovuri.tovuri-dev"},
      {"/opt/2tovuri", "org.tovuri._2tovuri"},
      {"/opt/t\xC3\xB6vuri", "org.tovuri.t__vuri"},
      {"/opt/.tovuri", "org.tovuri._tovuri"},
      {"", "org.tovuri._"},
  };
  for (const auto& c : cases) EXPECT_EQ(SpellingBusName(c.executable), c.bus_name) << c.executable;
  EXPECT_EQ(SpellingBusName(std::string(300, 'x')).size(), 255u);
}

}  // namespace
}  // namespace tovuri
