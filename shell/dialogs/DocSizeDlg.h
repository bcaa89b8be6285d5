// CDocSizeDlg: the drawing-size dialog, the sheet's width and height in
// two digits-only boxes.
#pragma once
#include <QDialog>
#include <cstdint>
#include <memory>

namespace Ui { class DocSizeDlg; }
class QLabel;
class QLineEdit;

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
    // Reads a box into value; false, with the message shown and the box
    // selected, when it holds no whole count that fits.
    bool ReadBox(QLineEdit* pBox, const QLabel* pLabel, int32_t& value);

    std::unique_ptr<Ui::DocSizeDlg> m_ui;
};
