// The desktop window's responsiveness: time from start to the window shown,
// and the longest the user-interface thread is kept from its events during
// start-up and during a whole background pass over a 5,000-word text.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <QApplication>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "app/main_window.h"
#include "spell/ox3Encoding.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace tovuri;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A home folder of the benchmark's own, so no real settings or dictionaries are touched.
class BenchHome {
 public:
  BenchHome() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) root_ = pattern;
    setenv("HOME", root_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / ".local/share").c_str(), 1);
  }
  ~BenchHome() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  // Forgets the learnt words and settings, so each run starts as a first run.
  void Reset() {
    std::error_code ignored;
    fs::remove_all(root_ / ".config", ignored);
    fs::remove_all(root_ / ".local", ignored);
  }
  const fs::path& Root() const { return root_; }

 private:
  fs::path root_;
};

BenchHome& Home() {
  static BenchHome home;
  return home;
}

class CollectingSink final : public FormSink {
 public:
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override {
    std::string form;
    for (std::string_view piece : pieces) form += piece;
    forms.push_back(std::move(form));
  }
  std::vector<std::string> forms;
};

// A fixed text of 5,000 words, 12 a line, as a writer's text mixes them: six
// in ten from the main word list, three in ten inflected forms of lexicon
// verbs and nouns (most of which only the analyser knows), one in ten a word
// with one letter changed.
fs::path FixedText() {
  const fs::path path = Home().Root() / "ndebele-5000.txt";
  if (fs::exists(path)) return path;
  std::vector<std::string> known;
  std::ifstream list(std::string(TOVURI_SOURCE_DATA_DIR) + "/wordlist.txt");
  for (std::string line; std::getline(list, line);)
    if (!line.empty() && line[0] != ';') known.push_back(line);
  BuildLexicon(std::string(TOVURI_BIN_DIR), {});
  const Lexicon& lexicon = TheLexicon();
  std::mt19937 random(5000);
  const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  std::ofstream out(path);
  for (int i = 0; i < 5000; ++i) {
    const unsigned kind = random() % 10;
    std::string word;
    if (kind < 6) {
      word = known[pick(known.size())];
    } else if (kind < 9) {
      for (int tries = 0; tries < 20 && word.empty(); ++tries) {
        const size_t e = pick(lexicon.size());
        if (lexicon.LexClass[e] != "verb" && lexicon.LexClass[e].rfind("n", 0) != 0) continue;
        CollectingSink sink;
        GenerateFormsForTag(lexicon.LexClass[e], lexicon.LexPrefix[e], lexicon.LexStem[e], lexicon.LexFinal[e],
                            lexicon.LexInfo[e], sink);
        if (!sink.forms.empty()) word = Windows1252ToUtf8(sink.forms[pick(sink.forms.size())]);
      }
      if (word.empty()) word = known[pick(known.size())];
    } else {
      word = known[pick(known.size())];
      word[pick(word.size())] = static_cast<char>('a' + pick(26));
    }
    out << word << (i % 12 == 11 ? "\n" : " ");
  }
  return path;
}

// The user-interface thread's own CPU time, which the machine's other load does not inflate.
Clock::duration ThreadCpu() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// The longest time between two turns of the event loop while condition
// holds true, in milliseconds: by the wall clock, and by the user-interface
// thread's CPU time spent in that gap.
struct Stall {
  double wall_ms = 0;
  double cpu_ms = 0;
  void Merge(const Stall& other) {
    wall_ms = std::max(wall_ms, other.wall_ms);
    cpu_ms = std::max(cpu_ms, other.cpu_ms);
  }
};

template <typename Condition>
Stall LongestStall(Condition running, std::chrono::seconds limit) {
  const Clock::time_point end = Clock::now() + limit;
  Clock::duration wall{}, cpu{};
  Clock::time_point last = Clock::now();
  Clock::duration last_cpu = ThreadCpu();
  while (running() && Clock::now() < end) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    const Clock::time_point now = Clock::now();
    const Clock::duration now_cpu = ThreadCpu();
    wall = std::max(wall, now - last);
    cpu = std::max(cpu, now_cpu - last_cpu);
    last = now;
    last_cpu = now_cpu;
  }
  return Stall{Ms(wall), Ms(cpu)};
}

// Start to the window shown (lexicon loaded, component configured, first
// paint), then the longest stall while the engine thread builds the word
// check index and the checker waits.
void BM_WindowShown(benchmark::State& state) {
  Stall longest;
  double shown_cpu_ms = 0;
  for (auto _ : state) {
    Home().Reset();
    TNdebeleEngine engine;
    const Clock::duration start_cpu = ThreadCpu();
    const Clock::time_point start = Clock::now();
    auto window = std::make_unique<TSpellingDlg>(engine, std::string(TOVURI_BIN_DIR));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) state.SkipWithError("window not shown");
    QApplication::processEvents();
    const Clock::time_point shown = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    shown_cpu_ms = std::max(shown_cpu_ms, Ms(ThreadCpu() - start_cpu));
    longest.Merge(LongestStall([&] { return !engine.Suspended(); }, std::chrono::seconds(60)));
  }
  state.counters["shown_cpu_ms"] = shown_cpu_ms;
  state.counters["stall_wall_ms"] = longest.wall_ms;
  state.counters["stall_cpu_ms"] = longest.cpu_ms;
}
BENCHMARK(BM_WindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// One background pass over the fixed text, driven by the window's own timer,
// from a fresh custom dictionary: every tick, every learnt word's reopening of
// the dictionaries and every repaint runs between two turns of the loop.
void BM_BackgroundPass(benchmark::State& state) {
  const fs::path text = FixedText();
  Stall longest;
  int handed_over = 0;
  for (auto _ : state) {
    Home().Reset();
    TNdebeleEngine engine;
    TSpellingDlg window(engine, std::string(TOVURI_BIN_DIR));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not shown");
    LongestStall([&] { return !engine.Suspended(); }, std::chrono::seconds(60));  // the index is built
    window.OpenFile(QString::fromStdString(text.string()), TFileFormat::ffPlainText);
    window.Checker().SetCheckState(TCheckState::csStartPass);
    const Clock::time_point start = Clock::now();
    longest.Merge(
        LongestStall([&] { return window.Checker().CheckState() != TCheckState::csIdle; }, std::chrono::seconds(600)));
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    handed_over = window.Checker().WordsHandedOver();
  }
  state.counters["stall_wall_ms"] = longest.wall_ms;
  state.counters["stall_cpu_ms"] = longest.cpu_ms;
  state.counters["words_analysed"] = handed_over;
}
BENCHMARK(BM_BackgroundPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Home();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
