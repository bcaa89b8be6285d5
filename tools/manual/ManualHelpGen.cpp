// Build step: turns the manual's Markdown pages into HTML and writes the
// help project (contents from the headings, index from the headings'
// keywords, every page, picture and example model as a file) that
// qhelpgenerator compiles, plus the topic table the application uses to
// find the entry of a word or a message.
//
//   manual_helpgen SOURCE_DIR OUT_DIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/manual/ManualMarkdown.h"

namespace fs = std::filesystem;

namespace {

// The chapters in the order the manual's front page lists them.
std::vector<std::string> Chapters(const fs::path& source) {
    std::vector<std::string> pages{"README.md"};
    for (const MdLink& link : ReadLinks(ReadText(source / "README.md"))) {
        const std::string& t = link.strTarget;
        if (t.size() > 3 && t.compare(t.size() - 3, 3, ".md") == 0) pages.push_back(t);
    }
    return pages;
}

std::string HtmlName(const std::string& page) { return page.substr(0, page.size() - 3) + ".html"; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: manual_helpgen SOURCE_DIR OUT_DIR\n";
        return 2;
    }
    const fs::path source = argv[1];
    const fs::path out = argv[2];
    fs::create_directories(out);

    std::string toc, keywords, topics;
    std::vector<std::string> files;
    for (const std::string& page : Chapters(source)) {
        const std::string markdown = ReadText(source / page);
        const std::string html = HtmlName(page);
        std::ofstream(out / html, std::ios::binary) << MarkdownToHtml(markdown);
        files.push_back(html);
        std::vector<int> open;  // levels of the sections open on this page
        for (const MdHeading& h : ReadHeadings(markdown)) {
            const std::string ref = h.nLevel == 1 ? html : html + "#" + h.strSlug;
            const bool bFront = page == "README.md";
            if (h.nLevel <= 3 && (!bFront || h.nLevel == 1)) {
                for (; !open.empty() && open.back() >= h.nLevel; open.pop_back()) toc += "</section>\n";
                toc += "<section title=\"" + EscapeXml(h.strTitle) + "\" ref=\"" + EscapeXml(ref) + "\">\n";
                if (!bFront) open.push_back(h.nLevel);
            }
            if (h.nLevel >= 2 && !bFront) {
                keywords += "<keyword name=\"" + EscapeXml(h.strKeyword) + "\" ref=\"" + EscapeXml(ref) + "\"/>\n";
                topics += h.strKeyword + "\t" + ref + "\n";
            }
        }
        for (; !open.empty(); open.pop_back()) toc += "</section>\n";
    }
    toc += "</section>\n";  // the front page's, which holds every chapter

    for (const char* folder : {"pictures", "models"}) {
        if (!fs::is_directory(source / folder)) continue;
        fs::create_directories(out / folder);
        for (const auto& entry : fs::directory_iterator(source / folder)) {
            fs::copy_file(entry.path(), out / folder / entry.path().filename(), fs::copy_options::overwrite_existing);
            files.push_back(std::string(folder) + "/" + entry.path().filename().string());
        }
    }

    std::ofstream qhp(out / "varnel.qhp", std::ios::binary);
    qhp << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<QtHelpProject version=\"1.0\">\n"
           "<namespace>org.varnel.manual</namespace>\n<virtualFolder>manual</virtualFolder>\n"
           "<filterSection>\n<toc>\n"
        << toc << "</toc>\n<keywords>\n" << keywords << "</keywords>\n<files>\n";
    for (const std::string& file : files) qhp << "<file>" << EscapeXml(file) << "</file>\n";
    qhp << "</files>\n</filterSection>\n</QtHelpProject>\n";
    std::ofstream(out / "topics.tsv", std::ios::binary) << topics;
    return qhp.good() ? 0 : 1;
}
