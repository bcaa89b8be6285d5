// A scripted dialog host for tests. Each scripted run of the element
// parameter dialog types into boxes (as a user would: only editable boxes
// take text, and typing marks the box modified) and ends with OK or Cancel.
// An OK the dialog refuses shows its message, and the next run types on in
// the same dialog.
// The host keeps every dialog as it was shown and every message box text.
#pragma once
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "diagram/DialogHost.h"

class FakeDialogHost : public CDialogHost {
public:
    using Box = CDialogBox CElementDialogState::*;

    // Dialogs as they opened, before any typing.
    std::vector<CElementDialogState> shown;
    std::vector<std::string> messages;
    // Typing aimed at a read-only or disabled box (it had no effect).
    int refusedTyping = 0;
    // The box each refused OK selected (its message is the dialog's).
    std::vector<int> refusedBoxes;

    // Queues text typed into a box of the next scripted run.
    FakeDialogHost& Type(Box box, std::string text) {
        m_pending.emplace_back(box, std::move(text));
        return *this;
    }
    // Closes the scripted run with OK or Cancel; the typing queued so far
    // belongs to it.
    FakeDialogHost& Ok() { return Close(true); }
    FakeDialogHost& Cancel() { return Close(false); }

    bool RunElementDialog(CElementDialogState& state) override {
        shown.push_back(state);
        CElementDialogState typed = state;
        for (;;) {
            if (m_runs.empty()) return false;  // unscripted: the user cancels
            Run run = std::move(m_runs.front());
            m_runs.pop_front();
            if (!run.ok) return false;  // Cancel leaves the state untouched
            for (auto& [box, text] : run.typing) {
                CDialogBox& target = typed.*box;
                if (target.bReadOnly || !target.bEnabled) ++refusedTyping;
                else target.strText = text, target.bModified = true;
            }
            const std::optional<CBoxRefusal> refusal = typed.check ? typed.check(typed) : std::nullopt;
            if (!refusal) return state = typed, true;
            refusedBoxes.push_back(refusal->nBox);
        }
    }

    void ShowMessage(const std::string& text) override { messages.push_back(text); }

private:
    struct Run {
        std::vector<std::pair<Box, std::string>> typing;
        bool ok = false;
    };
    FakeDialogHost& Close(bool ok) {
        m_runs.push_back(Run{std::move(m_pending), ok});
        m_pending.clear();
        return *this;
    }

    std::vector<std::pair<Box, std::string>> m_pending;
    std::deque<Run> m_runs;
};
