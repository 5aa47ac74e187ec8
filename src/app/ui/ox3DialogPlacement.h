#pragma once
// Where the spelling dialog goes on the screen: pure geometry over
// rectangles, so that the rules are tested without a window system.
#include <QPoint>
#include <QRect>

#include "spell/ox3SpellUI.h"

class QWidget;

namespace tovuri {

QRect ToQRect(const TScreenRect& rect);

// The dialog's top left corner below the control (left edges aligned) if it
// fits in the work area, else right of it (tops aligned), else above it,
// else left of it; when none fits, centred on the control (centre) or off the word.
QPoint PlaceNearControl(const QRect& dialog, const QRect& control, const QRect& word, const QRect& work,
                        bool centre);

// The dialog's top left corner once it is off the word: below or above it
// (the nearer side that fits first), and with saAvoid or saMove also right
// or left of it. saAvoid and saAvoidUpDown move only a dialog that overlaps
// the word; saNone never moves it.
QPoint MoveOffWord(const QRect& dialog, const QRect& word, const QRect& work, TSpellDialogAvoidPos avoid);

// A window fitted into the work area. window is the frame's top left with
// the client area's size; frame_extra the frame's size less the client's
// (title bar and borders). The client shrinks as far as needed, no further
// than minimum, and the frame moves inside, its title bar first; the result
// is again the frame's top left with the client's size.
QRect FitIntoWorkArea(const QRect& window, const QSize& frame_extra, const QSize& minimum, const QRect& work);

// Fits a top-level window into the available geometry of its screen.
void FitOnScreen(QWidget& window);

}  // namespace tovuri
