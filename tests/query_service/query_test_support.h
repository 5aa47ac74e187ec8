#pragma once
// What the word query tests share: a checker like the desktop program's
// behind the service, and a way to be a client while the service's thread
// keeps answering.
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "analyser/word_check.h"
#include "app/dbus/spell_word_queries.h"
#include "checker/ndebele_spell_config.h"
#include "spell/ox3CustomDictionary.h"
#include "spell/ox3SpellBase.h"

namespace tovuri::testing {

// The main window's answers to queries over a checker component of the
// test's own, configured as the window's (the shipped Ndebele.oxm beside the
// programs), counting the words it analyses.
class CheckerQueryHandler final : public TWordQueryHandler {
 public:
  CheckerQueryHandler() { ConfigureNdebeleSpell(spell_, TOVURI_BIN_DIR); }
  bool Query(const std::string& word, const std::function<void(bool)>& answer) override {
    off_ui_thread = off_ui_thread || QThread::currentThread() != QCoreApplication::instance()->thread();
    return queries_.Query(word, answer);
  }

  TOrthexSpell3Base& Spell() { return spell_; }
  int analysed = 0;
  bool off_ui_thread = false;  // a query reached the checker on another thread

 private:
  TOrthexSpell3Base spell_;
  TNdebeleChecker checker_{spell_, TLearning::lnLearnAndReopen, [this](std::string_view word) {
                             ++analysed;
                             return tovuri::IsNdebeleWord(word);
                           }};
  TSpellWordQueries queries_{checker_};
};

// The words of the user's custom dictionary file, as the next run would read them.
inline std::vector<std::string> CustomWords(const std::filesystem::path& data_home) {
  TCustomDictionary custom;
  const std::filesystem::path file = data_home / "Tovuri" / "Ndebele.oxu";
  std::vector<std::string> words;
  if (!std::filesystem::exists(file) || !custom.Open(file.string())) return words;
  for (int i = 0; i < custom.AddedWordCount(); ++i) words.push_back(custom.AddedWordAt(i));
  return words;
}

// Runs work on a thread of its own while this thread's event loop runs (the
// service answers from it), and returns what the work returned.
template <class Work>
auto WhileServing(Work work) {
  QEventLoop loop;
  std::atomic<bool> done = false;
  decltype(work()) result{};
  std::thread client([&] {
    result = work();
    done = true;
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  if (!done) loop.exec();
  client.join();
  return result;
}

}  // namespace tovuri::testing
