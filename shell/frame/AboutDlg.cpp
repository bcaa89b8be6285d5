// The About box: the application icon, the version line and one more line.
#include "shell/frame/AboutDlg.h"

#include "shell/frame/Resources.h"
#include "ui_AboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_pUi(std::make_unique<Ui::AboutDlg>()) {
    m_pUi->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    m_pUi->icon->setPixmap(LoadAppIcon().pixmap(32, 32));
}

CAboutDlg::~CAboutDlg() = default;
