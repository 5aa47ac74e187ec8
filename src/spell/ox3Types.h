#pragma once
// Enumerations shared by the tokenizer, the configuration and the checker component.
#include <cstdint>
#include <initializer_list>

namespace tovuri {

// The program's verdict on a word, passed through the word check event.
enum class TWordCheckType : std::uint8_t {
  wctAccepted,
  wctExcluded,
  wctAutoCorrect,
  wctMisspelled,
  wctRepeated,
};

// Which part of a text a check or a word count covers.
enum class TCheckMode : std::uint8_t {
  cmSelection,
  cmFromCaret,
  cmAll,
  cmSelectionThenRest,
  cmPresetRange,
};

// The user's decisions during a check, as recorded for undo.
enum class TSpellAction : std::uint8_t {
  sacIgnore,
  sacIgnoreAll,
  sacChange,
  sacChangeAll,
  sacAdd,
  sacAutoCorrect,
};

// Where the configuration is kept.
enum class TConfigStorage : std::uint8_t { csFile, csRegistry, csCallback, csNone };

// One user option; the value is its bit number in TSpellOptions.
enum class TSpellOption : std::uint8_t {
  soLiveSpelling,
  soLiveCorrect,
  soUpcase,
  soNumbers,
  soHTML,
  soInternet,
  soQuoted,
  soAbbreviations,
  soPrimaryOnly,
  soRepeated,
  soUser1,
  soUser2,
  soUser3,
  soUser4,
};

// A set of TSpellOption kept in 16 bits, as it is stored per user.
class TSpellOptions {
 public:
  constexpr TSpellOptions() = default;
  constexpr TSpellOptions(std::initializer_list<TSpellOption> options) {
    for (TSpellOption o : options) Include(o);
  }
  static constexpr TSpellOptions FromBits(std::uint16_t bits) {
    TSpellOptions s;
    s.bits_ = bits;
    return s;
  }

  constexpr std::uint16_t Bits() const { return bits_; }
  constexpr bool Has(TSpellOption o) const { return (bits_ & Mask(o)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(TSpellOption o) { bits_ = static_cast<std::uint16_t>(bits_ | Mask(o)); }
  constexpr void Exclude(TSpellOption o) { bits_ = static_cast<std::uint16_t>(bits_ & ~Mask(o)); }
  constexpr void Set(TSpellOption o, bool on) { on ? Include(o) : Exclude(o); }

  friend constexpr bool operator==(TSpellOptions, TSpellOptions) = default;

 private:
  static constexpr std::uint16_t Mask(TSpellOption o) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(o));
  }
  std::uint16_t bits_ = 0;
};

}  // namespace tovuri
