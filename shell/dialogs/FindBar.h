// CFindBar: the find line under the program text (Ctrl+F). Return finds
// the next match, Shift+Return the previous one, both wrapping round the
// text; Escape closes the bar instead of the dialog.
#pragma once
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

class CFindBar : public QWidget {
    Q_OBJECT
public:
    CFindBar(QPlainTextEdit* pEdit, QWidget* parent);

    // Shows the bar with the text field focused and selected.
    void Open();
    void Close();
    // False (and the field tinted) when the text does not occur.
    bool FindNext(bool bBackward = false);
    QLineEdit* Field() const { return m_pField; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_pEdit;
    QLineEdit* m_pField;
};
