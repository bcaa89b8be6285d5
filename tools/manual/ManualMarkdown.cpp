// Reading and converting the manual's Markdown; see ManualMarkdown.h.
#include "tools/manual/ManualMarkdown.h"

#include "base/Cp1251.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsFence(const std::string& line) { return line.rfind("```", 0) == 0; }

std::string Trim(std::string_view s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

// The heading level of a line ("## x" gives 2), 0 for any other line.
int HeadingLevel(const std::string& line) {
    size_t n = 0;
    while (n < line.size() && line[n] == '#') ++n;
    return (n >= 1 && n <= 6 && n < line.size() && line[n] == ' ') ? static_cast<int>(n) : 0;
}

// The text a reader sees: code spans and bold unwrapped, links as their text.
std::string PlainText(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '`' || s[i] == '*') continue;
        if (s[i] == ']' && i + 1 < s.size() && s[i + 1] == '(') {
            const size_t close = s.find(')', i);
            if (close != std::string_view::npos) i = close;
            continue;
        }
        if (s[i] == '[' || (s[i] == '!' && i + 1 < s.size() && s[i + 1] == '[')) continue;
        out += s[i];
    }
    return out;
}

}  // namespace

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string EscapeXml(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

namespace {

std::string HtmlTarget(const std::string& target) {
    const size_t hash = target.find('#');
    const std::string file = target.substr(0, hash);
    const std::string anchor = hash == std::string::npos ? "" : target.substr(hash);
    if (file.size() > 3 && file.compare(file.size() - 3, 3, ".md") == 0)
        return file.substr(0, file.size() - 3) + ".html" + anchor;
    return target;
}

std::string Inline(std::string_view s) {
    std::string out;
    bool bBold = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '`') {
            const size_t close = s.find('`', i + 1);
            if (close != std::string_view::npos) {
                out += "<code>" + EscapeXml(s.substr(i + 1, close - i - 1)) + "</code>";
                i = close;
                continue;
            }
        }
        if (s.substr(i, 2) == "**") {
            out += bBold ? "</b>" : "<b>";
            bBold = !bBold;
            ++i;
            continue;
        }
        const bool bImage = s.substr(i, 2) == "![";
        if (s[i] == '[' || bImage) {
            const size_t open = i + (bImage ? 1 : 0);
            const size_t mid = s.find("](", open);
            const size_t close = mid == std::string_view::npos ? mid : s.find(')', mid);
            if (close != std::string_view::npos) {
                const std::string text(s.substr(open + 1, mid - open - 1));
                const std::string target(s.substr(mid + 2, close - mid - 2));
                out += bImage ? "<img src=\"" + EscapeXml(target) + "\" alt=\"" + EscapeXml(text) + "\">"
                              : "<a href=\"" + EscapeXml(HtmlTarget(target)) + "\">" + Inline(text) + "</a>";
                i = close;
                continue;
            }
        }
        out += EscapeXml(s.substr(i, 1));
    }
    if (bBold) out += "</b>";
    return out;
}

// Table cells, split at '|' outside code spans.
std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    bool bCode = false;
    for (size_t i = 1; i < row.size(); ++i) {
        if (row[i] == '`') bCode = !bCode;
        if (row[i] == '|' && !bCode) {
            cells.push_back(Trim(cell));
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    return cells;
}

// The text of a list item's first line, or npos when the line is no item.
size_t ItemStart(const std::string& line, bool& bOrdered) {
    const size_t b = line.find_first_not_of(' ');
    if (b == std::string::npos || b > 3) return std::string::npos;
    if ((line[b] == '-' || line[b] == '*') && b + 1 < line.size() && line[b + 1] == ' ') {
        bOrdered = false;
        return b + 2;
    }
    size_t d = b;
    while (d < line.size() && std::isdigit(static_cast<unsigned char>(line[d]))) ++d;
    if (d > b && d + 1 < line.size() && line[d] == '.' && line[d + 1] == ' ') {
        bOrdered = true;
        return d + 2;
    }
    return std::string::npos;
}

class CHtmlWriter {
public:
    explicit CHtmlWriter(const std::string& markdown) : m_lines(SplitLines(markdown)) {
        for (const MdHeading& h : ReadHeadings(markdown)) m_slugs[h.nLine] = h.strSlug;
    }

    std::string Page() {
        std::string title = "Varnel";
        for (const std::string& line : m_lines)
            if (HeadingLevel(line) == 1) {
                title = PlainText(line.substr(2));
                break;
            }
        m_out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + EscapeXml(title) +
                "</title></head>\n<body>\n";
        while (m_i < m_lines.size()) Block();
        return m_out + "</body></html>\n";
    }

private:
    void Block() {
        const std::string& line = m_lines[m_i];
        bool bOrdered = false;
        if (Trim(line).empty()) {
            ++m_i;
        } else if (IsFence(line)) {
            Code();
        } else if (const int level = HeadingLevel(line)) {
            const std::string slug = m_slugs[static_cast<int>(m_i) + 1];
            const std::string tag = "h" + std::to_string(level);
            m_out += "<a name=\"" + slug + "\"></a><" + tag + " id=\"" + slug + "\">" +
                     Inline(line.substr(static_cast<size_t>(level) + 1)) + "</" + tag + ">\n";
            ++m_i;
        } else if (line[0] == '|') {
            Table();
        } else if (ItemStart(line, bOrdered) != std::string::npos) {
            List(bOrdered);
        } else {
            Paragraph();
        }
    }

    // Examples on grey, the messages they fail with on pink.
    void Code() {
        const bool bError = m_lines[m_i] == "```error";
        m_out += bError ? "<pre style=\"background-color:#fbeaea\">" : "<pre style=\"background-color:#f2f2f2\">";
        for (++m_i; m_i < m_lines.size() && !IsFence(m_lines[m_i]); ++m_i) m_out += EscapeXml(m_lines[m_i]) + "\n";
        ++m_i;
        m_out += "</pre>\n";
    }

    void Table() {
        m_out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
        bool bHead = true;
        for (; m_i < m_lines.size() && !m_lines[m_i].empty() && m_lines[m_i][0] == '|'; ++m_i) {
            if (m_lines[m_i].find("---") != std::string::npos && m_lines[m_i].find_first_not_of("|-: ") == std::string::npos) {
                bHead = false;
                continue;
            }
            m_out += "<tr>";
            for (const std::string& cell : Cells(m_lines[m_i]))
                m_out += (bHead ? "<th>" : "<td>") + Inline(cell) + (bHead ? "</th>" : "</td>");
            m_out += "</tr>\n";
        }
        m_out += "</table>\n";
    }

    void List(bool bOrdered) {
        m_out += bOrdered ? "<ol>\n" : "<ul>\n";
        std::string item;
        for (; m_i < m_lines.size(); ++m_i) {
            const std::string& line = m_lines[m_i];
            bool bItemOrdered = false;
            const size_t start = ItemStart(line, bItemOrdered);
            if (start != std::string::npos) {
                if (!item.empty()) m_out += "<li>" + Inline(item) + "</li>\n";
                item = line.substr(start);
            } else if (!Trim(line).empty() && line[0] == ' ') {
                item += " " + Trim(line);
            } else {
                break;
            }
        }
        if (!item.empty()) m_out += "<li>" + Inline(item) + "</li>\n";
        m_out += bOrdered ? "</ol>\n" : "</ul>\n";
    }

    void Paragraph() {
        std::string text;
        bool bOrdered = false;
        for (; m_i < m_lines.size(); ++m_i) {
            const std::string& line = m_lines[m_i];
            if (Trim(line).empty() || IsFence(line) || HeadingLevel(line) || line[0] == '|' ||
                (!text.empty() && ItemStart(line, bOrdered) != std::string::npos))
                break;
            text += (text.empty() ? "" : " ") + Trim(line);
        }
        m_out += "<p>" + Inline(text) + "</p>\n";
    }

    std::vector<std::string> m_lines;
    std::map<int, std::string> m_slugs;  // by 1-based line
    size_t m_i = 0;
    std::string m_out;
};

}  // namespace

std::string HeadingSlug(std::string_view text) {
    const std::string plain = PlainText(text);
    std::string slug;
    for (size_t i = 0; i < plain.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(plain, i, cp)) {
            ++i;
            continue;
        }
        if (cp >= 'A' && cp <= 'Z') cp += 'a' - 'A';
        if (cp >= 0x410 && cp <= 0x42F) cp += 0x20;
        if (cp == 0x401) cp = 0x451;
        if (cp == ' ') cp = '-';
        const bool bKeep = (cp >= 'a' && cp <= 'z') || (cp >= '0' && cp <= '9') || cp == '-' || cp == '_' ||
                           (cp >= 0x400 && cp <= 0x4FF);
        if (bKeep) AppendUtf8(slug, cp);
    }
    return slug;
}

std::vector<MdHeading> ReadHeadings(const std::string& markdown) {
    std::vector<MdHeading> headings;
    std::map<std::string, int> used;
    bool bCode = false;
    int nLine = 0;
    for (const std::string& line : SplitLines(markdown)) {
        ++nLine;
        if (IsFence(line)) bCode = !bCode;
        const int level = bCode ? 0 : HeadingLevel(line);
        if (level == 0) continue;
        MdHeading h;
        h.nLevel = level;
        h.strText = Trim(line.substr(static_cast<size_t>(level) + 1));
        h.nLine = nLine;
        h.strTitle = PlainText(h.strText);
        const std::string base = HeadingSlug(h.strText);
        const int n = used[base]++;
        h.strSlug = n == 0 ? base : base + "-" + std::to_string(n);
        const size_t close = h.strText.find('`', 1);
        h.strKeyword = (h.strText[0] == '`' && close != std::string::npos) ? h.strText.substr(1, close - 1)
                                                                             : h.strTitle;
        headings.push_back(h);
    }
    return headings;
}

std::vector<MdLink> ReadLinks(const std::string& markdown) {
    std::vector<MdLink> links;
    bool bCode = false;
    int nLine = 0;
    for (const std::string& line : SplitLines(markdown)) {
        ++nLine;
        if (IsFence(line)) bCode = !bCode;
        if (bCode) continue;
        bool bSpan = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '`') bSpan = !bSpan;
            if (bSpan || line.compare(i, 2, "](") != 0) continue;
            const size_t close = line.find(')', i);
            if (close == std::string::npos) continue;
            const size_t open = line.rfind('[', i);
            links.push_back({line.substr(i + 2, close - i - 2), open != std::string::npos && open > 0 && line[open - 1] == '!',
                             nLine});
        }
    }
    return links;
}

std::vector<MdCodeBlock> ReadCodeBlocks(const std::string& markdown) {
    std::vector<MdCodeBlock> blocks;
    const std::vector<std::string> lines = SplitLines(markdown);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsFence(lines[i])) continue;
        MdCodeBlock block{Trim(lines[i].substr(3)), "", static_cast<int>(i) + 1};
        for (++i; i < lines.size() && !IsFence(lines[i]); ++i) block.strText += lines[i] + "\n";
        blocks.push_back(block);
    }
    return blocks;
}

std::string MarkdownToHtml(const std::string& markdown) { return CHtmlWriter(markdown).Page(); }
