// Test doubles for the widget tests: a frame host whose menu state the test
// sets, and the shared scripted dialog host.
#pragma once
#include <QMenu>
#include <string>
#include <vector>

#include "shell/view/ViewHost.h"
#include "support/FakeDialogHost.h"

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
    bool AskSheetSize(int32_t&, int32_t&) override { return false; }
    void ShowDatabase() override {}
};
