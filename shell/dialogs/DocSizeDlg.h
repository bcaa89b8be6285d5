// CDocSizeDlg: the drawing-size dialog, the sheet's width and height in
// two digits-only boxes.
#pragma once
#include <QDialog>
#include <cstdint>
#include <memory>
#include <string_view>

namespace Ui { class DocSizeDlg; }

class CDocSizeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDocSizeDlg(QWidget* parent = nullptr);
    ~CDocSizeDlg() override;

    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::DocSizeDlg> m_ui;
};

// The boxes' reading rule: leading blanks and one sign are skipped, digits
// are taken up to the first other character, no digits give 0, and values
// beyond the int32 range saturate.
int32_t ReadDecimalInt(std::string_view text);
