#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBlockFormat>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "app/rich_text_document.h"
#include "app/ui/ox3DialogPlacement.h"
#include "app/ui/ox3QtText.h"
#include "checker/ndebele_spell_config.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/text_file.h"

#ifdef TOVURI_DEVELOPER_TOOLS
#include <QPushButton>
#include <fstream>
#include <set>

#include "spell/ox3WinAPIParser.h"
#endif

namespace tovuri {
namespace {

constexpr int kWidth = 648;
constexpr int kHeight = 526;
constexpr int kGuideWidth = 640;
constexpr int kGuideHeight = 480;
// How long a window manager may take to frame a new window, in ms.
constexpr int kFramedAfterMs = 200;
// Room for a title bar's icon and buttons beside its text, in pixels.
constexpr int kTitleBarButtonsWidth = 120;

const QStringList kOpenFilters{"RTF Files (*.rtf)", "Text Files (*.txt)"};
const QString kSaveTextFilter = "Text (*.txt)";
const QString kSaveRichTextFilter = "RTF Files (*.rtf)";

// The hourglass for as long as it lives.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

bool AnalyseWord(std::string_view word) { return IsNdebeleWord(word); }

// "pictures, footnotes and comments".
QString JoinedList(const std::vector<std::string>& items) {
  QString text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += QString::fromStdString(items[i]);
  }
  return text;
}

}  // namespace

TSpellingDlg::TSpellingDlg(TNdebeleEngine& engine, const std::string& data_dir, QWidget* parent)
    : QMainWindow(parent),
      engine_(engine),
      data_dir_(data_dir.empty() ? ProgramDir() : data_dir),
      ndebele_(OrthexSpell1, TLearning::lnLearnAndReopen, AnalyseWord,
               [this](const std::string& problem) { ShowStatus(QString::fromStdString(problem)); }),
      word_queries_(ndebele_),
      Spelling(word_queries_) {
  OpenInBrowser = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  ConfigureNdebeleSpell(OrthexSpell1, data_dir_);
  OrthexSpell1.SynchronousCheck = false;
  // Learnt words that cannot be written, and dictionaries that cannot be
  // used, are never dropped silently.
  OrthexSpell1.OnDictionarySaveFailed = [this](TOrthexSpell3Base&, const std::string& file,
                                               const std::string& reason) { TellSaveFailed(file, reason); };
  OrthexSpell1.OnDictionaryProblem = [this](TOrthexSpell3Base&, const std::string& file, const std::string& problem) {
    ShowStatus(QString::fromStdString(file + ": " + problem));
  };
  OrthexSpell1.OnWordCheck = [this](TOrthexSpell3Base&, const std::string& word, TWordCheckType& type,
                                    std::string&) {
    OrthexSpellWordCheck(word, type);
  };

  // First: binding the editor opens the dictionaries, and a problem with
  // them is said in the status bar.
  StatusBar1 = new QLabel(kWelcome);
  StatusBar1->setObjectName("StatusBar1");
  statusBar()->addWidget(StatusBar1, 1);

  OrthexRichEdit1 = new TOrthexRichEdit(this);
  OrthexRichEdit1->setObjectName("OrthexRichEdit1");
  spell_ui_ = std::make_unique<TQtSpellUserInterface>(OrthexSpell1, this);
  spell_ui_->OnHelp = [this](int) { Help2Click(); };
  OrthexRichEdit1->SetOrthexSpell(&OrthexSpell1);
  setCentralWidget(OrthexRichEdit1);
  connect(OrthexRichEdit1, &QTextEdit::textChanged, this, &TSpellingDlg::OrthexRichEdit1Change);
  connect(OrthexRichEdit1->document(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
  OrthexRichEdit1->viewport()->installEventFilter(this);

  BuildMenu();

  checker_ = std::make_unique<TBackgroundChecker>(
      ndebele_, *OrthexRichEdit1, engine_, [this](const std::string& text) { ShowAnsiStatus(text); },
      [this](int ms) {
        if (Timer1.interval() != ms) Timer1.setInterval(ms);
      });
  Timer1.setInterval(TBackgroundChecker::kIdleInterval);
  connect(&Timer1, &QTimer::timeout, this, [this] { checker_->Tick(); });

  resize(kWidth, kHeight);
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  // A large scale factor or a small screen: the window and every dialog
  // keep their title bars on the screen.
  FitOnScreen(*this);
  qApp->installEventFilter(this);

  FormCreate();
  ShowFileInTitle();
  Timer1.start();
}

TServiceState TSpellingDlg::ServeWordQueries(const QDBusConnection& bus, const QString& bus_name) {
  // Another instance may own the name already: this one then runs without
  // the service, and says so.
  if (Spelling.Start(bus, bus_name) != TServiceState::ssRunning) ShowStatus(Spelling.StatusMessage());
  return Spelling.State();
}

TSpellingDlg::~TSpellingDlg() {
  Timer1.stop();
  engine_.Stop();
#ifdef TOVURI_DEVELOPER_TOOLS
  const std::string rejects = ProgramDir() + "rejects.txt";
  if (QFileInfo::exists(QString::fromStdString(rejects))) {
    std::string error;
    ReplaceFile(rejects, OrthexRichEdit1->toPlainText().toStdString(), error);
  }
#endif
  checker_.reset();
  // Saved while the window can still say what failed; what the component
  // saves after this can only be said on standard error.
  OrthexSpell1.SaveCustomDictionaries();
  OrthexSpell1.OnDictionarySaveFailed = [](TOrthexSpell3Base&, const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "tovuri: cannot save %s: %s\n", file.c_str(), reason.c_str());
  };
  OrthexSpell1.OnDictionaryProblem = nullptr;
  // The editor and the dialogs are child widgets, destroyed after the
  // component they serve: they let go of it first.
  OrthexRichEdit1->SetOrthexSpell(nullptr);
  OrthexSpell1.SetUserInterface(nullptr);
  spell_ui_.reset();
}

void TSpellingDlg::TellSaveFailed(const std::string& file, const std::string& reason) {
  const QString message = QString("Cannot save %1: %2.\nThe words stay in memory and are saved again at the next save.")
                              .arg(QString::fromStdString(file), QString::fromStdString(reason));
  ShowStatus(message);
  if (message == last_save_failure_) return;
  last_save_failure_ = message;
  // Shown from the event loop, never in the middle of the check or the
  // background pass whose save failed; a box that cannot be shown any more
  // (the window closing) goes with the window.
  if (isVisible())
    QTimer::singleShot(0, this, [this, message] { QMessageBox::warning(this, kCaption, message); });
  else
    QMessageBox::warning(this, kCaption, message);
}

void TSpellingDlg::BuildMenu() {
  const auto add = [this](QMenu* menu, const char* name, const QString& text, auto slot,
                          const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menuBar()->addMenu("&File");
  add(file, "Openfile1", "&Open file", [this] { Openfile1Click(); }, QKeySequence::Open);
  add(file, "Savefile1", "&Save file", [this] { Savefile1Click(); }, QKeySequence::Save);
  add(file, "Exit1", "E&xit", [this] { Exit1Click(); }, QKeySequence("Ctrl+Q"));
  QMenu* edit = menuBar()->addMenu("&Edit");
  QAction* undo = add(edit, "EditUndo1", "&Undo", [this] { OrthexRichEdit1->undo(); }, QKeySequence::Undo);
  QAction* redo = add(edit, "EditRedo1", "&Redo", [this] { OrthexRichEdit1->redo(); }, QKeySequence::Redo);
  undo->setEnabled(false);
  redo->setEnabled(false);
  connect(OrthexRichEdit1, &QTextEdit::undoAvailable, undo, &QAction::setEnabled);
  connect(OrthexRichEdit1, &QTextEdit::redoAvailable, redo, &QAction::setEnabled);
  edit->addSeparator();
  add(edit, "EditCut1", "Cu&t", [this] { OrthexRichEdit1->cut(); }, QKeySequence("Ctrl+X"));
  add(edit, "EditCopy1", "&Copy", [this] { OrthexRichEdit1->copy(); }, QKeySequence("Ctrl+C"));
  add(edit, "EditPaste1", "&Paste", [this] { OrthexRichEdit1->paste(); }, QKeySequence("Ctrl+V"));
  QMenu* check = menuBar()->addMenu("&Check");
  add(check, "Spelling1", "&Spelling", [this] { Spelling1Click(); }, QKeySequence(Qt::Key_F7));
  add(check, "Wordcount1", "&Word count", [this] { Wordcount1Click(); });
  QMenu* options = menuBar()->addMenu("&Options");
  add(options, "Configure1", "&Configure", [this] { Configure1Click(); });
  QMenu* help = menuBar()->addMenu("&Help");
  add(help, "Help2", "&Help", [this] { Help2Click(); }, QKeySequence::HelpContents);
}

void TSpellingDlg::FormCreate() {
  const LexiconWarningHandler warn = [this](const LexiconWarning& w) {
    QMessageBox::warning(this, kCaption, FromAnsi(w.message));
  };
  try {
    BuildLexicon(data_dir_, warn);
  } catch (const LexiconError& error) {
    QMessageBox::critical(this, kCaption, QString::fromStdString(error.what()));
  }
  // The word check index takes a second or more: the engine thread builds
  // it, and an analyser call made here meanwhile waits for that one.
  engine_.Prepare([] { PrepareWordCheck(); });
  loading_ = true;
  OrthexRichEdit1->clear();
  loading_ = false;
  OrthexRichEdit1->document()->setModified(false);
#ifdef TOVURI_DEVELOPER_TOOLS
  auto* test = new QPushButton("Test");
  auto* rejects = new QPushButton("List rejects");
  statusBar()->addPermanentWidget(test);
  statusBar()->addPermanentWidget(rejects);
  connect(test, &QPushButton::clicked, this, [this] { TestButtonClick(); });
  connect(rejects, &QPushButton::clicked, this, [this] { RejectsButtonClick(); });
  const QString rejects_file = QString::fromStdString(ProgramDir() + "rejects.txt");
  if (QFileInfo::exists(rejects_file)) {
    OpenFile(rejects_file, TFileFormat::ffPlainText);
    ShowStatus("Rejects loaded");
  } else {
    ShowStatus("Ready");
  }
#endif
}

void TSpellingDlg::ShowStatus(const QString& text) { StatusBar1->setText(text); }

QString TSpellingDlg::StatusText() const { return StatusBar1->text(); }

void TSpellingDlg::ShowAnsiStatus(const std::string& text) { ShowStatus(FromAnsi(text)); }

void TSpellingDlg::OrthexSpellWordCheck(const std::string& word, TWordCheckType& type) {
  if (type != TWordCheckType::wctMisspelled) return;
  ShowAnsiStatus("Looking up " + word + "     ");
  const TUnknownWordVerdict verdict = ndebele_.WordCheck(word, type);
  switch (verdict.judgement) {
    case TJudgement::jdKnown:
      ShowAnsiStatus(verdict.word + " found");
      break;
    case TJudgement::jdAnalysed:
      ShowAnsiStatus(verdict.word + " added to dictionary");
      break;
    case TJudgement::jdRejected:
      ShowAnsiStatus(word + " not found in Ndebele engine");
      break;
  }
}

bool TSpellingDlg::HasUnsavedChanges() const { return OrthexRichEdit1->document()->isModified(); }

void TSpellingDlg::ShowFileInTitle() {
  const QString name = file_name_.isEmpty() ? QString("Untitled") : QFileInfo(file_name_).fileName();
  setWindowTitle(QString("%1[*] - %2").arg(name, kCaption));
  setWindowModified(HasUnsavedChanges());
}

void TSpellingDlg::SetPlainText(bool plain) {
  plain_text_ = plain;
  OrthexRichEdit1->setAcceptRichText(!plain);
}

// ---- Files ------------------------------------------------------------------

bool TSpellingDlg::OpenFile(const QString& path, TFileFormat format) {
  loading_ = true;
  OrthexRichEdit1->clear();
  text_file_ = TTextFile{};
  // Nothing of the last document's formatting carries over to this one.
  OrthexRichEdit1->setCurrentCharFormat(QTextCharFormat());
  QTextCursor(OrthexRichEdit1->document()).setBlockFormat(QTextBlockFormat());
  // Words ignored at places of the last document were ignored there only.
  OrthexRichEdit1->LiveEditor().ForgetDocument();
  skipped_.clear();
  std::string error;
  const std::optional<std::string> bytes = ReadWholeFile(path.toStdString(), error);
  bool loaded = false;
  if (bytes) {
    if (format == TFileFormat::ffRichText) {
      SetPlainText(false);
      if (const std::optional<RichDocument> rich = ReadRtf(*bytes); rich && !rich->paragraphs.empty()) {
        SetRichDocument(*OrthexRichEdit1->document(), *rich);
        skipped_ = rich->skipped;
        loaded = true;
      }
    }
    if (!loaded) {
      SetPlainText(true);
      text_file_ = DecodeTextFile(*bytes);
      OrthexRichEdit1->setPlainText(QString::fromStdString(text_file_.text));
      text_file_.text.clear();
      loaded = true;
    }
    OrthexRichEdit1->moveCursor(QTextCursor::Start);
    OrthexRichEdit1->document()->clearUndoRedoStacks();
  }
  loading_ = false;
  OrthexRichEdit1->document()->setModified(false);
  file_name_ = bytes ? path : QString();
  ShowFileInTitle();
  // New text: the background checker starts over once the user is quiet.
  checker_->SetCheckState(TCheckState::csTextChanged);
  if (!bytes)
    QMessageBox::critical(this, kCaption,
                          QString("Cannot open the file %1:\n%2.").arg(path, QString::fromStdString(error)));
  return loaded;
}

bool TSpellingDlg::SaveFile(const QString& path) {
  std::optional<std::string> bytes;
  if (plain_text_) {
    const std::string text = OrthexRichEdit1->toPlainText().toStdString();
    bytes = EncodeTextFile(text, text_file_);
    if (!bytes) {
      // The file's own encoding cannot hold what the user wrote: never lose
      // a character without asking.
      const QMessageBox::StandardButton answer = QMessageBox::question(
          this, kCaption,
          QString("The text holds characters that the file's encoding (Windows-1252) cannot hold.\n"
                  "Save %1 as UTF-8 instead?")
              .arg(QFileInfo(path).fileName()),
          QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save);
      if (answer != QMessageBox::Save) return false;
      text_file_.encoding = TTextEncoding::teUtf8;
      bytes = EncodeTextFile(text, text_file_);
    }
  } else {
    bytes = WriteRtf(GetRichDocument(*OrthexRichEdit1->document()));
  }
  std::string error;
  bool saved;
  {
    const BusyCursor busy;
    saved = ReplaceFile(path.toStdString(), *bytes, error);
  }
  if (!saved) {
    QMessageBox::critical(
        this, kCaption,
        QString("Cannot save the file %1:\n%2.\nThe file was left as it was.").arg(path, QString::fromStdString(error)));
    return false;
  }
  OrthexRichEdit1->document()->setModified(false);
  if (QFileInfo(path) != QFileInfo(file_name_)) skipped_.clear();  // the opened file keeps what it held
  file_name_ = path;
  ShowFileInTitle();
  return true;
}

bool TSpellingDlg::MaySaveChanges() {
  if (!HasUnsavedChanges()) return true;
  const QMessageBox::StandardButton answer = QMessageBox::question(
      this, kCaption, "The text has changed since it was opened or saved.\nDo you want to save it?",
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return Savefile1Click();
  return answer == QMessageBox::Discard;
}

// ---- Commands -------------------------------------------------------------------

void TSpellingDlg::Openfile1Click() {
  if (!MaySaveChanges()) return;
  QFileDialog dialog(this, "Open file");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(kOpenFilters);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const TFileFormat format = kOpenFilters.indexOf(dialog.selectedNameFilter()) == 1 ? TFileFormat::ffPlainText
                                                                                    : TFileFormat::ffRichText;
  OpenFile(dialog.selectedFiles().front(), format);
}

bool TSpellingDlg::Savefile1Click() {
  QString suggested = file_name_;
  for (;;) {
    QFileDialog dialog(this, "Save file");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({plain_text_ ? kSaveTextFilter : kSaveRichTextFilter});
    // The file's own folder and name; a new text goes to the user's documents.
    if (suggested.isEmpty()) {
      dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    } else {
      dialog.setDirectory(QFileInfo(suggested).absolutePath());
      dialog.selectFile(QFileInfo(suggested).fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const QString path = dialog.selectedFiles().front();
    switch (MayOverwrite(path)) {
      case TOverwrite::owWrite: return SaveFile(path);
      case TOverwrite::owCancel: return false;
      case TOverwrite::owSaveAs:
        suggested = QFileInfo(path).absolutePath() + "/" + QFileInfo(path).completeBaseName() + " (edited)." +
                    QFileInfo(path).suffix();
        break;
    }
  }
}

TSpellingDlg::TOverwrite TSpellingDlg::MayOverwrite(const QString& path) {
  if (skipped_.empty() || file_name_.isEmpty() || QFileInfo(path) != QFileInfo(file_name_) ||
      !QFileInfo::exists(path))
    return TOverwrite::owWrite;
  QMessageBox box(QMessageBox::Warning, kCaption,
                  QString("%1 holds %2, which Tovuri cannot show or keep.\n"
                          "Saving over it loses them. Save the text under another name instead?")
                      .arg(QFileInfo(path).fileName(), JoinedList(skipped_)),
                  QMessageBox::NoButton, this);
  box.setObjectName("OverwriteWarning");
  QPushButton* save_as = box.addButton("Save &As...", QMessageBox::AcceptRole);
  QPushButton* overwrite = box.addButton("&Overwrite", QMessageBox::DestructiveRole);
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(save_as);
  box.exec();
  if (box.clickedButton() == save_as) return TOverwrite::owSaveAs;
  if (box.clickedButton() == overwrite) return TOverwrite::owWrite;
  return TOverwrite::owCancel;
}

void TSpellingDlg::Exit1Click() { close(); }

void TSpellingDlg::Spelling1Click() {
  const TCheckState remembered = checker_->CheckState();
  checker_->SetCheckState(TCheckState::csIdle);
  // The dialog is modeless: the check ends when the user is done with it.
  OrthexRichEdit1->CheckControl(TCheckMode::cmSelectionThenRest, [this, remembered] {
    ShowStatus("Spelling check finished");
    if (remembered != TCheckState::csIdle) checker_->SetCheckState(TCheckState::csTextChanged);
  });
}

void TSpellingDlg::Wordcount1Click() {
  const TCheckState remembered = checker_->CheckState();
  checker_->SetCheckState(TCheckState::csIdle);
  const int words = OrthexSpell1.CountWinControlWords(*OrthexRichEdit1, TCheckMode::cmAll);
  QMessageBox box(QMessageBox::NoIcon, "Word Count", QString("Number of words: %1").arg(words), QMessageBox::Ok,
                  this);
  box.setObjectName("WordCountBox");
  // A box as narrow as its text would cut its title: the title sets the least width.
  const int title_width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtonsWidth;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(title_width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
  box.exec();
  if (remembered != TCheckState::csIdle) checker_->SetCheckState(TCheckState::csWait);
}

void TSpellingDlg::Configure1Click() { OrthexSpell1.ShowConfigDialog(); }

void TSpellingDlg::Help2Click() {
  QString guide = QString::fromStdString(ProgramDir() + "tovuri.html");
  if (!QFileInfo::exists(guide)) guide = QString::fromStdString(data_dir_ + "/tovuri.html");
  // Without a browser the guide shows in a window of its own.
  if (!OpenInBrowser || !OpenInBrowser(QUrl::fromLocalFile(guide))) ShowGuideWindow(guide);
}

void TSpellingDlg::ShowGuideWindow(const QString& guide) {
  auto* window = findChild<QDialog*>("GuideWindow");
  if (window == nullptr) {
    window = new QDialog(this);
    window->setObjectName("GuideWindow");
    window->setWindowTitle(QString("Tovuri Help"));
    auto* browser = new QTextBrowser(window);
    browser->setObjectName("GuideBrowser");
    browser->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    window->resize(kGuideWidth, kGuideHeight);
  }
  auto* browser = window->findChild<QTextBrowser*>("GuideBrowser");
  if (QFileInfo::exists(guide))
    browser->setSource(QUrl::fromLocalFile(guide));
  else
    browser->setPlainText(QString("The user guide is not installed (%1).").arg(guide));
  window->show();
  window->raise();
  window->activateWindow();
}

// ---- Editor events ----------------------------------------------------------------

void TSpellingDlg::OrthexRichEdit1Change() {
  // The document's modified mark stays: it tells the title bar and the undo
  // history (which groups typing only into a modified document) what changed.
  if (loading_ || !OrthexRichEdit1->document()->isModified()) return;
  checker_->SetCheckState(TCheckState::csTextChanged);
}

bool TSpellingDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == OrthexRichEdit1->viewport() && event->type() == QEvent::MouseButtonPress)
    checker_->SetCheckState(TCheckState::csWait);
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->isWindow() && widget->windowType() != Qt::Popup && widget->windowType() != Qt::ToolTip) {
      FitOnScreen(*widget);
      // Again once the window manager has framed it: only then is its title bar's height known.
      QTimer::singleShot(kFramedAfterMs, widget, [widget] { FitOnScreen(*widget); });
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TSpellingDlg::closeEvent(QCloseEvent* event) {
  if (MaySaveChanges())
    event->accept();
  else
    event->ignore();
}

// ---- Developer tools ------------------------------------------------------------------

#ifdef TOVURI_DEVELOPER_TOOLS
void TSpellingDlg::TestButtonClick() {
  if (OrthexRichEdit1->LineCount() < 1) return;
  const std::string word = OrthexRichEdit1->Line(0, TWinAPIControlParser::kMaxLineLength);
  ShowAnsiStatus("Testing for " + word);
  ShowAnsiStatus(word + (IsNdebeleWord(word) ? " in engine" : " not in engine"));
}

void TSpellingDlg::RejectsButtonClick() {
  ShowStatus("Listing rejects");
  std::set<std::string> rejects;
  TWinAPIControlParser parser(*OrthexRichEdit1);
  OrthexSpell1.ParsingEngine().Init(&parser, TCheckMode::cmAll);
  for (std::string word = OrthexSpell1.ParsingEngine().NextWord(); !word.empty();
       word = OrthexSpell1.ParsingEngine().NextWord()) {
    if (OrthexSpell1.IsWordAcceptable(word)) continue;
    if (IsNdebeleWord(word))
      ndebele_.Learn(word);
    else
      rejects.insert(word);
  }
  OrthexSpell1.ParsingEngine().Init(nullptr, TCheckMode::cmAll);
  OrthexRichEdit1->clear();
  if (rejects.empty()) {
    ShowStatus("No misspellings found");
    return;
  }
  QString lines;
  for (const std::string& word : rejects) lines += FromAnsi(word) + '\n';
  OrthexRichEdit1->setPlainText(lines);
  ShowStatus("Rejects listed");
}
#endif

}  // namespace tovuri
