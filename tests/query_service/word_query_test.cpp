#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/dbus/word_query.h"
#include "common/spelling_service_names.h"

namespace tovuri {
namespace {

// Answers from two fixed word sets, as the checker would, and records every
// step in order.
class ScriptedHandler final : public TWordQueryHandler {
 public:
  bool Query(const std::string& word, const std::function<void(bool)>& answer) override {
    steps.push_back("query " + word);
    if (dictionary.contains(word)) {
      answer(true);
      return true;
    }
    const bool analysed = analyser.contains(word);
    answer(analysed);
    if (analysed) {
      steps.push_back("learn " + word);
      dictionary.insert(word);
    }
    return analysed;
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
  EXPECT_EQ(handler.steps,
            (std::vector<std::string>{"query simbona", "answer Yes simbona", "learn simbona"}));
}

TEST(WordQuery, HandsTheCheckerTheWordAsItsOwnText) {
  ScriptedHandler handler;
  Ask(handler, "\n");
  Ask(handler, "ng\xC3\xA1");
  Ask(handler, "\xC5\x8Boma\xF0\x9F\x98\x80");
  EXPECT_EQ(handler.steps, (std::vector<std::string>{"query ", "answer No ", "query ng\xE1", "answer Yes ng\xC3\xA1",
                                                     "learn ng\xE1", "query \x8Doma\x81",
                                                     "answer No \xC5\x8Boma\xF0\x9F\x98\x80"}))
      << "a letter Windows-1252 lacks stands as one no dictionary holds, a symbol as a word break";
}

TEST(WordQuery, TurnsAwayMacrosLongerThan64KiB) {
  ScriptedHandler handler;
  const std::string longest(kMaxMacroBytes, 'a');
  EXPECT_EQ(Ask(handler, longest), "No " + longest);
  EXPECT_EQ(Ask(handler, longest + "a"), "Error");
  EXPECT_EQ(Ask(handler, "umuntu\n" + longest), "Error") << "the whole macro counts";
  EXPECT_EQ(handler.steps,
            (std::vector<std::string>{"query " + longest, "answer No " + longest, "answer Error", "answer Error"}))
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
