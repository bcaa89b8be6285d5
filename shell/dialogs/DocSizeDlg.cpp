// The drawing-size dialog: shows the size with "%i" and takes the boxes
// back only as whole counts that fit an int32; anything else is refused
// with a message that names the box, and the dialog stays open.
#include "shell/dialogs/DocSizeDlg.h"

#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <limits>

#include "base/WholeText.h"
#include "ui_DocSizeDlg.h"
#include "shell/view/QtText.h"

CDocSizeDlg::CDocSizeDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::DocSizeDlg>()) {
    m_ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    m_ui->widthEdit->setValidator(digits);
    m_ui->heightEdit->setValidator(digits);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CDocSizeDlg::~CDocSizeDlg() = default;

void CDocSizeDlg::showEvent(QShowEvent* event) {
    m_ui->widthEdit->setText(QString::number(m_nWidth));
    m_ui->heightEdit->setText(QString::number(m_nHeight));
    m_ui->widthEdit->setFocus();
    m_ui->widthEdit->selectAll();
    QDialog::showEvent(event);
}

bool CDocSizeDlg::ReadBox(QLineEdit* pBox, const QLabel* pLabel, int32_t& value) {
    const QString text = pBox->text();
    if (text == QString::number(value)) return true;  // untouched: the size as it was
    const std::optional<uint64_t> count = ReadWholeCount(text.toStdString());
    if (count && *count <= uint64_t{std::numeric_limits<int32_t>::max()}) {
        value = static_cast<int32_t>(*count);
        return true;
    }
    QString caption = pLabel->text();
    caption.chop(caption.endsWith(':') ? 1 : 0);
    QMessageBox::warning(this, windowTitle(),
                         Message(EMessage::BoxNotAWholeNumber,
                                 {caption, QString::number(std::numeric_limits<int32_t>::max())}));
    pBox->setFocus();
    pBox->selectAll();
    return false;
}

void CDocSizeDlg::accept() {
    int32_t width = m_nWidth, height = m_nHeight;
    if (!ReadBox(m_ui->widthEdit, m_ui->widthLabel, width) || !ReadBox(m_ui->heightEdit, m_ui->heightLabel, height))
        return;
    m_nWidth = width;
    m_nHeight = height;
    QDialog::accept();
}
