#include "spell/ox3SpellUI.h"

namespace tovuri {

TSpellUserInterface::~TSpellUserInterface() = default;

}  // namespace tovuri
