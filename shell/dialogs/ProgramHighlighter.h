// CProgramHighlighter: colours the program editor's text by the check's
// reading of each line: command words, marks, comments and unread text,
// numbers, captions, and names the run can know against unknown ones.
#pragma once
#include <QSyntaxHighlighter>

#include "interpreter/ProgramNames.h"

class CProgramHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit CProgramHighlighter(QTextDocument* pDocument);

    // The names the colours are judged by; recolours when they changed.
    void SetNames(const CProgramNames& names);
    const CProgramNames& Names() const { return m_names; }

protected:
    void highlightBlock(const QString& text) override;

private:
    CProgramNames m_names;
};

// A line of the editor as program bytes, one byte for each UTF-16 unit so
// that offsets into the two agree.
std::string EditorLineBytes(const QString& text);
