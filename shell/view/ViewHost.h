// What the drawing view needs from the main frame: which menu bar is shown
// (drawing mode is on exactly while the drawing menu is), switching it, and
// the tools submenu for the context menu.
#pragma once

class QMenu;

enum : int { IDR_MAINFRAME = 128, IDR_DRAWMENU = 132 };

class CViewHost {
public:
    virtual ~CViewHost() = default;
    // True while the drawing menu (132) is the frame's menu bar: the check
    // mark of "Чертеж" in its second submenu says so.
    virtual bool IsDrawingMode() const = 0;
    virtual void SwitchMenu(int menuId) = 0;
    // The fourth top-level submenu of the current menu bar.
    virtual QMenu* ContextSubmenu() const = 0;
};
