// Repainting the live-spelling editor over a 100,000-word document with
// misspelt words, on Qt's offscreen platform: a full screen from the line
// caches, a full screen rechecked, a typed character, and a page scrolled.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "app/ui/ox3RichEdit.h"
#include "spell/ox3DictionaryCompiler.h"
#include "spell/ox3Spell.h"

namespace tovuri {
namespace {

constexpr int kWords = 100000;

// A document of kWords words, one in ten misspelt, in paragraphs of 60 words.
struct Document {
  std::vector<std::string> known;
  QString text;
  Document() {
    const char* stems[] = {"hamba", "funda", "pheka", "bona", "thanda", "sebenza", "dlala", "lala"};
    const char* prefixes[] = {"uya", "siya", "baya", "ngiya", "liya", "ziya"};
    for (const char* p : prefixes)
      for (const char* s : stems) known.push_back(std::string(p) + s);
    std::string body;
    for (int i = 0; i < kWords; ++i) {
      std::string word = known[static_cast<size_t>(i * 7 % static_cast<int>(known.size()))];
      if (i % 10 == 3) word += "x";  // misspelt
      body += word;
      body += (i % 60 == 59) ? ".\n" : " ";
    }
    text = QString::fromStdString(body);
  }
};

struct Editor {
  QTemporaryDir folder;
  TOrthexSpell3 spell;
  std::unique_ptr<TOrthexRichEdit> widget;

  Editor() {
    static const Document document;
    const std::string dir = folder.path().toStdString();
    std::ofstream(dir + "/Test.oxm", std::ios::binary) << CompileMainDictionary(document.known, "Bench", 0).bytes;
    qputenv("XDG_CONFIG_HOME", (folder.path() + "/config").toLocal8Bit());
    spell.PathMacros().SetAppDir(dir);
    spell.SetConfigStorage(TConfigStorage::csNone);
    spell.SetConfigID("Bench");
    spell.SetConfigDictionaryDir({dir});
    spell.SetConfigDefaultMain({"Test.oxm"});
    spell.SetSuggestionsLearning(false);
    widget = std::make_unique<TOrthexRichEdit>();
    widget->resize(1000, 800);
    widget->SetOrthexSpell(&spell);
    widget->setPlainText(document.text);
    widget->show();
    QApplication::processEvents();
    QScrollBar* bar = widget->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    widget->viewport()->repaint();
  }
  int VisibleErrors() {
    int errors = 0;
    const int first = widget->FirstVisibleLine();
    for (int line = first; line < first + 60; ++line)
      if (const TLineCache* cache = widget->LiveEditor().LineCache(line)) errors += static_cast<int>(cache->Errors.size());
    return errors;
  }
};

void BM_RepaintFullScreenFromCache(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) editor.widget->viewport()->repaint();
  state.counters["underlined"] = editor.VisibleErrors();
}
BENCHMARK(BM_RepaintFullScreenFromCache)->Unit(benchmark::kMicrosecond);

// The same screen without live spelling: what Qt's own painting costs.
void BM_RepaintFullScreenWithoutLiveSpelling(benchmark::State& state) {
  Editor editor;
  editor.widget->SetLiveSpelling(false);
  for (auto _ : state) editor.widget->viewport()->repaint();
}
BENCHMARK(BM_RepaintFullScreenWithoutLiveSpelling)->Unit(benchmark::kMicrosecond);

void BM_RepaintFullScreenRechecked(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) {
    editor.widget->LiveEditor().InvalidateAll();
    editor.widget->viewport()->repaint();
  }
  state.counters["underlined"] = editor.VisibleErrors();
}
BENCHMARK(BM_RepaintFullScreenRechecked)->Unit(benchmark::kMicrosecond);

void BM_TypeACharacter(benchmark::State& state) {
  Editor editor;
  const int line = editor.widget->FirstVisibleLine() + 10;
  const int at = editor.widget->LineIndex(line) + 5;
  for (auto _ : state) {
    editor.widget->SetSelection(at, at);
    editor.widget->ReplaceSelection("a");
    editor.widget->viewport()->repaint();
    editor.widget->SetSelection(at, at + 1);
    editor.widget->ReplaceSelection("");
    editor.widget->viewport()->repaint();
  }
  state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_TypeACharacter)->Unit(benchmark::kMicrosecond);

void BM_ScrollAPage(benchmark::State& state) {
  Editor editor;
  QScrollBar* bar = editor.widget->verticalScrollBar();
  bar->setValue(0);
  for (auto _ : state) {
    // Fresh lines every page until the end, then around again from the top.
    const int next = bar->value() + bar->pageStep();
    bar->setValue(next > bar->maximum() ? 0 : next);
    editor.widget->viewport()->repaint();
  }
}
BENCHMARK(BM_ScrollAPage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tovuri

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
