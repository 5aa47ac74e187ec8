#pragma once
// Listener registries through which the live editor follows the checker
// component: ignore rules rebuilt, configuration changed, word ignored,
// popup menu result.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace tovuri {

class TOrthexSpell3Base;

// One method per listener object; a listener registers at most once and is
// called in the order it registered.
class TEventList {
 public:
  using TMethod = std::function<void(TOrthexSpell3Base& sender)>;

  virtual ~TEventList();

  // Registering a listener that is already registered changes nothing.
  void Register(const void* listener, TMethod method);
  void Unregister(const void* listener);
  bool IsRegistered(const void* listener) const;
  size_t Count() const { return listeners_.size(); }
  void Notify(TOrthexSpell3Base& sender) const;

 private:
  std::vector<const void*> listeners_;
  std::vector<TMethod> methods_;  // parallel to listeners_
};

// The word-ignored registry: listeners read which ignore (State: 10 ignore,
// 11 ignore all, 12 add) and whether it is before or after the parser moved.
class TParserIgnoreWordEventList : public TEventList {
 public:
  void Notify(TOrthexSpell3Base& sender, int state, bool before);

  int State = 0;
  bool Before = false;
};

// What a popup menu choice of the live editor was; see TPopupResultEventList.
enum class TSpellPopupOption : unsigned char {
  spCancel,
  spDialog,
  spAutoCorrect,
  spChangeAll,
  spAdd,
  spIgnoreAll,
  spIgnore,
  spReplace,
};

// A set of TSpellPopupOption in one byte (bit n for value n).
class TSpellPopupOptions {
 public:
  constexpr TSpellPopupOptions() = default;
  constexpr TSpellPopupOptions(std::initializer_list<TSpellPopupOption> options) {
    for (TSpellPopupOption o : options) Include(o);
  }
  static constexpr TSpellPopupOptions FromBits(unsigned char bits) {
    TSpellPopupOptions s;
    s.bits_ = bits;
    return s;
  }
  constexpr unsigned char Bits() const { return bits_; }
  constexpr bool Has(TSpellPopupOption o) const { return (bits_ >> static_cast<unsigned>(o)) & 1u; }
  constexpr void Include(TSpellPopupOption o) {
    bits_ = static_cast<unsigned char>(bits_ | (1u << static_cast<unsigned>(o)));
  }
  constexpr void Exclude(TSpellPopupOption o) {
    bits_ = static_cast<unsigned char>(bits_ & ~(1u << static_cast<unsigned>(o)));
  }
  friend constexpr bool operator==(TSpellPopupOptions, TSpellPopupOptions) = default;

 private:
  unsigned char bits_ = 0;
};

// The popup-result registry: listeners read the option chosen and the word.
class TPopupResultEventList : public TEventList {
 public:
  void Notify(TOrthexSpell3Base& sender, TSpellPopupOption option, const std::string& word,
              const std::string& replacement);

  TSpellPopupOption Option = TSpellPopupOption::spCancel;
  std::string Word;
  std::string Replacement;
};

}  // namespace tovuri
