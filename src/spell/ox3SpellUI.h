#pragma once
// Everything the checker component shows a person goes through one interface:
// the spelling dialog, message boxes, the busy cursor and the event pump of a
// check that waits for the user. The desktop program implements it with its
// widgets; tests implement it with a script of dialog commands.
#include <string>
#include <vector>

#include "spell/ox3ParserBase.h"
#include "spell/ox3TextControl.h"

namespace tovuri {

// Whether the component talks to the user at all.
enum class TSpellUI : unsigned char { suiDialog, suiSilent };

// Where the spelling dialog first appears.
enum class TSpellDialogInitialPos : unsigned char {
  ipScreenCenter,
  ipUnderSelection,
  ipAvoidControl,
  ipUserDefined,
  ipLastUserPos,
  ipIgnore,
};

// How the dialog keeps clear of the word it shows.
enum class TSpellDialogAvoidPos : unsigned char { saNone, saAvoid, saAvoidUpDown, saMove, saMoveUpDown };

// What the component asks of the dialog's placement; the window system work
// (monitor work area, the actual move) is the interface's.
enum class TDialogPlacement : unsigned char {
  dpScreenCenter,  // centre on the screen
  dpOffWord,       // move off the word's rectangle
  dpNearControl,   // below the control, else right of it, above it, left of it;
                   // when none fits: centre on the control (centre_on_control) or off the word
  dpAt,            // at (x, y)
  dpSystem,        // leave it to the window system
};

struct TDialogPlace {
  TDialogPlacement how = TDialogPlacement::dpSystem;
  int x = -1;
  int y = -1;
  TScreenRect control;
  TScreenRect word;
  bool centre_on_control = false;
};

// One entry of the correction menu: a command, a separator (empty caption)
// or a submenu (items not empty). Result is what choosing it answers.
struct TPopupMenuItem {
  std::string Caption;
  int Result = 0;
  bool Enabled = true;
  std::string Word;  // the suggestion an entry stands for
  std::vector<TPopupMenuItem> Items;
};

class TSpellUserInterface {
 public:
  virtual ~TSpellUserInterface();

  // Makes the spelling dialog visible, creating it when needed. A modal show
  // returns when HideSpellDialog ends it; the dialog calls the component's
  // DialogShowHook once it is up.
  virtual void ShowSpellDialog(bool modal) = 0;
  virtual void HideSpellDialog() = 0;
  // Puts a word on the dialog (in repeated mode the word twice with a space).
  virtual void PromptSpellDialog(const std::string& word, bool repeated) = 0;
  virtual void PlaceSpellDialog(const TDialogPlace& place) = 0;
  // Moves the dialog off the word's rectangle when they meet, or always with
  // saMove and saMoveUpDown; the UpDown kinds move only up or down.
  virtual void AvoidSelection(TSpellDialogAvoidPos avoid, const TScreenRect& word) = 0;
  // The dialog's position on the screen; false when there is no dialog.
  virtual bool SpellDialogPosition(int& x, int& y) = 0;

  // A Yes/No question with the information icon; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  virtual void ShowInformation(const std::string& caption, const std::string& text) = 0;

  virtual void SetBusyCursor() = 0;
  virtual void RestoreCursor() = 0;

  // Delivers pending events, the dialog's commands among them, while a
  // synchronous check waits. False when no event can ever come, which
  // cancels the check instead of waiting forever.
  virtual bool ProcessPendingEvents() = 0;

  // Shows a popup menu at a screen point until the user chooses or
  // dismisses it; the chosen entry, or null.
  virtual const TPopupMenuItem* ShowPopupMenu(const std::vector<TPopupMenuItem>& items, TScreenPoint at);
};

}  // namespace tovuri
