// tovuri: the desktop spelling checker for Ndebele.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "analyser/lexicon.h"
#include "app/shell/program_key.h"
#include "app/shell/NdebeleEngineThread.h"
#include "app/main_window.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: tovuri [--data DIR] [FILE]\n"
    "\n"
    "The Ndebele spelling checker's window, with FILE opened (\".rtf\" files as\n"
    "rich text, others as plain text).\n"
    "\n"
    "Options:\n"
    "  --data DIR   read dictionary.txt, passives.txt and Ndebele.oxm from DIR\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Exit status: 0 done, 2 bad usage, 3 no display to show the window on.\n";

constexpr int kExitUsage = 2;
constexpr int kExitNoDisplay = 3;

struct Arguments {
  std::string data_dir;
  std::optional<std::string> file;
};

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "tovuri: %s\n\n%.*s", problem.c_str(), static_cast<int>(kUsage.size()), kUsage.data());
  return kExitUsage;
}

// Without an explicit platform, Qt needs an X or Wayland display; saying so
// beats the toolkit's own abort.
bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && arg == "--help") {
      std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
      return 0;
    } else if (!options_ended && arg == "--version") {
      std::printf("%s\n", tovuri::TSpellingDlg::kCaption);
      return 0;
    } else if (!options_ended && arg == "--data") {
      if (++i == argc) return UsageError("--data needs a directory");
      arguments.data_dir = argv[i];
    } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + std::string(arg));
    } else if (arguments.file) {
      return UsageError("give at most one file");
    } else {
      arguments.file = std::string(arg);
    }
  }
  if (!HasDisplay()) {
    std::fprintf(stderr, "tovuri: no display to show the window on (DISPLAY is not set)\n");
    return kExitNoDisplay;
  }

  // Start-up before the window: the program's key, then the engine thread,
  // idle until the window hands it work.
  tovuri::EnsureProgramKey();
  tovuri::TNdebeleEngine engine;

  QApplication app(argc, argv);
  QApplication::setApplicationName("Tovuri");
  QApplication::setWindowIcon(
      QIcon::fromTheme("tovuri", QIcon(QString::fromStdString(tovuri::ProgramDir() + "tovuri.svg"))));
  tovuri::TSpellingDlg window(engine, arguments.data_dir);
  window.ServeWordQueries(QDBusConnection::sessionBus(), tovuri::SpellingBusNameForThisProgram());
  window.show();
  if (arguments.file) {
    const QString file = QString::fromLocal8Bit(arguments.file->c_str());
    window.OpenFile(file, file.endsWith(".rtf", Qt::CaseInsensitive) ? tovuri::TFileFormat::ffRichText
                                                                      : tovuri::TFileFormat::ffPlainText);
  }
  return app.exec();
}
