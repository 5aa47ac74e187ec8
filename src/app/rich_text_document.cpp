#include "app/rich_text_document.h"

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <cmath>

namespace tovuri {
namespace {

QTextCharFormat ToQt(const CharFormat& format) {
  QTextCharFormat qt;
  qt.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
  qt.setFontItalic(format.italic);
  qt.setFontUnderline(format.underline);
  if (!format.font.empty()) qt.setFontFamilies(QStringList{QString::fromStdString(format.font)});
  if (format.half_points > 0) qt.setFontPointSize(format.half_points / 2.0);
  if (format.colour) qt.setForeground(QColor(format.colour->red, format.colour->green, format.colour->blue));
  return qt;
}

CharFormat FromQt(const QTextCharFormat& qt) {
  CharFormat format;
  format.bold = qt.fontWeight() >= QFont::Bold;
  format.italic = qt.fontItalic();
  format.underline = qt.fontUnderline();
  const QStringList families = qt.fontFamilies().toStringList();
  if (!families.isEmpty()) format.font = families.front().toStdString();
  if (qt.fontPointSize() > 0) format.half_points = static_cast<int>(std::lround(qt.fontPointSize() * 2));
  if (qt.hasProperty(QTextFormat::ForegroundBrush) && qt.foreground().style() != Qt::NoBrush) {
    const QColor c = qt.foreground().color();
    format.colour = Colour{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                           static_cast<std::uint8_t>(c.blue())};
  }
  return format;
}

// Twips (1/1440 inch) as the layout's pixels (1/96 inch) and back.
constexpr double kTwipsPerPixel = 15.0;

QTextBlockFormat BlockFormat(const Paragraph& paragraph) {
  QTextBlockFormat format;
  format.setTopMargin(paragraph.space_before / kTwipsPerPixel);
  format.setBottomMargin(paragraph.space_after / kTwipsPerPixel);
  if (!paragraph.tab_stops.empty()) {
    QList<QTextOption::Tab> tabs;
    for (const int stop : paragraph.tab_stops) tabs.append(QTextOption::Tab(stop / kTwipsPerPixel, QTextOption::LeftTab));
    format.setTabPositions(tabs);
  }
  return format;
}

int ToTwips(double pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

}  // namespace

void SetRichDocument(QTextDocument& document, const RichDocument& rich) {
  document.clear();
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  for (size_t i = 0; i < rich.paragraphs.size(); ++i) {
    const QTextBlockFormat format = BlockFormat(rich.paragraphs[i]);
    if (i > 0)
      cursor.insertBlock(format);
    else
      cursor.setBlockFormat(format);
    for (const TextRun& run : rich.paragraphs[i].runs)
      cursor.insertText(QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size())),
                        ToQt(run.format));
  }
  cursor.endEditBlock();
}

RichDocument GetRichDocument(const QTextDocument& document) {
  RichDocument rich;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    Paragraph paragraph;
    const QTextBlockFormat format = block.blockFormat();
    paragraph.space_before = ToTwips(format.topMargin());
    paragraph.space_after = ToTwips(format.bottomMargin());
    for (const QTextOption::Tab& tab : format.tabPositions()) paragraph.tab_stops.push_back(ToTwips(tab.position));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.isValid())
        paragraph.Append(fragment.text().toStdString(), FromQt(fragment.charFormat()));
    }
    rich.paragraphs.push_back(std::move(paragraph));
  }
  return rich;
}

}  // namespace tovuri
