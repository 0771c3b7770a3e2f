// Hooks for tests: what a user would do with the mouse or see on the screen, done or observed
// from code. A library of its own (gyrodesk_afx_testing) that the program does not link.
#pragma once

#include <string>
#include <vector>

#include <QImage>

#include <afx/CDialog.h>
#include <afx/CMenu.h>

#include "../../src/PaintLog.h"

class QWidget;

namespace afx::testing {

// ---- System menu ------------------------------------------------------------------------
// The dialog's system menu as it would open now (items enabled for the window's state).
std::vector<CMenu::Item> SystemMenuItems(CWnd& window);
// Chooses the item with command id as if clicked in the open menu: FALSE when there is no
// such item or it is disabled. As from the menu, the choice reaches the window as
// WM_SYSCOMMAND once events are next processed (so a box it opens does not block the caller).
BOOL ChooseSystemMenuItem(CWnd& window, UINT id);
// The system menu popup that is open now, or null.
QWidget* OpenSystemMenu();

// ---- Painting ---------------------------------------------------------------------------
// One drawing operation of a paint, in client pixels.
using PaintRecord = detail::PaintRecord;
// Starts recording (clearing what was recorded before).
void StartPaintLog();
// What was drawn since StartPaintLog; recording goes on.
std::vector<PaintRecord> PaintLog();
void StopPaintLog();

// Paints the window now and returns its client area as an image.
QImage Render(CWnd& window);
// Changes the client area to w x h pixels: a window with a sizing frame is resized as a user
// would resize it; a dialog's size, otherwise fixed, is fixed anew.
void SetClientSize(CWnd& window, int w, int h);

// ---- Modal windows ----------------------------------------------------------------------
// The layer's modal windows that are open, outermost first: dialogs and message boxes.
std::vector<QWidget*> ModalStack();
// True when dialog's own modal loop is the innermost one running (no box open above it).
bool IsInnermostModal(const CDialog& dialog);
// The message boxes that are open, outermost first.
std::vector<QWidget*> OpenMessageBoxes();

}  // namespace afx::testing
