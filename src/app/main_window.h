#pragma once
// The program's main window: the live-spelling editor above a one-panel
// status bar, the menu's commands, the checker component with the Ndebele
// analyser behind its word check event, and the timer that drives the
// background checker.
#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/background_checker.h"
#include "app/shell/NdebeleEngineThread.h"
#include "app/dbus/spell_word_queries.h"
#include "app/dbus/spelling_service.h"
#include "app/ui/ox3RichEdit.h"
#include "app/ui/ox3SpellUserInterface.h"
#include "common/version.h"
#include "richtext/text_file.h"
#include "spell/ox3Spell.h"

class QAction;
class QLabel;
class QUrl;

namespace tovuri {

// How a file is read into the editor and written back.
enum class TFileFormat : unsigned char { ffRichText, ffPlainText };

class TSpellingDlg : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Tovuri " TOVURI_VERSION;
  static constexpr const char* kWelcome = "Welcome to Tovuri, a spelling checker for the Ndebele language";

  // The engine thread is made before the window and stopped by it. data_dir
  // holds the lexicon and the shipped dictionaries (ProgramDir() when empty).
  // Creating the window loads the lexicon; its warnings are message boxes.
  TSpellingDlg(TNdebeleEngine& engine, const std::string& data_dir, QWidget* parent = nullptr);
  ~TSpellingDlg() override;

  // Clears the editor and loads a file into it in the given format; a file
  // the rich-text reader gives no lines for is shown as plain text. A file
  // that cannot be read is reported in a message box; false then.
  bool OpenFile(const QString& path, TFileFormat format);
  // Writes the editor's text in its current format; the old file stays
  // whole when that fails, which is reported in a message box.
  bool SaveFile(const QString& path);
  // Whether the editor holds plain text (else rich text).
  bool IsPlainText() const { return plain_text_; }
  // The text changed since it was opened or saved.
  bool HasUnsavedChanges() const;
  // The file the text was opened from or last saved to; empty for a new text.
  QString FileName() const { return file_name_; }
  // What the RTF reader passed over in the opened file (pictures, footnotes
  // and the like), which saving over it would lose.
  const std::vector<std::string>& SkippedContent() const { return skipped_; }
  // Opens a URL in the user's browser; false when none could be started.
  std::function<bool(const QUrl&)> OpenInBrowser;

  // Answers other programs' word queries on the bus under the given name
  // (the program's start-up asks for it; tests may use a bus of their own).
  TServiceState ServeWordQueries(const QDBusConnection& bus, const QString& bus_name);

  void ShowStatus(const QString& text);
  QString StatusText() const;

  TOrthexRichEdit& Editor() { return *OrthexRichEdit1; }
  TOrthexSpell3& Spell() { return OrthexSpell1; }
  TNdebeleChecker& Ndebele() { return ndebele_; }
  TBackgroundChecker& Checker() { return *checker_; }
  QTimer& Timer() { return Timer1; }
  TSpellingService& SpellingService() { return Spelling; }

  // The menu's commands.
  void Openfile1Click();
  bool Savefile1Click();
  void Exit1Click();
  void Spelling1Click();
  void Wordcount1Click();
  void Configure1Click();
  void Help2Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu();
  void FormCreate();
  void OrthexRichEdit1Change();
  void ShowFileInTitle();
  // Whether the text may be written over path: saving over an RTF file whose
  // skipped content would be lost asks first, offering Save As instead.
  enum class TOverwrite : unsigned char { owWrite, owSaveAs, owCancel };
  TOverwrite MayOverwrite(const QString& path);
  // The Help window that shows the guide when no browser does.
  void ShowGuideWindow(const QString& guide);
  // Asks whether to save changed text; false when the user cancels.
  bool MaySaveChanges();
  void SetPlainText(bool plain);
  // A Windows-1252 text in the status bar.
  void ShowAnsiStatus(const std::string& text);
  // The component's word check event: the checker decides, the status bar says what it did.
  void OrthexSpellWordCheck(const std::string& word, TWordCheckType& type);
  // A custom dictionary whose changes could not be written: said in the
  // status bar, and in a message box once for each new failure.
  void TellSaveFailed(const std::string& file, const std::string& reason);
#ifdef TOVURI_DEVELOPER_TOOLS
  void TestButtonClick();
  void RejectsButtonClick();
#endif

  TNdebeleEngine& engine_;
  std::string data_dir_;
  QString last_save_failure_;
  TOrthexSpell3 OrthexSpell1;
  // Word queries from other programs, answered as the editor would.
  TNdebeleChecker ndebele_;  // decides the words the dictionaries lack
  TSpellWordQueries word_queries_;
  TSpellingService Spelling;
  // The spelling dialog, message boxes and standard dialogs of the component.
  std::unique_ptr<TQtSpellUserInterface> spell_ui_;
  TOrthexRichEdit* OrthexRichEdit1 = nullptr;
  QLabel* StatusBar1 = nullptr;
  QTimer Timer1;
  std::unique_ptr<TBackgroundChecker> checker_;
  bool plain_text_ = false;
  TTextFile text_file_;  // how the open plain text file was written (its text is not kept)
  bool loading_ = false;
  QString file_name_;
  std::vector<std::string> skipped_;
};

}  // namespace tovuri
