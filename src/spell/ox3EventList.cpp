#include "spell/ox3EventList.h"

#include <algorithm>

namespace tovuri {

TEventList::~TEventList() = default;

void TEventList::Register(const void* listener, TMethod method) {
  if (IsRegistered(listener)) return;
  listeners_.push_back(listener);
  methods_.push_back(std::move(method));
}

void TEventList::Unregister(const void* listener) {
  const auto found = std::find(listeners_.begin(), listeners_.end(), listener);
  if (found == listeners_.end()) return;
  const auto index = found - listeners_.begin();
  listeners_.erase(found);
  methods_.erase(methods_.begin() + index);
}

bool TEventList::IsRegistered(const void* listener) const {
  return std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end();
}

void TEventList::Notify(TOrthexSpell3Base& sender) const {
  // A copy, so that a listener may unregister itself while being called.
  const std::vector<TMethod> methods = methods_;
  for (const TMethod& method : methods)
    if (method) method(sender);
}

void TParserIgnoreWordEventList::Notify(TOrthexSpell3Base& sender, int state, bool before) {
  State = state;
  Before = before;
  TEventList::Notify(sender);
}

void TPopupResultEventList::Notify(TOrthexSpell3Base& sender, TSpellPopupOption option,
                                   const std::string& word, const std::string& replacement) {
  Option = option;
  Word = word;
  Replacement = replacement;
  TEventList::Notify(sender);
}

}  // namespace tovuri
