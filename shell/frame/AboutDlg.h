// CAboutDlg: the About box (template 100), shown modally and closed by OK.
#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class AboutDlg;
}

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::AboutDlg> m_pUi;
};
