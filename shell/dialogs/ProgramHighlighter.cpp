// Colours come from the same line reading as the check, so a name shows as
// unknown exactly when the run could not find it.
#include "shell/dialogs/ProgramHighlighter.h"

#include <array>

#include "interpreter/ProgramCheck.h"
#include "shell/view/QtText.h"

namespace {

QTextCharFormat Format(QColor color, bool bBold = false, bool bItalic = false) {
    QTextCharFormat format;
    format.setForeground(color);
    if (bBold) format.setFontWeight(QFont::Bold);
    format.setFontItalic(bItalic);
    return format;
}

// In the order of EProgramRole.
const std::array<QTextCharFormat, 8>& RoleFormats() {
    static const std::array<QTextCharFormat, 8> formats{
        Format(QColor(28, 63, 149), true),     // command word
        Format(QColor(145, 65, 172)),          // mark
        Format(QColor(119, 118, 123), false, true),  // comment, unread text
        Format(QColor(181, 80, 0)),            // number
        Format(QColor(38, 129, 43)),           // caption
        Format(QColor(14, 107, 115)),          // known name
        Format(QColor(192, 28, 40)),           // unknown name
        Format(QColor(28, 63, 149)),           // function
    };
    return formats;
}

}  // namespace

std::string EditorLineBytes(const QString& text) {
    std::string bytes = ToCp1251(text);
    if (bytes.size() == static_cast<size_t>(text.size())) return bytes;
    // Characters outside the basic plane take two units: one '?' each.
    bytes.clear();
    for (const QChar c : text) bytes += c.isSurrogate() ? std::string("?") : ToCp1251(QString(c));
    return bytes;
}

CProgramHighlighter::CProgramHighlighter(QTextDocument* pDocument) : QSyntaxHighlighter(pDocument) {}

void CProgramHighlighter::SetNames(const CProgramNames& names) {
    if (names == m_names) return;
    m_names = names;
    rehighlight();
}

void CProgramHighlighter::highlightBlock(const QString& text) {
    const int nLine = currentBlock().blockNumber() + 1;
    for (const CProgramToken& token : CheckLine(EditorLineBytes(text), nLine, m_names).tokens)
        setFormat(static_cast<int>(token.nStart), static_cast<int>(token.nLength),
                  RoleFormats()[static_cast<size_t>(token.role)]);
}
