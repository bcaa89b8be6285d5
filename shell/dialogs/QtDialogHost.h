// The element parameter dialog and the plain message box that diagram
// objects open from Edit, as Qt windows.
#pragma once
#include <QDialog>
#include <functional>
#include <memory>

#include "diagram/DialogHost.h"

namespace Ui { class ElementParamDlg; }
class QLineEdit;

// The window of the element parameter dialog. Load shows a state, Store
// reads it back; the modified flag of a box is set only by the user's typing.
// OK closes it only when the state's check accepts the boxes; otherwise the
// check's message shows and its box is selected.
class CElementParamWindow : public QDialog {
    Q_OBJECT
public:
    explicit CElementParamWindow(QWidget* parent = nullptr);
    ~CElementParamWindow() override;

    void Load(const CElementDialogState& state);
    void Store(CElementDialogState& state) const;

    QLineEdit* Box(int index) const;  // tab order: name .. third number

    void accept() override;

private:
    std::unique_ptr<Ui::ElementParamDlg> m_ui;
    CElementDialogState m_shown;
};

class CQtDialogHost : public CDialogHost {
public:
    explicit CQtDialogHost(QWidget* parent) : m_pParent(parent) {}
    bool RunElementDialog(CElementDialogState& state) override;
    void ShowMessage(const std::string& text) override;

private:
    QWidget* m_pParent;
};
