// The user manual (docs/manual) held against the program: every statement,
// function, attribute and message has its entry, every link and
// picture resolves, every program example runs through `varnel run` (or
// fails with the message printed under it), and the command-line chapter
// names every verb and option of the usage text and the manual page.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "app/cli/ModelJson.h"
#include "interpreter/Functions.h"
#include "base/Messages.h"
#include "cli/Cli.h"
#include "tools/manual/ManualMarkdown.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = VARNEL_SOURCE_DIR;
const fs::path kManual = kSource / "docs" / "manual";

std::set<std::string> Keywords(const std::string& page) {
    std::set<std::string> words;
    for (const MdHeading& h : ReadHeadings(ReadText(kManual / page))) words.insert(h.strKeyword);
    return words;
}

// A heading such as "Bad 'WORD' command (N)." as a pattern of the messages it
// stands for.
std::regex MessagePattern(const std::string& keyword) {
    static const std::regex placeholder("\\b(NAME|WORD|KEY|N|FILE|REASON)\\b");
    std::string pattern;
    std::smatch m;
    std::string rest = keyword;
    auto escape = [](const std::string& s) {
        std::string out;
        for (char c : s) {
            if (std::string(".^$|()[]{}*+?\\").find(c) != std::string::npos) out += '\\';
            out += c;
        }
        return out;
    };
    while (std::regex_search(rest, m, placeholder)) {
        pattern += escape(m.prefix().str()) + ".*";
        rest = m.suffix().str();
    }
    return std::regex(pattern + escape(rest));
}

bool HasMessageEntry(const std::string& message) {
    static const std::vector<std::regex> patterns = [] {
        std::vector<std::regex> list;
        for (const std::string& keyword : Keywords("messages.md")) list.push_back(MessagePattern(keyword));
        return list;
    }();
    for (const std::regex& pattern : patterns)
        if (std::regex_match(message, pattern)) return true;
    return false;
}

std::vector<fs::path> Pages() {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(kManual))
        if (entry.path().extension() == ".md") pages.push_back(entry.path());
    return pages;
}

}  // namespace

TEST(Manual, EveryStatementFunctionAndAttributeHasAnEntry) {
    const std::set<std::string> words = Keywords("language.md");
    for (const char* word : {"var", "set", "if", "goto", "mark", "graphic", "plot", "'", "color", "text", "loX", "hiX",
                             "loY", "hiY", "divY"})
        EXPECT_TRUE(words.count(word)) << word;
    for (const CFunction& function : Functions()) EXPECT_TRUE(words.count(function.pszName)) << function.pszName;
}

// Every message of the product's table, its placeholders filled (the
// program corpus's messages are such messages).
TEST(Manual, EveryMessageOfTheTableHasAnEntry) {
    EXPECT_FALSE(HasMessageEntry("Something the program never says."));
    for (const CMessageText& entry : MessageTexts()) {
        const std::string shown = std::regex_replace(
            std::regex_replace(std::regex_replace(entry.pszText, std::regex("\\{kind\\}"), "table"),
                               std::regex("\\{[a-z]+\\}"), "x1"),
            std::regex("\n"), " ");
        EXPECT_TRUE(HasMessageEntry(shown)) << entry.pszKey << ": " << shown;
    }
}

TEST(Manual, EveryLinkAndPictureResolves) {
    int nLinks = 0;
    for (const fs::path& page : Pages()) {
        for (const MdLink& link : ReadLinks(ReadText(page))) {
            if (link.strTarget.rfind("http", 0) == 0) continue;
            ++nLinks;
            const size_t hash = link.strTarget.find('#');
            const std::string file = link.strTarget.substr(0, hash);
            const fs::path target = file.empty() ? page : page.parent_path() / file;
            const std::string where = page.filename().string() + ":" + std::to_string(link.nLine) + " " + link.strTarget;
            ASSERT_TRUE(fs::is_regular_file(target)) << where;
            if (hash == std::string::npos) continue;
            std::set<std::string> slugs;
            for (const MdHeading& h : ReadHeadings(ReadText(target))) slugs.insert(h.strSlug);
            EXPECT_TRUE(slugs.count(link.strTarget.substr(hash + 1))) << where;
        }
    }
    EXPECT_GT(nLinks, 20);
}

// A block "```varnel MODEL" runs on docs/manual/models/MODEL.json; an
// "```error" block right after it holds the message the run must fail with.
TEST(Manual, EveryProgramExampleRunsAsItSays) {
    int nExamples = 0;
    for (const fs::path& page : Pages()) {
        const std::vector<MdCodeBlock> blocks = ReadCodeBlocks(ReadText(page));
        for (size_t i = 0; i < blocks.size(); ++i) {
            if (blocks[i].strInfo.rfind("varnel ", 0) != 0) continue;
            ++nExamples;
            const std::string where = page.filename().string() + ":" + std::to_string(blocks[i].nLine);
            nlohmann::json model =
                nlohmann::json::parse(ReadText(kManual / "models" / (blocks[i].strInfo.substr(7) + ".json")));
            std::string program = std::regex_replace(blocks[i].strText, std::regex("\n"), "\r\n");
            program.resize(program.size() - 2);
            model["program"] = program;
            const std::string path = WriteTemp(std::to_string(nExamples) + ".vrn", JsonToModelFile(model.dump()));
            const Outcome run = Call(RunModelCommand, {path, "--max-steps", "1000000"});
            const bool bFails = i + 1 < blocks.size() && blocks[i + 1].strInfo == "error";
            if (bFails) {
                EXPECT_EQ(run.code, 1) << where;
                EXPECT_EQ(run.err.rfind(blocks[i + 1].strText, 0), 0u) << where << "\n" << run.err;
            } else {
                EXPECT_EQ(run.code, 0) << where << "\n" << run.err;
            }
        }
    }
    EXPECT_GT(nExamples, 15);
}

// The verbs and options of `varnel --help` and of the manual page are those
// of the command-line chapter.
TEST(Manual, CommandLineChapterNamesEveryVerbAndOption) {
    const std::string code = ReadText(kSource / "app" / "main.cpp");
    const size_t start = code.find("void PrintUsage");
    ASSERT_NE(start, std::string::npos);
    const std::string usage = code.substr(start, code.find("\n}", start) - start);
    const std::string chapter = ReadText(kManual / "command-line.md");
    std::string headings;
    for (const MdHeading& h : ReadHeadings(chapter)) headings += h.strTitle + "\n";
    const std::string manPage = std::regex_replace(ReadText(kSource / "docs" / "varnel.1"), std::regex("\\\\-"), "-");
    std::set<std::string> verbs, options;
    static const std::regex verb("varnel ([a-z]+) "), option("--[a-z][a-z-]*");
    for (std::sregex_iterator it(usage.begin(), usage.end(), verb), end; it != end; ++it) verbs.insert((*it)[1]);
    for (std::sregex_iterator it(usage.begin(), usage.end(), option), end; it != end; ++it) options.insert((*it)[0]);
    EXPECT_GE(verbs.size(), 7u);
    for (const std::string& v : verbs) {
        EXPECT_NE(headings.find(v), std::string::npos) << v;
        EXPECT_NE(manPage.find(v + " "), std::string::npos) << v;
    }
    for (const std::string& o : options) {
        EXPECT_NE(chapter.find(o), std::string::npos) << o;
        EXPECT_NE(manPage.find(o), std::string::npos) << o;
    }
}
