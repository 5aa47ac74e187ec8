#pragma once
// What the widget tests share: a checker component over its own small
// dictionaries in a temporary home, and an editor shown offscreen.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/ox3RichEdit.h"
#include "spell_test_support.h"

namespace tovuri::testing {

// The editor's live spelling with a component that knows only `words`.
class LiveEditorFixture : public ::testing::Test {
 protected:
  void SetUpSpell(const std::vector<std::string>& words,
                  TSpellOptions options = {TSpellOption::soLiveSpelling, TSpellOption::soLiveCorrect}) {
    folder_ = home_.Folder("dicts");
    WriteMainDictionary(folder_ / "Test.oxm", words);
    Configure(spell_, folder_, options);
    spell_.ConfigAvailableOptions = TSpellOptions::FromBits(0x3FF);
  }
  void ShowEditor() {
    editor_ = std::make_unique<TOrthexRichEdit>();
    editor_->resize(480, 200);
    QFont font("DejaVu Sans");
    font.setPixelSize(16);
    editor_->setFont(font);
    editor_->SetOrthexSpell(&spell_);
    editor_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor_.get()));
  }
  // Paints the editor now, so the live editor checks its visible lines.
  QImage Grab() {
    QApplication::processEvents();
    return editor_->viewport()->grab().toImage();
  }
  std::string Text() const { return editor_->toPlainText().toStdString(); }
  // The spans of the line's recorded misspelt words.
  std::vector<std::pair<int, int>> SpansOf(int line) const {
    std::vector<std::pair<int, int>> spans;
    if (const TLineCache* cache = editor_->LiveEditor().LineCache(line))
      for (const TSpellingError& e : cache->Errors) spans.push_back({e.Start, e.End});
    return spans;
  }

  TempHome home_;
  fs::path folder_;
  TOrthexSpell3 spell_;
  std::unique_ptr<TOrthexRichEdit> editor_;
};

// Red pixels of an image in the columns [x0, x1), rows [y0, y1).
inline int RedPixels(const QImage& image, int x0, int x1, int y0, int y1) {
  int count = 0;
  for (int y = std::max(y0, 0); y < std::min(y1, image.height()); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, image.width()); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++count;
    }
  return count;
}

}  // namespace tovuri::testing
