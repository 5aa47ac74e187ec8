#include "spell/ox3SpellUI.h"

namespace tovuri {

TSpellUserInterface::~TSpellUserInterface() = default;

const TPopupMenuItem* TSpellUserInterface::ShowPopupMenu(const std::vector<TPopupMenuItem>&, TScreenPoint) {
  return nullptr;
}

}  // namespace tovuri
