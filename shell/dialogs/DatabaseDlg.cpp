// The database dialog keeps row i standing for object i of the list: rows
// are filled in list order, never sorted, and a row goes together with its
// object. Edits and deletions go through the view, into the undo history.
#include "shell/dialogs/DatabaseDlg.h"

#include <QSignalBlocker>

#include "diagram/EntityList.h"
#include "diagram/ObjectRows.h"
#include "document/VarnelDoc.h"
#include "shell/view/QtText.h"
#include "shell/view/VarnelView.h"
#include "ui_DatabaseDlg.h"

CDatabaseDlg::CDatabaseDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::DatabaseDlg>()) {
    m_ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // The selection, not the current row, is what the user sees: focusing the
    // list makes a row current without selecting it.
    connect(m_ui->objectList, &QListWidget::itemSelectionChanged, this, [this] { OnSelChange(SelectedRow()); });
    connect(m_ui->editButton, &QPushButton::clicked, this, &CDatabaseDlg::OnEdit);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CDatabaseDlg::OnDelete);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

CDatabaseDlg::~CDatabaseDlg() = default;

QListWidget* CDatabaseDlg::Rows() const {
    return m_ui->objectList;
}

int CDatabaseDlg::SelectedRow() const {
    const QList<QListWidgetItem*> selected = m_ui->objectList->selectedItems();
    return selected.isEmpty() ? -1 : m_ui->objectList->row(selected.first());
}

void CDatabaseDlg::showEvent(QShowEvent* event) {
    if (!m_bFilled) Fill();
    QDialog::showEvent(event);
}

void CDatabaseDlg::Fill() {
    m_bFilled = true;
    if (m_pList == nullptr) return;
    const QSignalBlocker blocker(m_ui->objectList);
    for (size_t i = 0; i < m_pList->GetCount(); ++i) {
        CVEntity* pEntity = m_pList->GetAt(i);
        auto* row = new QListWidgetItem(FromCp1251(DatabaseRowText(*pEntity)));
        row->setData(Qt::UserRole, pEntity->m_nId);
        m_ui->objectList->addItem(row);
    }
    m_ui->objectList->setCurrentRow(-1);
}

void CDatabaseDlg::OnSelChange(int row) {
    if (m_pList == nullptr) return;
    auto highlight = [&](CDrawContext* pDC, const CPoint* pScroll) {
        for (size_t i = 0; i < m_pList->GetCount(); ++i)
            m_pList->GetAt(i)->SetHighlight(static_cast<int>(i) == row, pDC, pScroll);
    };
    if (m_pView == nullptr) {
        highlight(nullptr, nullptr);
        return;
    }
    const CPoint scroll = m_pView->ScrollPosition();
    m_pView->DrawOnClient([&](CDrawContext& dc) { highlight(&dc, &scroll); });
}

void CDatabaseDlg::OnEdit() {
    if (m_pList == nullptr) return;
    const int row = SelectedRow();
    if (row >= 0 && static_cast<size_t>(row) < m_pList->GetCount() && m_pView != nullptr) {
        m_pView->EditEntity(*m_pList->GetAt(row), true);
    }
    RepaintView();
}

void CDatabaseDlg::OnDelete() {
    if (m_pList == nullptr) return;
    const int row = SelectedRow();
    if (row >= 0 && static_cast<size_t>(row) < m_pList->GetCount()) {
        // Through the view, so that the deletion can be undone; the row and
        // the object go together either way.
        const CVarnelDoc* pDoc = m_pView ? m_pView->Document() : nullptr;
        if (pDoc != nullptr && pDoc->m_pEntityList.get() == m_pList)
            m_pView->DeleteEntityAt(static_cast<size_t>(row));
        else
            m_pList->RemoveAt(row);
        {
            // Deleting a row leaves no row selected and announces nothing.
            const QSignalBlocker blocker(m_ui->objectList);
            delete m_ui->objectList->takeItem(row);
            m_ui->objectList->setCurrentRow(-1);
            m_ui->objectList->clearSelection();
        }
    }
    RepaintView();
}

void CDatabaseDlg::done(int result) {
    if (m_pList != nullptr) m_pList->HighlightNone(nullptr);
    RepaintView();
    QDialog::done(result);
}

void CDatabaseDlg::RepaintView() {
    if (m_pView != nullptr) m_pView->RepaintView();
}
