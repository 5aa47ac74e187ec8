#include "app/main_window.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QFileDialog>
#include <QFontInfo>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

#include "app/ui/ox3SpellDialog.h"
#include "checker/ndebele_checker.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using enum TCheckState;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Once the next modal widget of type W is up (a file dialog, a message box),
// runs act on it; act must close it.
template <typename W>
void WhenModal(std::function<void(W*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* widget = qobject_cast<W*>(QApplication::activeModalWidget());
    if (widget == nullptr || !widget->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(widget);
  });
  timer->start();
}

// Answers the next message box with a button, keeping its caption and text.
struct SeenBox {
  QString title;
  QString text;
};
void AnswerMessageBox(SeenBox& seen, QMessageBox::StandardButton button) {
  WhenModal<QMessageBox>([&seen, button](QMessageBox* box) {
    seen = {box->windowTitle(), box->text()};
    box->button(button)->click();
  });
}

// Picks a file and a filter in the next file dialog.
void ChooseFile(const fs::path& file, const QString& filter) {
  WhenModal<QFileDialog>([file, filter](QFileDialog* dialog) {
    dialog->selectNameFilter(filter);
    dialog->selectFile(QString::fromStdString(file.string()));
    static_cast<QDialog*>(dialog)->accept();
  });
}

// The window over a small lexicon and main dictionary in a temporary home,
// with an engine whose analyser accepts a fixed set of words.
class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    data_ = home_.Folder("data");
    std::ofstream(data_ / "dictionary.txt") << "verb,uku-hamba,,walk\n";
    std::ofstream(data_ / "passives.txt") << "";
    WriteMainDictionary(data_ / "Ndebele.oxm", {"abantu", "bayahamba", "njalo"});
  }

  void CreateWindow() {
    window_ = std::make_unique<TSpellingDlg>(engine_, data_.string());
    window_->Timer().stop();  // the tests tick the background checker themselves
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  void Trigger(const char* action) {
    QAction* found = window_->findChild<QAction*>(action);
    ASSERT_NE(found, nullptr) << action;
    found->trigger();
  }

  void Tick() { window_->Checker().Tick(); }
  TCheckState State() { return window_->Checker().CheckState(); }
  // Ticks until the state is reached, letting the worker answer; gives up
  // after half a minute, however loaded the machine.
  bool TickUntil(TCheckState state) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (State() != state && std::chrono::steady_clock::now() < give_up) {
      Tick();
      if (State() == csWaitForWorker || State() == csNextWord) std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return State() == state;
  }
  std::string Text() { return window_->Editor().toPlainText().toStdString(); }
  // The text as a user's paste would put it there.
  void SetText(const QString& text) {
    window_->Editor().selectAll();
    window_->Editor().textCursor().insertText(text);
    QApplication::processEvents();
  }

  TempHome home_;
  fs::path data_;
  std::set<std::string> accepted_{"ngiyabonga", "uyahamba"};
  std::atomic<int> analysed_ = 0;
  std::atomic<bool> gate_open_ = true;
  TNdebeleEngine engine_{TEnginePriority::epNormal, [this](std::string_view word) {
                           while (!gate_open_) std::this_thread::yield();
                           ++analysed_;
                           return accepted_.contains(std::string(word));
                         }};
  std::unique_ptr<TSpellingDlg> window_;
};

TEST_F(MainWindow, ShowsTheCaptionSizeMenuAndWelcome) {
  CreateWindow();
  EXPECT_EQ(window_->windowTitle(), "Untitled[*] - Tovuri 1.0");
  EXPECT_EQ(window_->size(), QSize(648, 526));
  EXPECT_EQ(window_->StatusText(), "Welcome to Tovuri, a spelling checker for the Ndebele language");
  QStringList menus;
  for (QAction* menu : window_->menuBar()->actions()) {
    QStringList items;
    for (QAction* item : menu->menu()->actions())
      items << item->text() + (item->shortcut().isEmpty() ? "" : " " + item->shortcut().toString());
    menus << menu->text() + ": " + items.join(", ");
  }
  EXPECT_EQ(menus.join("\n").toStdString(),
            "&File: &Open file Ctrl+O, &Save file Ctrl+S, E&xit Ctrl+Q\n"
            "&Edit: &Undo Ctrl+Z, &Redo Ctrl+Y, , Cu&t Ctrl+X, &Copy Ctrl+C, &Paste Ctrl+V\n"
            "&Check: &Spelling F7, &Word count\n"
            "&Options: &Configure\n"
            "&Help: &Help F1");
  EXPECT_TRUE(Text().empty());
  EXPECT_EQ(State(), csIdle);
}

TEST_F(MainWindow, ShowsEachLexiconWarningInAMessageBox) {
  fs::remove(data_ / "passives.txt");
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);
  CreateWindow();
  EXPECT_EQ(seen.text, "List of passive exceptions not found");
}

TEST_F(MainWindow, AMissingMainDictionaryIsSaidInTheStatusBar) {
  fs::remove(data_ / "Ndebele.oxm");
  CreateWindow();
  EXPECT_TRUE(window_->StatusText().contains("Ndebele.oxm")) << window_->StatusText().toStdString();
}

TEST_F(MainWindow, AnEmptyEditorsPassGoesThreeFourZeroAndSaysItIsReady) {
  CreateWindow();
  window_->Checker().SetCheckState(csStartPass);
  std::vector<TCheckState> states{State()};
  for (int i = 0; i < 5; ++i) {
    Tick();
    if (states.back() != State()) states.push_back(State());
  }
  EXPECT_EQ(states, (std::vector<TCheckState>{csStartPass, csNextWord, csIdle}));
  EXPECT_EQ(window_->StatusText(), "Background checking ready");
}

TEST_F(MainWindow, TypingRestartsTheCheckerAndAClickMakesItWaitOneTick) {
  CreateWindow();
  QTest::keyClicks(&window_->Editor(), "abantu ");
  EXPECT_EQ(State(), csTextChanged);
  EXPECT_TRUE(window_->HasUnsavedChanges());
  window_->Checker().SetCheckState(csIdle);
  QTest::mouseClick(window_->Editor().viewport(), Qt::LeftButton);
  EXPECT_EQ(State(), csWait);
}

TEST_F(MainWindow, APassLearnsAcceptedWordsAndNeverWakesTheWorkerForRejectedOnes) {
  CreateWindow();
  SetText("abantu ngiyabonga xyzzy bayahamba\nplugh njalo");
  EXPECT_EQ(State(), csTextChanged);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(window_->StatusText(), "Background checking ready");
  EXPECT_EQ(window_->Checker().WordsHandedOver(), 3);
  ASSERT_NE(window_->Spell().ActiveCustomDictionary(), nullptr);
  EXPECT_TRUE(window_->Spell().ActiveCustomDictionary()->Contains("ngiyabonga"));
  EXPECT_EQ(window_->Checker().RejectedWordCount(), 2u);

  // The next pass: the learnt word is known, the rejected ones are remembered.
  window_->Checker().SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(window_->Checker().WordsHandedOver(), 3);
  EXPECT_EQ(analysed_, 3);

  // The learnt word reaches the user's custom dictionary file when the window closes.
  const fs::path custom = home_.Root() / "home/.local/share/Tovuri/Ndebele.oxu";
  window_.reset();
  EXPECT_NE(Contents(custom).find("ngiyabonga"), std::string::npos) << custom;
}

// A learnt word that cannot be written is said (status bar, one message
// box), kept in memory, and written once the folder is usable again.
TEST_F(MainWindow, ALearntWordThatCannotBeSavedIsSaidAndWrittenLater) {
  CreateWindow();
  ASSERT_NE(window_->Spell().ActiveCustomDictionary(), nullptr);
  const fs::path custom = window_->Spell().ActiveCustomDictionary()->Filename();
  const fs::path folder = custom.parent_path();
  const fs::path moved = folder.string() + ".away";
  fs::rename(folder, moved);
  std::ofstream(folder) << "a file where the folder was";

  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);
  window_->Ndebele().Learn("ngiyabonga");
  // The status bar ends with the reopening's problem, which names the file too.
  EXPECT_TRUE(window_->StatusText().contains(QString::fromStdString(custom.string())))
      << window_->StatusText().toStdString();
  for (int i = 0; i < 200 && seen.text.isEmpty(); ++i) QTest::qWait(10);
  EXPECT_EQ(seen.title, "Tovuri 1.0");
  EXPECT_TRUE(seen.text.startsWith("Cannot save " + QString::fromStdString(custom.string())))
      << seen.text.toStdString();
  EXPECT_TRUE(seen.text.contains("The words stay in memory")) << seen.text.toStdString();
  EXPECT_TRUE(window_->Spell().IsWordAcceptable("ngiyabonga"));  // meanwhile, for this run

  fs::remove(folder);
  fs::rename(moved, folder);
  window_->Ndebele().Learn("uyahamba");
  window_.reset();
  const std::string saved = Contents(custom);
  EXPECT_NE(saved.find("ngiyabonga"), std::string::npos);
  EXPECT_NE(saved.find("uyahamba"), std::string::npos);
}

TEST_F(MainWindow, TypingWhileTheWorkerAnalysesDropsTheAnswerAndStartsOverWhenQuiet) {
  CreateWindow();
  SetText("ngiyabonga uyahamba");
  gate_open_ = false;
  ASSERT_TRUE(TickUntil(csWaitForWorker));
  EXPECT_EQ(window_->StatusText(), "Looking for new word ngiyabonga");
  window_->Editor().moveCursor(QTextCursor::End);
  QTest::keyClicks(&window_->Editor(), " x");
  EXPECT_EQ(State(), csTextChanged);
  Tick();
  EXPECT_EQ(State(), csWait);
  Tick();
  EXPECT_EQ(State(), csStartPass);
  Tick();
  for (int i = 0; i < 20; ++i) Tick();
  EXPECT_EQ(State(), csNextWord);  // held until the worker is done with the dropped word
  gate_open_ = true;
  ASSERT_TRUE(TickUntil(csIdle));
  const TCustomDictionary* custom = window_->Spell().ActiveCustomDictionary();
  ASSERT_NE(custom, nullptr);
  EXPECT_TRUE(custom->Contains("ngiyabonga"));
  EXPECT_TRUE(custom->Contains("uyahamba"));
  EXPECT_EQ(analysed_, 3);  // the dropped word once for its dropped answer, once in the new pass
}

TEST_F(MainWindow, SpellingLeavesAnIdleCheckerIdleAndRestartsABusyOne) {
  CreateWindow();
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);  // nothing to check: the check ends at once
  Trigger("Spelling1");
  EXPECT_EQ(seen.text, "The spelling check is complete.");
  EXPECT_EQ(State(), csIdle);
  EXPECT_EQ(window_->StatusText(), "Spelling check finished");
  window_->Checker().SetCheckState(csNextWord);
  AnswerMessageBox(seen, QMessageBox::Ok);
  Trigger("Spelling1");
  EXPECT_EQ(State(), csTextChanged);
}

TEST_F(MainWindow, WordCountOfAnEmptyEditorIsZeroAndOfATextItsWords) {
  CreateWindow();
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);
  Trigger("Wordcount1");
  EXPECT_EQ(seen.title, "Word Count");
  EXPECT_EQ(seen.text, "Number of words: 0");

  SetText("abantu bayahamba\nnjalo");
  window_->Checker().SetCheckState(csNextWord);
  AnswerMessageBox(seen, QMessageBox::Ok);
  Trigger("Wordcount1");
  EXPECT_EQ(seen.text, "Number of words: 3");
  EXPECT_EQ(State(), csWait);
}

constexpr char kRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Abantu {\\b bayahamba}\\par njalo\\par}";

TEST_F(MainWindow, OpeningAFileUnderlinesItsVisibleTyposPromptly) {
  CreateWindow();
  window_->Timer().start();  // the background checker runs as in the program
  std::string text;
  while (text.size() < 200 * 1024) text += "abantu bayahamba xyzzy njalo abantu\n";
  const fs::path file = home_.Root() / "long.txt";
  std::ofstream(file) << text;
  ChooseFile(file, "Text Files (*.txt)");
  Trigger("Openfile1");
  const TLineCache* first = nullptr;
  for (int i = 0; i < 300; ++i) {
    QTest::qWait(10);
    first = window_->Editor().LiveEditor().LineCache(0);
    if (first != nullptr && !first->Errors.empty()) break;
  }
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Errors, (std::vector<TSpellingError>{{17, 22}}));
}

TEST_F(MainWindow, IgnoresAtPlacesOfADocumentEndWithIt) {
  CreateWindow();
  const fs::path file = home_.Root() / "story.txt";
  std::ofstream(file) << "Abntu bayahamba\nnjalo Abntu\n";
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(file.string()), TFileFormat::ffPlainText));
  TOrthexRichEdit& editor = window_->Editor();
  const auto spans = [&](int line) {
    QApplication::processEvents();
    editor.viewport()->grab();
    const TLineCache* cache = editor.LiveEditor().LineCache(line);
    return cache != nullptr ? cache->Errors : std::vector<TSpellingError>{{-1, -1}};
  };
  ASSERT_EQ(spans(0), (std::vector<TSpellingError>{{0, 5}}));
  // Ignore, as the spelling dialog's and the correction menu's Ignore do it.
  editor.SetSelection(0, 5);
  editor.LiveEditor().RunAction(10);
  EXPECT_EQ(spans(0), std::vector<TSpellingError>{});
  EXPECT_EQ(spans(1), (std::vector<TSpellingError>{{6, 11}}));

  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(file.string()), TFileFormat::ffPlainText));
  EXPECT_EQ(spans(0), (std::vector<TSpellingError>{{0, 5}}));
  EXPECT_EQ(spans(1), (std::vector<TSpellingError>{{6, 11}}));
}

TEST_F(MainWindow, SpellingSaysItFinishedAndGivesThePaletteBackOnlyWhenTheCheckEnds) {
  CreateWindow();
  SetText("xyzzy abantu");
  window_->Checker().SetCheckState(csIdle);
  TOrthexRichEdit& editor = window_->Editor();
  const QColor active = editor.palette().color(QPalette::Active, QPalette::Highlight);
  const QColor inactive = editor.palette().color(QPalette::Inactive, QPalette::Highlight);
  window_->ShowStatus("Ready");
  editor.moveCursor(QTextCursor::Start);
  // While the dialog is up, the check has not ended.
  bool dialog_seen = false;
  QString status_meanwhile;
  QColor inactive_meanwhile;
  auto* poll = new QTimer(window_.get());
  QObject::connect(poll, &QTimer::timeout, [&, poll] {
    auto* dialog = window_->findChild<TSpellDialog*>("SpellDialog");
    if (dialog == nullptr || !dialog->isVisible()) return;
    poll->stop();
    dialog_seen = true;
    // The command again while its check is open changes nothing.
    window_->findChild<QAction*>("Spelling1")->trigger();
    status_meanwhile = window_->StatusText();
    inactive_meanwhile = editor.palette().color(QPalette::Inactive, QPalette::Highlight);
    dialog->CancelButton()->click();
  });
  poll->start(5);
  Trigger("Spelling1");
  for (int i = 0; i < 500 && !dialog_seen; ++i) QTest::qWait(10);
  ASSERT_TRUE(dialog_seen);
  EXPECT_NE(status_meanwhile, "Spelling check finished");
  EXPECT_EQ(inactive_meanwhile, active);

  QApplication::processEvents();
  EXPECT_FALSE(window_->Spell().IsChecking());
  EXPECT_EQ(window_->StatusText(), "Spelling check finished");
  EXPECT_EQ(editor.palette().color(QPalette::Inactive, QPalette::Highlight), inactive);
  EXPECT_EQ(State(), csIdle);
}

TEST_F(MainWindow, HelpWithoutABrowserShowsTheGuideInAWindowOfItsOwn) {
  CreateWindow();
  QUrl asked;
  window_->OpenInBrowser = [&asked](const QUrl& url) {
    asked = url;
    return false;
  };
  Trigger("Help2");
  EXPECT_TRUE(asked.toLocalFile().endsWith("tovuri.html")) << asked.toString().toStdString();
  auto* guide = window_->findChild<QDialog*>("GuideWindow");
  ASSERT_NE(guide, nullptr);
  EXPECT_TRUE(guide->isVisible());
  auto* browser = guide->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->toPlainText().contains("Tovuri")) << browser->toPlainText().left(200).toStdString();

  // A browser that opens it: no window of our own.
  guide->close();
  window_->OpenInBrowser = [](const QUrl&) { return true; };
  Trigger("Help2");
  EXPECT_FALSE(guide->isVisible());
}

TEST_F(MainWindow, TypingIsUndoneAWordOrAPauseAtATime) {
  CreateWindow();
  TOrthexRichEdit& editor = window_->Editor();
  QTest::keyClicks(&editor, "abantu bayahamba njalo");
  Trigger("EditUndo1");
  EXPECT_EQ(Text(), "abantu bayahamba");
  Trigger("EditUndo1");
  EXPECT_EQ(Text(), "abantu");
  Trigger("EditRedo1");
  EXPECT_EQ(Text(), "abantu bayahamba");

  editor.clear();
  QTest::keyClicks(&editor, "aba");
  QTest::qWait(TOrthexRichEdit::kUndoPauseMs + 100);
  QTest::keyClicks(&editor, "ntu");
  Trigger("EditUndo1");
  EXPECT_EQ(Text(), "aba");
}

TEST_F(MainWindow, TheStandardKeysReachTheirCommandsFromTheEditor) {
  CreateWindow();
  window_->activateWindow();
  window_->Editor().setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  bool helped = false;
  window_->OpenInBrowser = [&helped](const QUrl&) { return helped = true; };
  QTest::keyClick(&window_->Editor(), Qt::Key_F1);
  EXPECT_TRUE(helped);

  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);
  QTest::keyClick(&window_->Editor(), Qt::Key_F7);
  EXPECT_EQ(seen.text, "The spelling check is complete.");

  for (const auto& [key, title] : {std::pair{Qt::Key_O, QString("Open file")}, std::pair{Qt::Key_S, QString("Save file")}}) {
    QString shown;
    WhenModal<QFileDialog>([&shown](QFileDialog* dialog) {
      shown = dialog->windowTitle();
      dialog->reject();
    });
    window_->activateWindow();  // back from the box
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyClick(&window_->Editor(), key, Qt::ControlModifier);
    EXPECT_EQ(shown, title);
  }
}

TEST_F(MainWindow, TheTitleBarNamesTheFileAndMarksAChange) {
  CreateWindow();
  EXPECT_FALSE(window_->isWindowModified());
  QTest::keyClicks(&window_->Editor(), "a");
  EXPECT_TRUE(window_->isWindowModified());
  const fs::path file = home_.Root() / "story.txt";
  std::ofstream(file) << "abantu\n";
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Discard);
  ChooseFile(file, "Text Files (*.txt)");
  Trigger("Openfile1");
  EXPECT_EQ(window_->windowTitle(), "story.txt[*] - Tovuri 1.0");
  EXPECT_FALSE(window_->isWindowModified());
  QTest::keyClicks(&window_->Editor(), "x");
  EXPECT_TRUE(window_->isWindowModified());
  Trigger("EditUndo1");
  EXPECT_FALSE(window_->isWindowModified());  // back as it was saved
  QTest::keyClicks(&window_->Editor(), "y");
  const fs::path copy = home_.Root() / "copy.txt";
  ASSERT_TRUE(window_->SaveFile(QString::fromStdString(copy.string())));
  EXPECT_EQ(window_->windowTitle(), "copy.txt[*] - Tovuri 1.0");
  EXPECT_FALSE(window_->isWindowModified());
}

TEST_F(MainWindow, TheSaveDialogOpensAtTheFileOrInTheDocumentsFolder) {
  CreateWindow();
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  fs::create_directories(documents.toStdString());
  QString folder;
  QStringList chosen;
  const auto look = [&] {
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
      folder = dialog->directory().absolutePath();
      chosen = dialog->selectedFiles();
      dialog->reject();
    });
  };
  look();
  Trigger("Savefile1");
  EXPECT_EQ(folder, QDir(documents).absolutePath());

  const fs::path file = home_.Root() / "texts" / "story.txt";
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "abantu\n";
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(file.string()), TFileFormat::ffPlainText));
  look();
  Trigger("Savefile1");
  EXPECT_EQ(folder.toStdString(), file.parent_path().string());
  ASSERT_EQ(chosen.size(), 1);
  EXPECT_EQ(chosen.front().toStdString(), file.string());
}

TEST_F(MainWindow, APlainTextFileOpenedAfterAnRtfFileHasNoneOfItsFormatting) {
  CreateWindow();
  const fs::path rtf = home_.Root() / "story.rtf";
  std::ofstream(rtf) << "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs40\\sa400 Abantu\\par}";
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(rtf.string()), TFileFormat::ffRichText));
  const fs::path text = home_.Root() / "notes.txt";
  std::ofstream(text) << "njalo\n";
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(text.string()), TFileFormat::ffPlainText));
  QTextCursor cursor(window_->Editor().document());
  cursor.setPosition(1);
  EXPECT_FALSE(cursor.charFormat().hasProperty(QTextFormat::FontFamilies));
  EXPECT_FALSE(cursor.charFormat().hasProperty(QTextFormat::FontPointSize));
  EXPECT_EQ(cursor.blockFormat().bottomMargin(), 0);
  EXPECT_EQ(QFontInfo(cursor.charFormat().font()).family(), QFontInfo(window_->Editor().font()).family());
}

TEST_F(MainWindow, SavingOverAnRtfFileWhosePicturesWouldBeLostOffersSaveAs) {
  CreateWindow();
  const fs::path rtf = home_.Root() / "story.rtf";
  const std::string original =
      "{\\rtf1 Abantu{\\pict\\pngblip 89504e47}{\\footnote bayahamba}\\par"
      "{\\field{\\*\\fldinst HYPERLINK \"https://example.org\"}{\\fldrslt njalo}}\\par}";
  std::ofstream(rtf) << original;
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(rtf.string()), TFileFormat::ffRichText));
  EXPECT_EQ(window_->SkippedContent(),
            (std::vector<std::string>{"pictures", "footnotes", "fields such as hyperlinks"}));
  QTest::keyClicks(&window_->Editor(), "x");

  const auto save_over = [&](const fs::path& file) {
    WhenModal<QFileDialog>([file](QFileDialog* dialog) {
      dialog->setOption(QFileDialog::DontConfirmOverwrite);
      dialog->selectFile(QString::fromStdString(file.string()));
      static_cast<QDialog*>(dialog)->accept();
    });
  };
  // Cancel: nothing is written.
  QString warning;
  save_over(rtf);
  WhenModal<QMessageBox>([&warning](QMessageBox* box) {
    warning = box->text();
    box->button(QMessageBox::Cancel)->click();
  });
  Trigger("Savefile1");
  EXPECT_TRUE(warning.contains("pictures, footnotes and fields such as hyperlinks")) << warning.toStdString();
  EXPECT_EQ(Contents(rtf), original);

  // Save As: another name is asked for, the original stays whole.
  save_over(rtf);
  QString suggested;
  const fs::path other = home_.Root() / "story (edited).rtf";
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    for (QAbstractButton* button : box->buttons())
      if (button->text() == "Save &As...") {
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
          suggested = dialog->selectedFiles().value(0);
          dialog->setOption(QFileDialog::DontConfirmOverwrite);
          static_cast<QDialog*>(dialog)->accept();
        });
        button->click();
      }
  });
  Trigger("Savefile1");
  EXPECT_EQ(suggested.toStdString(), other.string());
  EXPECT_EQ(Contents(rtf), original);
  EXPECT_TRUE(fs::exists(other));
  EXPECT_EQ(window_->FileName().toStdString(), other.string());
}

TEST_F(MainWindow, TheWindowFitsTheScreen) {
  CreateWindow();
  const QRect work = window_->screen()->availableGeometry();
  EXPECT_TRUE(work.contains(window_->frameGeometry())) << window_->frameGeometry().width() << "x"
                                                       << window_->frameGeometry().height();
  // A dialog larger than the screen is fitted as it shows.
  QDialog big(window_.get());
  big.resize(work.width() + 400, work.height() + 300);
  big.show();
  EXPECT_LE(big.width(), work.width());
  EXPECT_LE(big.height(), work.height());
  EXPECT_TRUE(work.contains(big.frameGeometry().topLeft()));
}

TEST_F(MainWindow, TheWordCountBoxIsWideEnoughForItsTitle) {
  CreateWindow();
  int width = 0;
  int title = 0;
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    QApplication::processEvents();
    width = box->width();
    title = box->fontMetrics().horizontalAdvance(box->windowTitle());
    box->button(QMessageBox::Ok)->click();
  });
  Trigger("Wordcount1");
  EXPECT_GE(width, title + 100) << width << " for a title of " << title;
}

TEST_F(MainWindow, TheTextFilterShowsAnRtfFilesMarkup) {
  CreateWindow();
  const fs::path file = home_.Root() / "story.rtf";
  std::ofstream(file) << kRtf;
  ChooseFile(file, "Text Files (*.txt)");
  Trigger("Openfile1");
  EXPECT_EQ(Text(), kRtf);
  EXPECT_TRUE(window_->IsPlainText());
}

TEST_F(MainWindow, TheRtfFilterShowsAnRtfFileFormattedAndAPlainFileAsText) {
  CreateWindow();
  const fs::path rtf = home_.Root() / "story.rtf";
  std::ofstream(rtf) << kRtf;
  ChooseFile(rtf, "RTF Files (*.rtf)");
  Trigger("Openfile1");
  EXPECT_EQ(Text(), "Abantu bayahamba\nnjalo");
  EXPECT_FALSE(window_->IsPlainText());
  QTextCursor cursor(window_->Editor().document());
  cursor.setPosition(9);
  EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
  EXPECT_EQ(State(), csTextChanged);
  EXPECT_FALSE(window_->HasUnsavedChanges());

  const fs::path text = home_.Root() / "notes.txt";
  std::ofstream(text) << "Umntwana uyadlala.\ncaf\xE9\n";
  ChooseFile(text, "RTF Files (*.rtf)");
  Trigger("Openfile1");
  EXPECT_EQ(Text(), "Umntwana uyadlala.\ncaf\xC3\xA9\n");
  EXPECT_TRUE(window_->IsPlainText());
}

TEST_F(MainWindow, SavingAfterOpeningPlainTextOffersOnlyTheTextFilter) {
  CreateWindow();
  const fs::path text = home_.Root() / "notes.txt";
  std::ofstream(text) << "abantu\n";
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(text.string()), TFileFormat::ffPlainText));
  QStringList filters;
  WhenModal<QFileDialog>([&filters](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    dialog->reject();
  });
  Trigger("Savefile1");
  EXPECT_EQ(filters, QStringList{"Text (*.txt)"});

  window_->OpenFile(QString::fromStdString(text.string()), TFileFormat::ffRichText);
  ASSERT_TRUE(window_->IsPlainText());  // not RTF, so shown as plain text
  std::ofstream(home_.Root() / "story.rtf") << kRtf;
  window_->OpenFile(QString::fromStdString((home_.Root() / "story.rtf").string()), TFileFormat::ffRichText);
  WhenModal<QFileDialog>([&filters](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    dialog->reject();
  });
  Trigger("Savefile1");
  EXPECT_EQ(filters, QStringList{"RTF Files (*.rtf)"});
}

TEST_F(MainWindow, SavesInTheEditorsFormatWithoutAddingAnExtension) {
  CreateWindow();
  // A new text is rich text, as the editor starts.
  QTest::keyClicks(&window_->Editor(), "abantu");
  const fs::path rich = home_.Root() / "saved";
  ASSERT_TRUE(window_->SaveFile(QString::fromStdString(rich.string())));
  EXPECT_FALSE(window_->HasUnsavedChanges());
  EXPECT_EQ(Contents(rich).rfind("{\\rtf1", 0), 0u);
  window_->OpenFile(QString::fromStdString(rich.string()), TFileFormat::ffRichText);
  EXPECT_EQ(Text(), "abantu");
  EXPECT_FALSE(window_->IsPlainText());

  const fs::path text = home_.Root() / "notes.txt";
  std::ofstream(text) << "abantu\ncaf\xE9\n";
  window_->OpenFile(QString::fromStdString(text.string()), TFileFormat::ffPlainText);
  const fs::path plain = home_.Root() / "notes-copy";
  ASSERT_TRUE(window_->SaveFile(QString::fromStdString(plain.string())));
  EXPECT_EQ(Contents(plain), "abantu\ncaf\xE9\n");  // in the encoding it was read in
}

TEST_F(MainWindow, ATextFileKeepsItsEncodingAndItsCharactersWhenSaved) {
  CreateWindow();
  // UTF-16 with CR LF, as Windows programs write it, with letters Windows-1252 lacks.
  const std::string utf16 = std::string("\xFF\xFE" "D\0v\0o\0\x59\x01\xE1\0k\0\r\0\n\0", 18);
  const fs::path file = home_.Root() / "utf16.txt";
  std::ofstream(file, std::ios::binary) << utf16;
  window_->OpenFile(QString::fromStdString(file.string()), TFileFormat::ffPlainText);
  EXPECT_EQ(Text(), "Dvo\xC5\x99\xC3\xA1k\n");
  ASSERT_TRUE(window_->SaveFile(QString::fromStdString(file.string())));
  EXPECT_EQ(Contents(file), utf16);

  // A Windows-1252 file cannot hold the letter: the user is asked before it
  // becomes UTF-8, and nothing is written when the user declines.
  const fs::path ansi = home_.Root() / "ansi.txt";
  std::ofstream(ansi, std::ios::binary) << "caf\xE9\n";
  window_->OpenFile(QString::fromStdString(ansi.string()), TFileFormat::ffPlainText);
  window_->Editor().moveCursor(QTextCursor::End);
  window_->Editor().insertPlainText(QString::fromUtf8("\u0141"));
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Cancel);
  EXPECT_FALSE(window_->SaveFile(QString::fromStdString(ansi.string())));
  EXPECT_TRUE(seen.text.contains("UTF-8")) << seen.text.toStdString();
  EXPECT_EQ(Contents(ansi), "caf\xE9\n");
  AnswerMessageBox(seen, QMessageBox::Save);
  ASSERT_TRUE(window_->SaveFile(QString::fromStdString(ansi.string())));
  EXPECT_EQ(Contents(ansi), "caf\xC3\xA9\n\xC5\x81");
}

TEST_F(MainWindow, AFailedSaveLeavesTheOldFileIntactAndSaysWhy) {
  CreateWindow();
  const fs::path file = home_.Root() / "notes.txt";
  std::ofstream(file) << "old words";
  SetText(QString(64 * 1024, 'x'));
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);
  // A size limit makes the write fail however privileged the test runs.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto old_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool ok = window_->SaveFile(QString::fromStdString(file.string()));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Contents(file), "old words");
  EXPECT_TRUE(seen.text.contains(QString::fromStdString(file.string()))) << seen.text.toStdString();
  EXPECT_TRUE(seen.text.contains("File too large")) << seen.text.toStdString();
  EXPECT_TRUE(window_->HasUnsavedChanges());
}

TEST_F(MainWindow, AFileThatCannotBeReadIsNamedWithTheReason) {
  CreateWindow();
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);
  const fs::path missing = home_.Root() / "missing.txt";
  EXPECT_FALSE(window_->OpenFile(QString::fromStdString(missing.string()), TFileFormat::ffPlainText));
  EXPECT_EQ(seen.text.toStdString(), "Cannot open the file " + missing.string() + ":\nNo such file or directory.");
}

TEST_F(MainWindow, ClosingWithChangedTextAsksAndCancelKeepsTheWindow) {
  CreateWindow();
  QTest::keyClicks(&window_->Editor(), "abantu");
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Cancel);
  Trigger("Exit1");
  EXPECT_TRUE(seen.text.startsWith("The text has changed")) << seen.text.toStdString();
  EXPECT_TRUE(window_->isVisible());

  AnswerMessageBox(seen, QMessageBox::Discard);
  EXPECT_TRUE(window_->close());
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainWindow, ClosingAfterSavingAsksNothing) {
  CreateWindow();
  QTest::keyClicks(&window_->Editor(), "abantu");
  ASSERT_TRUE(window_->SaveFile(QString::fromStdString((home_.Root() / "a.txt").string())));
  EXPECT_TRUE(window_->close());
}

TEST_F(MainWindow, SpellingLearnsAMisspeltWordTheAnalyserAccepts) {
  CreateWindow();
  SetText("uyahamba");
  SeenBox seen;
  AnswerMessageBox(seen, QMessageBox::Ok);
  Trigger("Spelling1");
  EXPECT_EQ(seen.text, "The spelling check is complete.");  // no word was left for the dialog
  const TCustomDictionary* custom = window_->Spell().ActiveCustomDictionary();
  ASSERT_NE(custom, nullptr);
  EXPECT_TRUE(custom->Contains("uyahamba"));
  EXPECT_EQ(analysed_, 0);  // the user-interface thread's own analyser call, not the engine's
}

}  // namespace
}  // namespace tovuri
