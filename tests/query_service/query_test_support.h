#pragma once
// What the word query tests share: a checker like the desktop program's
// behind the service, and a way to be a client while the service's thread
// keeps answering.
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "analyser/word_check.h"
#include "app/WordQuery.h"
#include "checker/ndebele_spell_config.h"
#include "spell/ox3CustomDictionary.h"
#include "spell/ox3SpellBase.h"

namespace tovuri::testing {

// The editor's verdict as the main window gives it: the framework component
// configured for Ndebele (the shipped Ndebele.oxm beside the programs), then
// the analyser, learning into the active custom dictionary.
class CheckerQueryHandler final : public TWordQueryHandler {
 public:
  CheckerQueryHandler() { ConfigureNdebeleSpell(spell_, TOVURI_BIN_DIR); }
  bool IsWordAcceptable(const std::string& word) override { return spell_.IsWordAcceptable(word); }
  bool IsNdebeleWord(const std::string& word) override {
    ++analysed;
    return tovuri::IsNdebeleWord(word);
  }
  void LearnWord(const std::string& word) override {
    if (TCustomDictionary* custom = spell_.ActiveCustomDictionary()) custom->AddWord(word);
    spell_.ApplyConfiguration(true);
  }

  TOrthexSpell3Base& Spell() { return spell_; }
  int analysed = 0;

 private:
  TOrthexSpell3Base spell_;
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
