// Shows one scene of the editor or a dialog for a screenshot under Xvfb:
//   tovuri-ui-screens SCENE
// SCENE is editor, menu, spelling, options, dictionaries, newdict,
// edit-added, edit-pairs or edit-excluded. The program runs until killed.
#include <QApplication>
#include <QContextMenuEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <iostream>

#include "app/ui/ox3ConfigurationDialog.h"
#include "app/ui/ox3CustomDictionariesDialog.h"
#include "app/ui/ox3CustomDictionaryEditDialog.h"
#include "app/ui/ox3NewCustomDictionaryDialog.h"
#include "app/ui/ox3RichEdit.h"
#include "app/ui/ox3SpellDialog.h"
#include "app/ui/ox3SpellUserInterface.h"
#include "spell/ox3DictionaryCompiler.h"

using namespace tovuri;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: tovuri-ui-screens SCENE\n";
    return 2;
  }
  const QString scene = argv[1];
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  const std::string folder = home.path().toStdString();
  std::ofstream(folder + "/Test.oxm", std::ios::binary)
      << CompileMainDictionary({"Abantu", "abantu", "bahamba", "ekuseni", "umuntu", "uyahamba", "endlini", "umfana",
                                "uyafunda", "umama", "uyapheka", "the", "cat", "sat", "dog"},
                               "Ndebele", 0)
             .bytes;

  TOrthexSpell3 spell;
  spell.PathMacros().SetAppDir(folder);
  spell.SetConfigStorage(TConfigStorage::csNone);
  spell.SetConfigID("Screens");
  spell.SetConfigDictionaryDir({folder});
  spell.SetConfigDefaultMain({"Test.oxm"});
  spell.ConfigAvailableOptions = TSpellOptions::FromBits(0x3FF);
  spell.SetSuggestionsLearning(false);
  spell.SynchronousCheck = false;
  spell.DialogInitialPos = TSpellDialogInitialPos::ipAvoidControl;
  spell.HelpCtxSpellDialog = spell.HelpCtxConfigDialog = 1;
  spell.ActiveCustomDictionary()->AddWord("umzali");
  spell.ActiveCustomDictionary()->AddAutoCorrect("teh", "the");
  spell.ActiveCustomDictionary()->AddExcluded("colour");
  spell.InternalDictionary().AddWord("ibhuku");

  TOrthexRichEdit editor;
  editor.setWindowTitle("Tovuri");
  editor.resize(640, 360);
  editor.move(40, 40);
  QFont font = editor.font();
  font.setPointSize(13);
  editor.setFont(font);
  editor.SetOrthexSpell(&spell);
  TQtSpellUserInterface ui(spell, &editor);
  editor.setPlainText(
      "Abantu bahamba ekusenni. Umuntu uyahamba endlini.\n"
      "Umfana uyafnda, umama uyapheka.\n"
      "The cat sat, the dgo sat.");
  editor.show();

  QTimer::singleShot(300, [&] {
    if (scene == "menu") {
      const TScreenPoint p = editor.ClientPositionFromChar(18);
      const QPoint at(p.x + 4, p.y + editor.FontHeight() / 2);
      QContextMenuEvent event(QContextMenuEvent::Mouse, at, editor.viewport()->mapToGlobal(at));
      QApplication::sendEvent(editor.viewport(), &event);
    } else if (scene == "spelling") {
      editor.CheckControl(TCheckMode::cmAll);
    } else if (scene == "options") {
      spell.ShowConfigDialog();
    } else if (scene == "dictionaries") {
      spell.ShowCustomDictionariesDialog();
    } else if (scene == "newdict") {
      TNewCustomDictionaryDialog dialog(&editor);
      dialog.Control().SetSpell(&spell);
      dialog.exec();
    } else if (scene.startsWith("edit-")) {
      TCustomDictionaryEditDialog dialog(&editor, spell.ActiveCustomDictionary());
      dialog.Control().SetSpell(&spell);
      dialog.Pages()->setCurrentIndex(scene == "edit-pairs" ? 1 : scene == "edit-excluded" ? 2 : 0);
      dialog.exec();
    }
  });
  return app.exec();
}
