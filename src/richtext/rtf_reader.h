#pragma once
// Reads RTF as word processors write it: paragraphs, bold, italic, underline,
// font family and size, colours, Unicode and Windows-1252 characters, tabs and
// line breaks, paragraph spacing and tab stops. Tables become one paragraph
// per row with tabs between cells and a tab stop where each cell starts;
// pictures, headers, style sheets and other destinations are skipped, and
// the document names what it lost that way (RichDocument::skipped).
#include <optional>
#include <string_view>

#include "richtext/rich_document.h"

namespace tovuri {

// Nothing when the bytes do not begin as RTF ("{\rtf"). Malformed RTF
// (unbalanced braces, overlong control words, deep nesting) never fails: what
// can be read is returned.
std::optional<RichDocument> ReadRtf(std::string_view bytes);

}  // namespace tovuri
