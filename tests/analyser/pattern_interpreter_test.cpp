#include "analyser/pattern_interpreter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "analyser/concord_tables.h"

namespace tovuri {
namespace {

std::string Joined(const std::vector<std::string>& forms) {
  std::string out;
  for (const std::string& f : forms) out += f + " ";
  return out;
}

PatternValues HambaValues() {
  PatternValues v;
  v.prefix = "uku";
  v.stem = "hamb";
  v.final = "a";
  v.passive_stem = "hanj";
  v.glide = "w";
  v.object_concords = ObjectConcords;
  return v;
}

std::vector<std::string> FormsOf(std::span<const PatternRow> rows, const PatternValues& values) {
  const PatternTable table(rows);
  FormList list;
  table.Run(values, list);
  return list.forms;
}

TEST(PatternInterpreter, WalksEverySlotCombinationInOrder) {
  const PatternRow rows[] = {
      {R"(SU + "-" + T + E)"},
      {R"(P' + "|" + P + "|" + empty + Tp + W + E)"},
      {R"(SC{1,4-5} + OC{2-3} + T)"},
  };
  EXPECT_EQ(Joined(FormsOf(rows, HambaValues())),
            "wasu-hamba wase-hamba yasi-hamba ku|uku|hanjwa ngingihamb ngikuhamb singihamb "
            "sikuhamb lingihamb likuhamb ");
}

TEST(PatternInterpreter, AppliesTheStringFunctions) {
  const PatternRow rows[] = {
      {R"(J(SC{2}, "akha"))"},
      {R"(chop(POS{1}) + "|" + first2(RPOS{1}) + "|" + tail(T))"},
      {R"(KW(RC{1}) + G(SC{2}) + G(SC{9}))"},
      {R"(G(SC{11}) + G(SC{1}))"},
  };
  EXPECT_EQ(Joined(FormsOf(rows, HambaValues())), "wakha w|ow|amb kwwuyi wangi ");
}

TEST(PatternInterpreter, AnArrayNamedTwiceTakesTheSameSlot) {
  const PatternRow rows[] = {{R"(KW(RC{1-2}) + RC{1-2} + T)"}, {R"(RC{1} + RC{2})"}};
  EXPECT_EQ(Joined(FormsOf(rows, HambaValues())), "kwengihamb kohamb engio ");
}

TEST(PatternInterpreter, ObjectConcordSubsetsStopAtTheEntrysLastSlot) {
  const PatternRow rows[] = {{R"(OC{1} + T ; OC{2-16} + T)"}, {R"(OCS{2-16} + T)"}};
  PatternValues v = HambaValues();
  EXPECT_EQ(FormsOf(rows, v).size(), 31u);
  v.object_concords = v.object_concords.first(1);
  EXPECT_EQ(Joined(FormsOf(rows, v)), "hamb ");
}

TEST(PatternInterpreter, NotesSwitchRowsAndVariantsWin) {
  const PatternRow rows[] = {
      {R"("a")", PassiveOnly::kSkipped},
      {R"("b")", PassiveOnly::kMade, R"(Only when T="hamb".)"},
      {R"("c")", PassiveOnly::kMade, R"(Only when T+E="hamba" (but not when Reflexive).)"},
      {R"("d")", PassiveOnly::kMade, R"(Not made when T="hamb" or one-vowel.)"},
      {R"("e")", PassiveOnly::kMade,
       R"(Not made when Reflexive. When Reflexive, one-vowel: "f" ; "g". When T="x": "h".)"},
      {R"("i")", PassiveOnly::kMade, R"(When vowel-initial: "j".)"},
  };
  PatternValues v = HambaValues();
  EXPECT_EQ(Joined(FormsOf(rows, v)), "a b c e i ");
  v.passive_only = true;
  v.reflexive = true;
  EXPECT_EQ(Joined(FormsOf(rows, v)), "b f g i ");
  v.passive_only = false;
  v.reflexive = false;
  v.stem = "akh";
  v.vowel_initial = true;
  EXPECT_EQ(Joined(FormsOf(rows, v)), "a d e j ");
  v.one_vowel = true;  // vowel-initial holds only without one-vowel
  EXPECT_EQ(Joined(FormsOf(rows, v)), "a f g i ");
}

TEST(PatternInterpreter, PerfectBlocksSetTheirEndings) {
  const PatternRow rows[] = {
      {R"(T + "ile" + "|" + T + "iwe")", PassiveOnly::kMade, "Perfect block 1."},
      {R"(T + "ile" + "|" + T + "ileyo")", PassiveOnly::kMade, "Perfect block 2."},
      {R"(T + "ile")"},
  };
  PatternValues v = HambaValues();
  v.stem = "fanel";
  v.perfect_blocks[0].ile = "e";
  v.perfect_blocks[0].iwe = "we";
  v.perfect_blocks[1].ile = "e";
  v.perfect_blocks[1].ileyo = "eyo";
  EXPECT_EQ(Joined(FormsOf(rows, v)), "fanele|fanelwe fanele|faneleyo fanelile ");
  v.perfect_blocks[0].made = false;
  EXPECT_EQ(Joined(FormsOf(rows, v)), "fanele|faneleyo fanelile ");
}

TEST(PatternInterpreter, StopsOnceTheSinkIsDone) {
  const PatternRow rows[] = {{R"(SC + OC + T + E)"}, {R"("ngihamba")"}};
  FormMatcher matcher("ngikuhamba");
  PatternTable(rows).Run(HambaValues(), matcher);
  EXPECT_TRUE(matcher.Found());
  FormMatcher absent("hambisa");
  PatternTable(rows).Run(HambaValues(), absent);
  EXPECT_FALSE(absent.Found());
}

TEST(PatternInterpreter, RejectsMalformedRowsNamingTheRow) {
  const std::string bad[] = {
      R"(J(SC, T)",        R"(SC{0} + T)",  R"(SC{18} + T)", R"(XX + T)",
      R"("open + T)",      R"(SC + )",      R"(J(SC T))",    R"(SC{3-1})",
      R"(SC + OC + RC + PC + NSC)", R"(tail(tail(tail(tail(tail(T))))))",
  };
  for (const std::string& pattern : bad) {
    const PatternRow rows[] = {{"T"}, {pattern}};
    try {
      PatternTable table(rows);
      ADD_FAILURE() << "accepted " << pattern;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find("pattern row 2"), std::string::npos) << e.what();
    }
  }
  const std::string bad_notes[] = {"Not made when T=hamb.", "Sometimes.", "When Reflexive \"a\".",
                                   "Only when one-vowel"};
  for (const std::string& notes : bad_notes) {
    const PatternRow rows[] = {{"T", PassiveOnly::kMade, notes}};
    EXPECT_THROW(PatternTable{rows}, std::invalid_argument) << notes;
  }
}

}  // namespace
}  // namespace tovuri
