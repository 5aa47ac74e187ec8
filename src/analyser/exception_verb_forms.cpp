#include "analyser/exception_verb_forms.h"

#include <array>

#include "analyser/concord_tables.h"
#include "analyser/pattern_interpreter.h"

namespace tovuri {
namespace {

constexpr PassiveOnly kMade = PassiveOnly::kMade;

// The perfect forms of a verb whose perfect stem is irregular: T is that stem
// ("lel" for ukulala) and E its final vowel. The passives take a plain "w".
// "bulal" has its passive "bulawa" instead of the four regular passive rows.
constexpr std::array<PatternRow, 44> kExceptionPatterns = {{
    {R"(J(SC + OC, T) + E)"},
    {R"(J(SC + "sa" + OC, T) + E)"},
    {R"(J(NSC + "sa" + OC, T) + E)"},
    {R"(J("k" + NSC + "sa" + OC, T) + E)"},
    {R"(J(SC, T) + "w" + E)", kMade, R"(Not made when T="bulal".)"},
    {R"(J(SC + "sa", T) + "w" + E)", kMade, R"(Not made when T="bulal".)"},
    {R"(J(NSC + "sa", T) + "w" + E)", kMade, R"(Not made when T="bulal".)"},
    {R"(J("k" + NSC + "sa", T) + "w" + E)", kMade, R"(Not made when T="bulal".)"},
    {R"(J(SC, "bulawa"))", kMade, R"(Only when T="bulal".)"},
    {R"(J(SE + OC, T) + E)"},
    {R"(J(RC + OC, T) + E)"},
    {R"(J(RC + OC, T) + E + "yo")"},
    {R"("l" + J(RC + OC, T) + E + "yo")"},
    {R"("l" + J(RC + OC, T) + E)"},
    {R"(J(RC + "ngasa" + OC, T) + E)"},
    {R"(J(RC + "sa" + OC, T) + E + "yo")"},
    {R"(J(RC, T) + "w" + E)"},
    {R"("ng" + J(RC{2,11-13} + OC, T) + E)"},
    {R"("k" + J(RC{2,11-13} + OC, T) + E + "yo")"},
    {R"(POS + tail(J(RC{5,8} + OC, T)) + E + "yo")"},
    {R"("el" + POS + tail(J(RC{5,8} + OC, T)) + E + "yo")"},
    {R"(POS + tail(J(RC{5,8}, T)) + "w" + E)"},
    {R"(POS + tail(J(RC{5,8}, T)) + "w" + E)"},
    {R"(J(PC + OC, T) + E)"},
    {R"(J(PC + "sa" + OC, T) + E)"},
    {R"(J(PC + "ngasa" + OC, T) + E)"},
    {R"(J(PC, T) + "w" + E)"},
    {R"(J(BE + OC, T) + E)"},
    {R"(J(NGA + OC, T) + E)"},
    {R"(J(RBE + OC, T) + E)"},
    {R"(J(RNGA + OC, T) + E)"},
    {R"("l" + J(RNGA + OC, T) + E)"},
    {R"(KW(RNGA) + J(RNGA + OC, T) + E)"},
    {R"(J(BESE + OC, T) + E)"},
    {R"(J(NGASE + OC, T) + E)"},
    {R"(J(RNGASE + OC, T) + E)"},
    {R"(J(BE, T) + "w" + E)"},
    {R"(J(NGA, T) + "w" + E)"},
    {R"(J(BESE, T) + "w" + E)"},
    {R"(J(NGASE, T) + "w" + E)"},
    {R"(J(RNGASE, T) + "w" + E)"},
    {R"(J(RPC + OC, T) + "w" + E)"},
    {R"(J(RPC + OC, T) + "w" + E + "yo")"},
    {R"(J(FVP + OC, T) + E)"},
}};

// The defective and auxiliary verbs, one row per stem with that stem's
// patterns. The lone "a" of the past concords (slot 10) is left out where a
// "ka" form stands in for it.
constexpr std::array<PatternRow, 12> kDefectivePatterns = {{
    {R"(SC + T + E ; SC + "za" + T + E ; PSC + T + E ; SE + T + E ; NSC + "ka" + T + E ;)"
     R"( "k" + NSC + "ka" + T + E ; RC + "ngaka" + T + E ; NGA + "ngaka" + T + E ;)"
     R"( "ka" + PSC{1-9,11-14} + T + E ; "ka" + T + E)",
     kMade, R"(Only when T="z".)"},
    {R"(NSC + T + E ; "k" + NSC + T + E ; NSC + "nga" + T + E ; "k" + NSC + "nga" + T + E ;)"
     R"( RC + "nga" + T + E ; "l" + RC + "nga" + T + E)",
     kMade, R"(Only when T="soz".)"},
    {R"(SC + T + E ; NSC + T + E ; "k" + NSC + T + E)", kMade,
     R"(Only when T="ngez" or T="ngek" or T="ngeb" or T="ngab" or T="suk" or T="vel" or T="sak".)"},
    {R"(NSC + T + E ; "k" + NSC + T + E ; NGA + "nga" + T + E)", kMade,
     R"(Only when T="zang".)"},
    {R"(SC + "ya" + T + E ; SC + "za" + T + E ; SE + T + E ; PSC + T + E ; RPC + T + E ;)"
     R"( PC + "nge" + T + E)",
     kMade, R"(Only when T="k".)"},
    {R"(NSC + T + E ; "k" + NSC + T + E ; NGA + "nga" + T + E)", kMade,
     R"(Only when T="zak".)"},
    {R"(PSC + T + E ; SC + T + E ; SC + "za" + T + E ; SC + "ya" + T + E ; RC + T + E ;)"
     R"( RC + "nga" + T + E ; RC + "ya" + T + E ; PC + "nga" + T + E ; BESE + T + E)",
     kMade, R"(Only when T="hl".)"},
    {R"("ka" + PSC{1-9,11-14} + T + E ; "ka" + PSC{1-9,11-14} + "za" + T + E ;)"
     R"( "a" + PSC{1-9,11-14} + T + E ; "a" + PSC{1-9,11-14} + "za" + T + E ;)"
     R"( "ka" + T + E ; "kaza" + T + E ; "a" + T + E ; "aza" + T + E)",
     kMade, R"(Only when T="b".)"},
    {R"(SC + T + E ; BE + T + E ; NGA + T + E)", kMade, R"(Only when T="lokh".)"},
    {R"(SC + T + E ; SE + T + E ; PSC + T + E)", kMade, R"(Only when T="phos".)"},
    {R"(SC + T + E ; RC + T + E ; BE + T + E ; NGA + T + E)", kMade,
     R"(Only when T="sand".)"},
    {R"(T + E ; T + E + "ni")", kMade, R"(Only when T="mus".)"},
}};

const PatternTable& ExceptionTable() {
  static const PatternTable table(kExceptionPatterns);
  return table;
}

const PatternTable& DefectiveTable() {
  static const PatternTable table(kDefectivePatterns);
  return table;
}

PatternValues EntryValues(std::string_view prefix, std::string_view stem,
                          std::string_view final) {
  PatternValues values;
  values.prefix = prefix;
  values.stem = stem;
  values.final = final;
  values.object_concords = ObjectConcords;
  return values;
}

}  // namespace

void GenerateExceptionVerbForms(std::string_view, std::string_view prefix,
                                std::string_view stem, std::string_view final,
                                FormSink& forms) {
  ExceptionTable().Run(EntryValues(prefix, stem, final), forms);
}

void GenerateDefectiveVerbForms(std::string_view prefix, std::string_view stem,
                                std::string_view final, FormSink& forms) {
  DefectiveTable().Run(EntryValues(prefix, stem, final), forms);
}

}  // namespace tovuri
