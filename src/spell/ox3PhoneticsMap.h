#pragma once
// Sound-alike codes for the phonetic suggestions: a tree of rewrite rules
// chosen by language, and the code it gives a word.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "spell/ox3MainDictionary.h"

namespace tovuri {

// One node of the rule tree, reached by the bytes of a rule's source.
class TReplaceNode {
 public:
  TReplaceNode() = default;
  TReplaceNode(const TReplaceNode&) = delete;
  TReplaceNode& operator=(const TReplaceNode&) = delete;
  virtual ~TReplaceNode() = default;

  // The longest rule whose source starts text at pos: its destination and how
  // many bytes it consumes. False when no rule matches there.
  virtual bool Match(std::string_view text, size_t pos, std::string_view& destination,
                     int& consume) const;
  virtual void ClearRules();
  // Where text starts with source, emit destination and consume bytes; a later
  // rule with the same source replaces the earlier one. The bytes of source past
  // consume are context only.
  virtual void AddRule(std::string_view source, std::string_view destination, int consume);

 private:
  std::array<std::unique_ptr<TReplaceNode>, 256> Children_;
  bool HasChildren_ = false;
  bool IsDestination_ = false;
  std::string Destination_;
  int Consume_ = 0;
};

// The phonetic code of words under one language's rules; the map is the root
// of its own rule tree. Main dictionaries search with it.
class TPhoneticsMap : public TReplaceNode, public PhoneticEncoder {
 public:
  TPhoneticsMap() = default;

  // Loads the rules for a language identifier (its low byte chooses English,
  // Russian or the default set); nothing happens when the language is unchanged.
  virtual void UseLanguageRules(int language);
  // Values of 0 or less are ignored.
  virtual void SetStartDepth(int depth);
  // The first StartDepth bytes of the lower-cased word, then the rules' output,
  // which stops once Limit code bytes have been produced.
  std::string Encode(std::string_view word) const override;
  // Whether a phonetic match this far (in edits) from the word is worth offering.
  virtual bool IsCloseEnough(std::string_view word, int distance) const;

  int StartDepth() const { return StartDepth_; }
  int PhoneticDepth() const override { return StartDepth_; }
  int Language() const { return Language_; }

  bool RemoveDupes = true;  // one-byte rules do not repeat the code's last byte
  int Limit = 6;            // code bytes produced by rules
  int DistanceDivisor = 2;  // a match may differ by at most the word's length / divisor
  int DistanceMax = 4;

 private:
  int StartDepth_ = 2;
  int Language_ = -1;  // no rules loaded
};

}  // namespace tovuri
