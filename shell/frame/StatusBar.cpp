// The status bar panes. Prompts arrive as status tips from the menus and
// the toolbar and cover the message pane while they last.
#include "shell/frame/StatusBar.h"

#include <QLabel>

#include "shell/view/CommandIds.h"
#include "shell/frame/Resources.h"

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName("statusBar");
    m_pMessage = new QLabel(LoadResString(IDS_IDLE_MESSAGE), this);
    addWidget(m_pMessage, 1);
    m_pMode = new QLabel(this);
    m_pMode->setObjectName("modePane");
    m_pMode->setFrameShape(QFrame::Panel);
    m_pMode->setFrameShadow(QFrame::Sunken);
    addPermanentWidget(m_pMode);
    const int ids[3] = {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = new QLabel(LoadResString(ids[i]), this);
        m_indicators[i]->setFrameShape(QFrame::Panel);
        m_indicators[i]->setFrameShadow(QFrame::Sunken);
        m_indicators[i]->setAlignment(Qt::AlignCenter);
        m_indicators[i]->setMinimumWidth(m_indicators[i]->fontMetrics().horizontalAdvance("SCRL") + 8);
        m_indicators[i]->setEnabled(false);  // Qt offers no portable way to read the lock keys
        addPermanentWidget(m_indicators[i]);
    }
}

void CStatusBar::SetMessageText(const QString& text) {
    m_pMessage->setText(text);
    m_pMessage->repaint();  // long commands do not return to the event loop at once
}

QString CStatusBar::MessageText() const {
    const QString prompt = currentMessage();
    return prompt.isEmpty() ? m_pMessage->text() : prompt;
}

void CStatusBar::SetModeText(const QString& text) { m_pMode->setText(text); }

QString CStatusBar::ModeText() const { return m_pMode->text(); }
