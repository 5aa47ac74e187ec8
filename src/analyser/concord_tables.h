#pragma once
// The concord and affix tables of the verb system: read-only morphemes in slot
// order. Generators walk them from the first slot to the last, duplicates included.
#include <array>
#include <string_view>

namespace tovuri {

inline constexpr std::array<std::string_view, 17> SubjectConcords = {
    "ngi", "u", "u", "si", "li", "ba", "u", "ba", "i", "li", "a", "si", "zi", "i", "lu", "bu",
    "ku"
};
inline constexpr std::array<std::string_view, 17> ParticipialConcords = {
    "ngi", "u", "e", "si", "li", "be", "u", "ba", "i", "li", "e", "si", "zi", "i", "lu", "bu",
    "ku"
};
inline constexpr std::array<std::string_view, 15> NegativeSubjectConcords = {
    "angi", "awu", "a", "asi", "ali", "aba", "awu", "ayi", "ali", "awa", "asi", "azi", "alu",
    "abu", "aku"
};
inline constexpr std::array<std::string_view, 16> ObjectConcords = {
    "", "ngi", "ku", "m", "si", "li", "ba", "wu", "yi", "li", "wa", "si", "zi", "lu", "bu",
    "ku"
};
inline constexpr std::array<std::string_view, 16> ObjectConcordsShort = {
    "", "ngi", "ku", "m", "si", "li", "ba", "u", "i", "li", "a", "si", "zi", "lu", "bu", "ku"
};
inline constexpr std::array<std::string_view, 12> SeConcords = {
    "sengi", "usu", "use", "sesi", "seli", "sebe", "isi", "ase", "sezi", "selu", "sebu", "seku"
};
inline constexpr std::array<std::string_view, 12> BeConcords = {
    "bengi", "ubu", "ube", "besi", "beli", "bebe", "ibi", "abe", "bezi", "belu", "bebu", "beku"
};
inline constexpr std::array<std::string_view, 12> RelativeBeConcords = {
    "ebengi", "obu", "obe", "ebesi", "ebeli", "abebe", "ebi", "abe", "ebezi", "obelu", "obebu",
    "obeku"
};
inline constexpr std::array<std::string_view, 12> NgaConcords = {
    "ngangi", "wawu", "waye", "sasi", "lali", "babe", "yayi", "aye", "zazi", "lwalu", "babu",
    "kwaku"
};
inline constexpr std::array<std::string_view, 12> RelativeNgaConcords = {
    "engangi", "owawu", "owaye", "esasi", "elali", "ababe", "eyayi", "aye", "ezazi", "olwalu",
    "obabu", "okwaku"
};
inline constexpr std::array<std::string_view, 12> BeSeConcords = {
    "besengi", "ubusu", "ubese", "besesi", "beseli", "besebe", "ibisi", "abese", "besezi",
    "beselu", "besebu", "beseku"
};
inline constexpr std::array<std::string_view, 12> RelativeBeSeConcords = {
    "ebesengi", "obusu", "obese", "ebesesi", "ebeseli", "abesebe", "ebisi", "abese", "ebesezi",
    "obeselu", "obesebu", "obeseku"
};
inline constexpr std::array<std::string_view, 12> NgaSeConcords = {
    "ngasengi", "wawusu", "wayese", "sasesi", "laseli", "basebe", "yayisi", "ayese", "zasezi",
    "lwaselu", "basebu", "kwaseku"
};
inline constexpr std::array<std::string_view, 12> RelativeNgaSeConcords = {
    "engasengi", "owawusu", "owayese", "esasesi", "elaseli", "abasebe", "eyayisi", "ayese",
    "ezasezi", "olwaselu", "obasebu", "okwaseku"
};
inline constexpr std::array<std::string_view, 5> PalatalSources = {
    "b", "m", "ph", "bh", "mb"
};
inline constexpr std::array<std::string_view, 5> PalatalReplacements = {
    "tsh", "ny", "tsh", "j", "nj"
};
inline constexpr std::array<std::string_view, 14> PastSubjectConcords = {
    "nga", "wa", "wa", "sa", "la", "ba", "wa", "ya", "la", "a", "sa", "za", "lwa", "kwa"
};
inline constexpr std::array<std::string_view, 9> PossessiveConcords = {
    "wa", "ba", "ya", "la", "a", "sa", "za", "lwa", "kwa"
};
inline constexpr std::array<std::string_view, 10> RelativePossessiveConcords = {
    "owa", "aba", "eya", "ela", "awa", "esa", "eza", "olwa", "oba", "okwa"
};
inline constexpr std::array<std::string_view, 13> RelativeSeConcords = {
    "esengi", "osu", "ose", "esesi", "eseli", "asebe", "esi", "eseli", "ase", "esezi", "oselu",
    "osebu", "oseku"
};
inline constexpr std::array<std::string_view, 13> RelativeConcords = {
    "engi", "o", "esi", "eli", "aba", "e", "eli", "a", "esi", "ezi", "olu", "obu", "oku"
};
inline constexpr std::array<std::string_view, 14> RelativePastConcords = {
    "enga", "owa", "esa", "ela", "owa", "aba", "eya", "ela", "a", "esa", "eza", "olwa", "oba",
    "okwa"
};
inline constexpr std::array<std::string_view, 10> SePastConcords = {
    "senga", "sewa", "sewa", "sesa", "sela", "seba", "seya", "seza", "selwa", "sekwa"
};
inline constexpr std::array<std::string_view, 3> SuPrefixes = {
    "wasu", "wase", "yasi"
};
inline constexpr std::array<std::string_view, 10> FixedVerbPrefixes = {
    "bese", "beza", "ebe", "ese", "zisiya", "kabesa", "wasesiya", "ababelababe", "ozo",
    "babesebe"
};
inline constexpr std::array<std::string_view, 20> VerbExtensions = {
    "ela", "isa", "isisa", "ana", "eka", "isela", "iselana", "anisa", "anisela", "elana",
    "elelisa", "isana", "elela", "iselela", "ekela", "anela", "elisa", "elelela", "isisela",
    "isisane"
};

}  // namespace tovuri
