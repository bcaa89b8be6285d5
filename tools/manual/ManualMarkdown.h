// The small Markdown of the user manual (docs/manual): headings and their
// anchors, links, fenced code, tables, lists, inline code, bold. The build
// turns the pages into the help collection with it, and the manual's tests
// read the pages with it, so both agree on what an anchor is called.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct MdHeading {
    int nLevel = 0;
    std::string strText;     // as written, inline markup included
    std::string strTitle;    // as a reader sees it
    std::string strSlug;     // the anchor, as a repository host names it
    std::string strKeyword;  // the leading code span's text, or the plain text
    int nLine = 0;
};

struct MdLink {
    std::string strTarget;
    bool bImage = false;
    int nLine = 0;
};

struct MdCodeBlock {
    std::string strInfo;  // the words after the opening fence
    std::string strText;  // the lines inside, each ending in '\n'
    int nLine = 0;        // of the opening fence
};

// Lower-case letters and digits, '-' and '_' kept, spaces to '-', other
// characters dropped; Cyrillic letters are kept and lowered.
std::string HeadingSlug(std::string_view text);
// Headings outside fenced code, with slugs made unique by "-1", "-2"...
std::vector<MdHeading> ReadHeadings(const std::string& markdown);
// Links and pictures outside code.
std::vector<MdLink> ReadLinks(const std::string& markdown);
std::vector<MdCodeBlock> ReadCodeBlocks(const std::string& markdown);
// A whole file as bytes; empty when it cannot be read.
std::string ReadText(const std::filesystem::path& path);
// Text with & < > " written as XML entities.
std::string EscapeXml(std::string_view s);
// A whole HTML page; links to ".md" pages become links to ".html" pages.
std::string MarkdownToHtml(const std::string& markdown);
