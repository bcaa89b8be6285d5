// What the diagram objects need from the window system when the user edits
// them: the element parameter dialog and a plain message box. The desktop
// shell implements it with real dialogs; tests script it.
#pragma once
#include <functional>
#include <optional>
#include <string>

// One single-line box of the element parameter dialog.
struct CDialogBox {
    std::string strText;
    bool bReadOnly = false;  // text boxes: shown and selectable, not changeable
    bool bEnabled = true;    // disabled boxes are greyed and take no focus
    bool bModified = false;  // set by the host: the user typed in the box
};

// Why OK was refused: the box to select (0 name .. 5 third, in tab order)
// and the message that names it.
struct CBoxRefusal {
    int nBox = 0;
    std::string strMessage;
};

// Everything the element parameter dialog shows, in tab order.
struct CElementDialogState {
    CDialogBox name;
    CDialogBox description;
    CDialogBox values;
    CDialogBox first;   // "From" / first value
    CDialogBox second;  // "To" / second value
    CDialogBox third;   // "Step" / threshold
    std::string strFirstCaption;
    std::string strSecondCaption;
    std::string strThirdCaption;
    // Asked on OK with the boxes as typed: a refusal keeps the dialog open
    // with the message shown and the box selected. None: OK always closes.
    std::function<std::optional<CBoxRefusal>(const CElementDialogState&)> check;
};

class CDialogHost {
public:
    virtual ~CDialogHost() = default;
    // Runs the dialog modally. Returns true for an OK that the state's check
    // accepts, after writing back every box's text and modified state; false
    // for Cancel, touching nothing.
    virtual bool RunElementDialog(CElementDialogState& state) = 0;
    // A message box with an OK button and no icon.
    virtual void ShowMessage(const std::string& text) = 0;
};
