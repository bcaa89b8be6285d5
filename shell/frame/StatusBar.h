// CStatusBar: the frame's status bar: a message pane that reads "Готово"
// when idle and a command's prompt while its item or button is under the
// mouse, a pane with the editor's mode and tool, then the CAP, NUM and SCRL
// indicator panes.
#pragma once
#include <QStatusBar>

class QLabel;

class CStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CStatusBar(QWidget* parent = nullptr);

    // The text of the message pane when no prompt covers it.
    void SetMessageText(const QString& text);
    // What the message pane shows now (a prompt while one is up).
    QString MessageText() const;
    QLabel* Indicator(int index) const { return m_indicators[index]; }
    void SetModeText(const QString& text);
    QString ModeText() const;

private:
    QLabel* m_pMessage;
    QLabel* m_pMode;
    QLabel* m_indicators[3];
};
