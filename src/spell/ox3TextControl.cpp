#include "spell/ox3TextControl.h"

namespace tovuri {

TTextControl::~TTextControl() = default;

std::string TTextControl::ClassName() const { return "Edit"; }

}  // namespace tovuri
