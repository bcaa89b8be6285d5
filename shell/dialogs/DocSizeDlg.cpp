// The drawing-size dialog: shows the size with "%i" and reads the boxes
// back as decimal integers without checking any range.
#include "shell/dialogs/DocSizeDlg.h"

#include <QRegularExpressionValidator>
#include <limits>

#include "ui_DocSizeDlg.h"

int32_t ReadDecimalInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate in 64 bits and stop growing once past the int32 range.
    const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(limit, value * 10 + (text[i] - '0'));
    if (negative) return static_cast<int32_t>(-value);  // -2^31 still fits
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

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

void CDocSizeDlg::accept() {
    m_nWidth = ReadDecimalInt(m_ui->widthEdit->text().toStdString());
    m_nHeight = ReadDecimalInt(m_ui->heightEdit->text().toStdString());
    QDialog::accept();
}
