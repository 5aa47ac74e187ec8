#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QFile>
#include <QXmlStreamReader>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "../spell/user_dirs.h"
#include "analyser/lexicon.h"
#include "app/dbus/spelling_service.h"
#include "cli/spelling_client.h"
#include "query_test_support.h"
#include "raw_bus.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

const std::string kBusName = "org.tovuri.tovuri";

class SpellingService : public ::testing::Test {
 protected:
  // The analyser's index is built before the first query, which would
  // otherwise wait for it on the service's thread.
  static void SetUpTestSuite() {
    BuildLexicon(TOVURI_BIN_DIR, [](const LexiconWarning&) {});
    PrepareWordCheck();
  }

  void SetUp() override {
    ASSERT_EQ(service_.Start(QDBusConnection::sessionBus(), QString::fromStdString(kBusName)),
              TServiceState::ssRunning);
    EXPECT_TRUE(service_.StatusMessage().isEmpty());
  }

  // Asks the service as another program would, and waits for the answer.
  std::string Ask(const std::string& macro) {
    return WhileServing([&] {
      TSpellingClient client;
      return client.Execute(kBusName, macro).text;
    });
  }

  ScopedUserDirs dirs_;
  CheckerQueryHandler handler_;
  TSpellingService service_{handler_};
};

TEST_F(SpellingService, AnswersAsTheEditorWouldAndLearnsOnlyWhatTheAnalyserAloneAccepts) {
  // "umuntu" is in Ndebele.oxm; "simbona" (we see him) only the analyser accepts.
  EXPECT_EQ(Ask("umuntu"), "Yes umuntu");
  EXPECT_EQ(handler_.analysed, 0);
  EXPECT_EQ(CustomWords(dirs_.Data()), std::vector<std::string>{}) << "a known word changes no dictionary";

  EXPECT_EQ(Ask("qwxz"), "No qwxz");
  EXPECT_EQ(CustomWords(dirs_.Data()), std::vector<std::string>{}) << "a misspelt word changes no dictionary";

  EXPECT_EQ(Ask("simbona"), "Yes simbona");
  EXPECT_EQ(CustomWords(dirs_.Data()), std::vector<std::string>{"simbona"});
  const int analysed = handler_.analysed;
  EXPECT_EQ(Ask("simbona"), "Yes simbona");
  EXPECT_EQ(handler_.analysed, analysed) << "the second query is answered by the dictionaries";

  EXPECT_EQ(Ask(""), "Error");
  EXPECT_EQ(Ask("qwxz\r\numuntu\n"), "No qwxz") << "two lines answer for the first only";
  EXPECT_EQ(Ask("\n"), "No ");
  EXPECT_EQ(Ask("p\xC3\xA9qa"), "No p\xC3\xA9qa");
  EXPECT_EQ(Ask("\xC5\x8B"), "No \xC5\x8B") << "beyond Windows-1252, answered as sent";
  EXPECT_EQ(Ask(std::string(kMaxMacroBytes + 1, 'a')), "Error");
  EXPECT_EQ(CustomWords(dirs_.Data()), std::vector<std::string>{"simbona"});
  EXPECT_EQ(service_.DoesWordExist().toStdString(), "Error");
  EXPECT_FALSE(handler_.off_ui_thread) << "queries run on the thread of the event loop";
}

TEST_F(SpellingService, ReportsEachAnswerThroughThePropertyBeforeItsReply) {
  const auto [seen, property] = WhileServing([] {
    RawBus follower;
    follower.FollowAnswers();
    std::vector<std::string> answers;
    for (const char* word : {"umuntu", "simbona", "qwxz", ""}) {
      const std::string reply = follower.Call(RawBus::NewExecute(kBusName, word));
      // The bus keeps one sender's messages to one receiver in order: the
      // change arrived before the reply.
      const std::vector<std::string> seen = follower.AnswersSeen();
      answers.push_back(seen.empty() ? "(nothing before " + reply + ")" : seen.back());
    }
    const std::string set = follower.Call(RawBus::NewPropertyCall(kBusName, "Set", "DoesWordExist"));
    const std::string get = follower.Call(RawBus::NewPropertyCall(kBusName, "Get", "DoesWordExist"));
    return std::pair(answers, set.substr(0, 6) + "| " + get);
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"Yes umuntu", "Yes simbona", "No qwxz", "Error"}));
  EXPECT_EQ(property, "error | Error") << "read-only, and holding the last answer";
}

// The interface members as (kind name signature access) strings, from
// introspection XML.
std::set<std::string> Members(const QString& xml) {
  std::set<std::string> members;
  QXmlStreamReader reader(xml);
  bool inside = false;
  std::string method;
  while (!reader.atEnd()) {
    reader.readNext();
    const auto attribute = [&](const char* name) { return reader.attributes().value(name).toString().toStdString(); };
    if (reader.isStartElement() && reader.name() == u"interface") inside = attribute("name") == "org.tovuri.Spelling";
    if (!inside || !reader.isStartElement()) continue;
    if (reader.name() == u"method") {
      method = attribute("name");
      members.insert("method " + method);
    } else if (reader.name() == u"arg") {
      members.insert("arg " + method + " " + attribute("type") + " " + attribute("direction"));
    } else if (reader.name() == u"property") {
      members.insert("property " + attribute("name") + " " + attribute("type") + " " + attribute("access"));
    }
  }
  return members;
}

TEST_F(SpellingService, MatchesTheInstalledInterfaceDescription) {
  const std::string live = WhileServing([] {
    RawBus bus;
    return bus.Call(RawBus::NewCall(kBusName, "org.freedesktop.DBus.Introspectable", "Introspect"));
  });
  QFile file(TOVURI_SOURCE_DIR "/src/app/dbus/org.tovuri.Spelling.xml");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::set<std::string> shipped = Members(QString::fromUtf8(file.readAll()));
  EXPECT_EQ(shipped, (std::set<std::string>{"method Execute", "arg Execute s in", "arg Execute s out",
                                            "property DoesWordExist s read"}));
  EXPECT_EQ(Members(QString::fromStdString(live)), shipped) << live;
}

TEST_F(SpellingService, ASecondInstanceStartsWithoutTheServiceAndSaysSo) {
  const QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second");
  CheckerQueryHandler handler;
  TSpellingService second(handler);
  EXPECT_EQ(second.Start(other, QString::fromStdString(kBusName)), TServiceState::ssNameTaken);
  EXPECT_EQ(second.StatusMessage().toStdString(),
            "Word queries go to the Tovuri already running (org.tovuri.tovuri)");
  EXPECT_EQ(Ask("umuntu"), "Yes umuntu");
  EXPECT_EQ(service_.DoesWordExist().toStdString(), "Yes umuntu") << "the first instance answered";
  EXPECT_EQ(second.DoesWordExist().toStdString(), "");
  const std::string unique = other.baseService().toStdString();
  EXPECT_EQ(WhileServing([&] {
              RawBus bus;
              return bus.Call(RawBus::NewCall(unique, "org.tovuri.Spelling", "Execute"));
            }).rfind("error ", 0),
            0u)
      << "the second instance exports nothing";
  QDBusConnection::disconnectFromBus("second");
}

TEST(SpellingServiceStart, ReportsANameAnotherProgramHoldsOrAMissingBus) {
  ScopedUserDirs dirs;
  RawBus holder;
  ASSERT_TRUE(holder.OwnName("org.tovuri.held"));
  CheckerQueryHandler handler;
  TSpellingService service(handler);
  EXPECT_EQ(service.Start(QDBusConnection::sessionBus(), "org.tovuri.held"), TServiceState::ssNameTaken);
  EXPECT_EQ(service.Start(QDBusConnection::sessionBus(), "org.tovuri.free"), TServiceState::ssRunning)
      << "after a failure the service can start under another name";
  EXPECT_EQ(service.Start(QDBusConnection(QString()), "org.tovuri.free"), TServiceState::ssNoBus);
  EXPECT_EQ(service.StatusMessage().toStdString(), "No D-Bus session bus: other programs cannot ask for words");
}

// Runs a shell command; what it printed and its exit status.
std::pair<std::string, int> RunShell(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {out, -1};
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  const int status = pclose(pipe);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST_F(SpellingService, TovuriCheckQueryPrintsEachAnswerOnItsOwnLine) {
  const std::string tool = std::string(TOVURI_BIN_DIR) + "/tovuri-check";
  const struct {
    std::string arguments;
    std::string out;
    int status;
  } cases[] = {
      {"--query umuntu simbona", "Yes umuntu\nYes simbona\n", 0},
      {"--query umuntu qwxz 'p\xC3\xA9qa'", "Yes umuntu\nNo qwxz\nNo p\xC3\xA9qa\n", 1},
      {"--service tovuri --query inja", "Yes inja\n", 0},
      {"--service org.tovuri.tovuri --query $(printf 'ng\\341')", "No ng\xC3\xA1\n", 1},
      {"--service org.tovuri.elsewhere --query umuntu 2>&1",
       "tovuri-check: Tovuri is not running (nothing owns org.tovuri.elsewhere on the session bus)\n", 1},
      {"--service other --query umuntu 2>&1",
       "tovuri-check: Tovuri is not running (nothing owns org.tovuri.other on the session bus)\n", 1},
  };
  for (const auto& c : cases) {
    const auto [out, status] = WhileServing([&] { return RunShell(tool + " " + c.arguments); });
    EXPECT_EQ(out, c.out) << c.arguments;
    EXPECT_EQ(status, c.status) << c.arguments;
  }
  EXPECT_EQ(CustomWords(dirs_.Data()), std::vector<std::string>{"simbona"});
}

}  // namespace
}  // namespace tovuri
