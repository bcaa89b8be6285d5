// What the drawing view needs from the main frame: which menu bar is shown
// (drawing mode is on exactly while the drawing menu is), switching it, the
// tools submenu for the context menu, and the dialogs of the view's
// commands, which live above the view.
#pragma once
#include <cstdint>

#include "shell/view/CommandIds.h"

class QMenu;

class CViewHost {
public:
    virtual ~CViewHost() = default;
    // True while the drawing menu (132) is the frame's menu bar: the check
    // mark of "Чертеж" in its second submenu says so.
    virtual bool IsDrawingMode() const = 0;
    virtual void SwitchMenu(int menuId) = 0;
    // The fourth top-level submenu of the current menu bar.
    virtual QMenu* ContextSubmenu() const = 0;
    // The sheet-size dialog with the current size; true and the new size
    // when it ends with OK.
    virtual bool AskSheetSize(int32_t& nWidth, int32_t& nHeight) = 0;
    // The drawing database dialog on the view's document, modally.
    virtual void ShowDatabase() = 0;
};
