#pragma once
// Writes a RichDocument as RTF that word processors and ReadRtf read back.
#include <string>

#include "richtext/rich_document.h"

namespace tovuri {

// Characters Windows-1252 holds are written as themselves or "\'hh", others as
// "\uN?"; each paragraph ends with "\par".
std::string WriteRtf(const RichDocument& document);

}  // namespace tovuri
