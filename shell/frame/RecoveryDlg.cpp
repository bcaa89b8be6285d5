// The recovery list.
#include "shell/frame/RecoveryDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "shell/frame/Resources.h"
#include "shell/view/CommandIds.h"

CRecoveryDlg::CRecoveryDlg(std::vector<CRecoveryEntry>& entries, QWidget* parent) : QDialog(parent), m_entries(entries) {
    setWindowTitle(LoadResString(IDS_APP_TITLE));
    auto* pGrid = new QGridLayout(this);
    auto* pIntro = new QLabel(QStringLiteral("Varnel завершил работу, не сохранив изменения. Их можно восстановить:"), this);
    pGrid->addWidget(pIntro, 0, 0, 1, 4);
    for (size_t i = 0; i < entries.size(); ++i) AddRow(static_cast<int>(i), entries[i]);
}

void CRecoveryDlg::AddRow(int row, CRecoveryEntry& entry) {
    auto* pGrid = static_cast<QGridLayout*>(layout());
    const QString& model = entry.meta.strModelPath;
    const QString name = model.isEmpty() ? QStringLiteral("Безымянный") : QFileInfo(model).fileName();
    const QString where = model.isEmpty() ? QStringLiteral("модель не сохранялась") : QDir::toNativeSeparators(model);
    auto* pText = new QLabel(QString("<b>%1</b><br>%2<br>изменения от %3")
                                 .arg(name.toHtmlEscaped(), where.toHtmlEscaped(),
                                      entry.WrittenAt().toLocalTime().toString("dd.MM.yyyy HH:mm:ss")), this);
    std::vector<QWidget*> widgets{pText};
    pGrid->addWidget(pText, row + 1, 0);
    const QStringList kButtons = {QStringLiteral("Восстановить"), QStringLiteral("Удалить"), QStringLiteral("Позже")};
    for (int k = 0; k < kButtons.size(); ++k) {
        auto* pButton = new QPushButton(kButtons[k], this);
        pButton->setAutoDefault(false);
        pGrid->addWidget(pButton, row + 1, k + 1);
        widgets.push_back(pButton);
        connect(pButton, &QPushButton::clicked, this, [this, row, k, &entry] {
            if (k == 0) {
                m_pChosen = &entry;
                accept();
                return;
            }
            if (k == 1) RemoveRecovery(entry);
            CloseRow(row);
        });
    }
    m_rows.push_back(std::move(widgets));
    ++m_nOpenRows;
}

void CRecoveryDlg::CloseRow(int row) {
    for (QWidget* pWidget : m_rows[row]) pWidget->hide();
    if (--m_nOpenRows == 0) reject();
}
