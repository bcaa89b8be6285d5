// Test doubles for the widget tests: a frame host whose menu state the test
// sets, and a dialog host that records every dialog it was asked to run.
#pragma once
#include <QMenu>
#include <string>
#include <vector>

#include "diagram/DialogHost.h"
#include "shell/view/ViewHost.h"

class FakeViewHost : public CViewHost {
public:
    bool bDrawing = false;
    std::vector<int> switched;
    mutable QMenu menu;

    FakeViewHost() { menu.addAction(QStringLiteral("Линия")); }
    bool IsDrawingMode() const override { return bDrawing; }
    void SwitchMenu(int menuId) override {
        switched.push_back(menuId);
        bDrawing = (menuId == IDR_DRAWMENU);
    }
    QMenu* ContextSubmenu() const override { return &menu; }
};

class FakeDialogHost : public CDialogHost {
public:
    std::vector<CElementDialogState> shown;
    std::vector<std::string> messages;
    bool bAccept = false;
    std::string strTypeIntoName;  // when set, the "user" types this name

    bool RunElementDialog(CElementDialogState& state) override {
        shown.push_back(state);
        if (!bAccept) return false;
        if (!strTypeIntoName.empty()) {
            state.name.strText = strTypeIntoName;
            state.name.bModified = true;
        }
        return true;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};
