#pragma once
// Moves a RichDocument into and out of the editor's QTextDocument.
#include <QTextDocument>

#include "richtext/rich_document.h"

namespace tovuri {

// Replaces the document's text with the paragraphs and their formats.
void SetRichDocument(QTextDocument& document, const RichDocument& rich);
// The document's paragraphs with their character formats.
RichDocument GetRichDocument(const QTextDocument& document);

}  // namespace tovuri
