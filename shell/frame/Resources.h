// The resource files compiled into the executable (menus, string table,
// accelerators, toolbar, icon), read from the Qt resource system at run
// time. A missing or damaged resource is a build fault: the loaders return
// empty results and the frame refuses to start.
#pragma once
#include <QIcon>
#include <QKeySequence>
#include <QPixmap>
#include <QString>
#include <vector>

struct CMenuItemRes {
    QString strText;      // with '&' mnemonics and "\t" before a key name
    int nId = 0;          // 0 for separators and submenus
    bool bSeparator = false;
    bool bChecked = false;
    bool bGrayed = false;
    std::vector<CMenuItemRes> items;  // a submenu's items
};

struct CAcceleratorRes {
    QKeySequence keys;
    int nId = 0;
};

struct CToolBarRes {
    int nWidth = 0;
    int nHeight = 0;
    QPixmap image;
    std::vector<int> buttons;  // command ids, 0 for a gap
};

// The top-level submenus of a menu bar; empty when the id is unknown.
std::vector<CMenuItemRes> LoadMenuResource(int nMenuId);
// The string of the table, or an empty string.
QString LoadResString(int nId);
// The status-bar prompt (before the line feed) and the tool tip (after it).
QString CommandPrompt(int nId);
QString CommandToolTip(int nId);
std::vector<CAcceleratorRes> LoadAcceleratorTable(int nTableId);
CToolBarRes LoadToolBarResource(int nToolBarId);
// The icon named "IDR_VARNELTYPE".
QIcon LoadAppIcon();
