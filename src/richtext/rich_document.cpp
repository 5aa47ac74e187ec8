#include "richtext/rich_document.h"

namespace tovuri {

void Paragraph::Append(std::string_view text, const CharFormat& format) {
  if (text.empty()) return;
  if (runs.empty() || runs.back().format != format) runs.push_back(TextRun{std::string(), format});
  runs.back().text += text;
}

std::string Paragraph::PlainText() const {
  std::string text;
  for (const TextRun& run : runs) text += run.text;
  return text;
}

std::string RichDocument::PlainText() const {
  std::string text;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) text += '\n';
    text += paragraphs[i].PlainText();
  }
  return text;
}

}  // namespace tovuri
