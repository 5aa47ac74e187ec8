#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../spell/user_dirs.h"
#include "app/shell/NdebeleEngineThread.h"
#include "app/main_window.h"
#include "cli/spelling_client.h"
#include "query_test_support.h"
#include "raw_bus.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Spins the event loop until the condition holds or the time is up.
template <class Condition>
bool WaitFor(Condition condition, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!condition() && timer.elapsed() < timeout_ms) QTest::qWait(20);
  return condition();
}

class MainWindowQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<TSpellingDlg>(engine_, TOVURI_BIN_DIR);
    // The worker builds the analyser's index first; a query would wait for it.
    ASSERT_TRUE(WaitFor([&] { return engine_.Suspended(); }, 300000));
    ASSERT_EQ(window_->ServeWordQueries(QDBusConnection::sessionBus(), QString::fromStdString(bus_name_)),
              TServiceState::ssRunning);
    EXPECT_EQ(window_->StatusText().toStdString(), TSpellingDlg::kWelcome);
  }

  const std::string bus_name_ = SpellingBusNameForThisProgram().toStdString();
  ScopedUserDirs dirs_;
  TNdebeleEngine engine_;
  std::unique_ptr<TSpellingDlg> window_;
};

TEST_F(MainWindowQueries, AreAnsweredAsTheEditorWouldAndTeachTheEditor) {
  const std::vector<std::string> answers = WhileServing([&] {
    TSpellingClient client;
    std::vector<std::string> answers;
    for (const char* macro : {"umuntu", "simbona", "simbona", "qwxz", "", "inja\r\nqwxz"})
      answers.push_back(client.Execute(bus_name_, macro).text);
    return answers;
  });
  EXPECT_EQ(answers, (std::vector<std::string>{"Yes umuntu", "Yes simbona", "Yes simbona", "No qwxz", "Error",
                                               "Yes inja"}));
  EXPECT_EQ(window_->SpellingService().DoesWordExist().toStdString(), "Yes inja");
  EXPECT_TRUE(window_->Spell().IsWordAcceptable("simbona")) << "the editor knows the learnt word";
  EXPECT_EQ(CustomWords(dirs_.Data()), std::vector<std::string>{"simbona"});
}

TEST_F(MainWindowQueries, AnswerNoForAWordTheUserExcludedAsTheEditorUnderlinesIt) {
  ASSERT_NE(window_->Spell().ActiveCustomDictionary(), nullptr);
  // umama is in the main dictionary; simbona is known only to the analyser.
  for (const char* word : {"umama", "simbona"}) ASSERT_TRUE(window_->Spell().ActiveCustomDictionary()->AddExcluded(word));
  const std::vector<std::string> answers = WhileServing([&] {
    TSpellingClient client;
    return std::vector<std::string>{client.Execute(bus_name_, "umama").text, client.Execute(bus_name_, "simbona").text,
                                    client.Execute(bus_name_, "Dvo\xC5\x99\xC3\xA1k").text};
  });
  EXPECT_EQ(answers, (std::vector<std::string>{"No umama", "No simbona", "No Dvo\xC5\x99\xC3\xA1k"}));
  EXPECT_TRUE(CustomWords(dirs_.Data()).empty()) << "nothing learnt";
  std::vector<std::string> suggestions;
  window_->Spell().GetSuggestions("umamaa", suggestions);
  EXPECT_EQ(std::count(suggestions.begin(), suggestions.end(), "umama"), 0) << ::testing::PrintToString(suggestions);
}

TEST_F(MainWindowQueries, LeaveTheWindowResponsiveAndItsDictionariesIntactAfterAFlood) {
  const std::string main_dictionary = std::string(TOVURI_BIN_DIR) + "/Ndebele.oxm";
  const std::string main_bytes = FileBytes(main_dictionary);
  // The background checker works through this text while the queries come.
  const std::string text = dirs_.Root() / "text.txt";
  std::ofstream(text) << "Umuntu sibabona qwxz bayambona zzzq inja.\n";
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(text), TFileFormat::ffPlainText));

  const auto [wrong, flood_errors, answered_ms] = WhileServing([&] {
    TSpellingClient client;
    int wrong = 0;
    const char* words[] = {"umuntu", "simbona", "qwxz", "abantu", "Umuntu", "inja"};
    const char* expected[] = {"Yes umuntu", "Yes simbona", "No qwxz", "Yes abantu", "Yes Umuntu", "Yes inja"};
    for (int i = 0; i < 10000; ++i)
      if (client.Execute(bus_name_, words[i % 6]).text != expected[i % 6]) ++wrong;

    RawBus flood;
    const std::string huge(1 << 20, 'x');
    std::string binary;
    for (int c = 1; c < 128; ++c) binary += static_cast<char>(c);
    const unsigned char bytes[] = {0, 1, 0xFF, 0xC3};
    const unsigned char* bytes_pointer = bytes;
    const int number = 7;
    const char* two[] = {"umuntu", "inja"};
    for (int round = 0; round < 20; ++round) {
      flood.Send(RawBus::NewExecute(bus_name_, huge));
      flood.Send(RawBus::NewExecute(bus_name_, binary));
      flood.Send(RawBus::NewExecute(bus_name_, ""));
      flood.Send(RawBus::NewCall(bus_name_, "org.tovuri.Spelling", "Execute"));  // no argument
      DBusMessage* call = RawBus::NewCall(bus_name_, "org.tovuri.Spelling", "Execute");
      dbus_message_append_args(call, DBUS_TYPE_INT32, &number, DBUS_TYPE_INVALID);
      flood.Send(call);
      call = RawBus::NewCall(bus_name_, "org.tovuri.Spelling", "Execute");
      dbus_message_append_args(call, DBUS_TYPE_ARRAY, DBUS_TYPE_BYTE, &bytes_pointer, 4, DBUS_TYPE_INVALID);
      flood.Send(call);
      call = RawBus::NewCall(bus_name_, "org.tovuri.Spelling", "Execute");
      dbus_message_append_args(call, DBUS_TYPE_STRING, &two[0], DBUS_TYPE_STRING, &two[1], DBUS_TYPE_INVALID);
      flood.Send(call);
      flood.Send(RawBus::NewPropertyCall(bus_name_, "Set", "DoesWordExist"));
      flood.Send(RawBus::NewCall(bus_name_, "org.tovuri.Spelling", "Destroy"));
      flood.Send(RawBus::NewCall(bus_name_, "org.tovuri.Spelling", "Execute", "/Elsewhere"));
    }
    const int errors = flood.Drain() + 1000 * flood.Unanswered();

    const auto start = std::chrono::steady_clock::now();
    const std::string answer = client.Execute(bus_name_, "umuntu").text;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (answer != "Yes umuntu") ++wrong;
    return std::tuple(wrong, errors, std::chrono::duration<double, std::milli>(elapsed).count());
  });
  EXPECT_EQ(wrong, 0);
  // Of each round's ten, the three macros are answered; the bus layer turns
  // the other seven away with an error.
  EXPECT_EQ(flood_errors, 20 * 7);
  EXPECT_LT(answered_ms, 100.0) << "a query after the flood";

  EXPECT_TRUE(WaitFor([&] { return window_->Spell().IsWordAcceptable("bayambona"); }, 20000))
      << "the background checker went on between the queries";
  EXPECT_EQ(FileBytes(main_dictionary), main_bytes);
  std::vector<std::string> learnt = CustomWords(dirs_.Data());
  std::sort(learnt.begin(), learnt.end());
  EXPECT_EQ(learnt, (std::vector<std::string>{"bayambona", "sibabona", "simbona"}));
  EXPECT_FALSE(window_->Spell().IsWordAcceptable("qwxz"));
  EXPECT_EQ(window_->Editor().toPlainText().toStdString(), "Umuntu sibabona qwxz bayambona zzzq inja.\n");
}

TEST_F(MainWindowQueries, ASecondWindowRunsWithoutTheServiceAndSaysSoInItsStatusBar) {
  // A window loads the lexicon again, so the first window's worker must be
  // done preparing the analyser from the old one (it is, since SetUp).
  TNdebeleEngine engine;
  {
    TSpellingDlg second(engine, TOVURI_BIN_DIR);
    EXPECT_EQ(second.ServeWordQueries(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second"),
                                      QString::fromStdString(bus_name_)),
              TServiceState::ssNameTaken);
    EXPECT_EQ(second.StatusText().toStdString(),
              "Word queries go to the Tovuri already running (" + bus_name_ + ")");
    EXPECT_EQ(WhileServing([&] { return TSpellingClient().Execute(bus_name_, "umuntu").text; }), "Yes umuntu");
    EXPECT_EQ(window_->SpellingService().DoesWordExist().toStdString(), "Yes umuntu");
  }
  // The window goes before its connection, as in the program: a connection
  // torn down in Qt's D-Bus thread must not meet a window being destroyed.
  QDBusConnection::disconnectFromBus("second");
}

// The installed program, started as a user would, asked by tovuri-check.
TEST(TovuriProgram, AnswersTovuriCheckQueriesAndASecondInstanceLeavesItTheName) {
  ScopedUserDirs dirs;
  const QString bin = TOVURI_BIN_DIR;
  QProcess first, second;
  first.start(bin + "/tovuri", {});
  ASSERT_TRUE(first.waitForStarted());
  const bool up = WhileServing([] {
    for (int i = 0; i < 200; ++i) {
      if (TSpellingClient().Execute("org.tovuri.tovuri", "umuntu").status == TQueryStatus::qsAnswered) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  });
  ASSERT_TRUE(up) << "the program took its bus name";
  second.start(bin + "/tovuri", {});
  ASSERT_TRUE(second.waitForStarted());
  const std::string tool = std::string(TOVURI_BIN_DIR) + "/tovuri-check";
  const auto [out, status] = WhileServing([&] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::string out;
    FILE* pipe = popen((tool + " --query umuntu simbona qwxz").c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return std::pair(out, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  });
  EXPECT_EQ(out, "Yes umuntu\nYes simbona\nNo qwxz\n");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(second.state(), QProcess::Running) << "the second instance runs on without the service";
  for (QProcess* program : {&second, &first}) {
    program->terminate();
    EXPECT_TRUE(program->waitForFinished(10000));
  }
  EXPECT_EQ(CustomWords(dirs.Data()), std::vector<std::string>{"simbona"});
}

}  // namespace
}  // namespace tovuri
