// Qt side of the element parameter dialog: read-only text boxes stay
// selectable, disabled boxes are greyed, and a box counts as modified once
// the user has typed in it, even if the text ends as it began.
#include "shell/dialogs/QtDialogHost.h"

#include <QApplication>
#include <QMessageBox>

#include "shell/view/QtText.h"
#include "ui_ElementParamDlg.h"

namespace {

void LoadBox(QLineEdit* edit, const CDialogBox& box) {
    edit->setText(FromCp1251(box.strText));  // resets the user-modified flag
    edit->setReadOnly(box.bReadOnly);
    edit->setEnabled(box.bEnabled);
}

void StoreBox(const QLineEdit* edit, CDialogBox& box) {
    box.strText = ToCp1251(edit->text());
    box.bModified = edit->isModified();
}

}  // namespace

CElementParamWindow::CElementParamWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ElementParamDlg>()) {
    m_ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CElementParamWindow::~CElementParamWindow() = default;

QLineEdit* CElementParamWindow::Box(int index) const {
    QLineEdit* const boxes[] = {m_ui->nameEdit, m_ui->descriptionEdit, m_ui->valuesEdit,
                                m_ui->fromEdit,  m_ui->toEdit,          m_ui->stepEdit};
    return (index >= 0 && index < 6) ? boxes[index] : nullptr;
}

void CElementParamWindow::Load(const CElementDialogState& state) {
    m_shown = state;
    const CDialogBox* boxes[] = {&state.name,  &state.description, &state.values,
                                 &state.first, &state.second,      &state.third};
    for (int i = 0; i < 6; ++i) LoadBox(Box(i), *boxes[i]);
    // An empty caption keeps the template's own ("От:", "До:", "Шаг:").
    if (!state.strFirstCaption.empty()) m_ui->fromLabel->setText(FromCp1251(state.strFirstCaption));
    if (!state.strSecondCaption.empty()) m_ui->toLabel->setText(FromCp1251(state.strSecondCaption));
    if (!state.strThirdCaption.empty()) m_ui->stepLabel->setText(FromCp1251(state.strThirdCaption));
    // The first box that can take the focus gets it, as on a fresh dialog.
    for (int i = 0; i < 6; ++i) {
        if (Box(i)->isEnabled()) {
            Box(i)->setFocus();
            break;
        }
    }
}

void CElementParamWindow::Store(CElementDialogState& state) const {
    CDialogBox* boxes[] = {&state.name,  &state.description, &state.values,
                           &state.first, &state.second,      &state.third};
    for (int i = 0; i < 6; ++i) StoreBox(Box(i), *boxes[i]);
}

void CElementParamWindow::accept() {
    if (m_shown.check) {
        CElementDialogState typed = m_shown;
        Store(typed);
        if (const std::optional<CBoxRefusal> refusal = m_shown.check(typed)) {
            QMessageBox::warning(this, windowTitle(), FromCp1251(refusal->strMessage));
            if (QLineEdit* pBox = Box(refusal->nBox)) {
                pBox->setFocus();
                pBox->selectAll();
            }
            return;
        }
    }
    QDialog::accept();
}

bool CQtDialogHost::RunElementDialog(CElementDialogState& state) {
    CElementParamWindow window(m_pParent);
    window.Load(state);
    if (window.exec() != QDialog::Accepted) return false;
    window.Store(state);
    return true;
}

void CQtDialogHost::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), FromCp1251(text),
                    QMessageBox::Ok, m_pParent);
    box.exec();
}
