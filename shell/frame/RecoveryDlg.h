// CRecoveryDlg: the models that a copy of Varnel left unsaved when it died,
// one row per model, each with «Восстановить», «Удалить» and «Позже».
// Deleting happens at once; a model left for later is offered at the next
// start; restoring ends the dialog with the model chosen.
#pragma once
#include <QDialog>
#include <vector>

#include "shell/frame/RecoveryFiles.h"

class CRecoveryDlg : public QDialog {
    Q_OBJECT
public:
    CRecoveryDlg(std::vector<CRecoveryEntry>& entries, QWidget* parent = nullptr);
    // The entry to restore, or null.
    CRecoveryEntry* Chosen() const { return m_pChosen; }

private:
    void AddRow(int row, CRecoveryEntry& entry);
    void CloseRow(int row);

    std::vector<CRecoveryEntry>& m_entries;
    std::vector<std::vector<QWidget*>> m_rows;
    CRecoveryEntry* m_pChosen = nullptr;
    int m_nOpenRows = 0;
};
