// How the check splits a line for the editor's colours: command words,
// marks, comments and unread text, numbers, captions, and names the run can
// know against names it cannot.
#include <gtest/gtest.h>

#include "Corpus.h"
#include "interpreter/ProgramCheck.h"

namespace {

// Each token as ROLE:text, C command, M mark, # comment, N number,
// Q quoted, K known name, U unknown name.
std::string Tokens(const std::string& line, const CProgramNames& names, int64_t nLine = 1) {
    static const char kRoles[] = "CM#NQKU";
    std::string out;
    for (const CProgramToken& t : CheckLine(line, nLine, names).tokens) {
        if (!out.empty()) out += ' ';
        out += kRoles[static_cast<int>(t.role)];
        out += ':' + line.substr(t.nStart, t.nLength);
    }
    return out;
}

struct Names {
    EntityList diagram;
    CProgramNames names;
    explicit Names(const std::string& program) {
        AddElements(diagram, {"variable X 1", "table tab 0 1 1 1 2"});
        names.ImportDiagram(&diagram);
        names.ScanProgram(ProgramText(program));
    }
};

TEST(ProgramTokens, StatementsAreSplitAsTheRunReadsThem) {
    const Names n("var t|graphic g|mark top");
    EXPECT_EQ(Tokens("set t = tab(X) * 1.5 + Xs", n.names), "C:set K:t K:tab K:X N:1.5 U:Xs");
    EXPECT_EQ(Tokens("  ' any text \"here\"", n.names), "#:' any text \"here\"");
    EXPECT_EQ(Tokens("var t = 5", n.names), "C:var K:t #:= 5");
    EXPECT_EQ(Tokens("graphic g color=255 text=\"Рост\" (note)", n.names),
              "C:graphic K:g C:color N:255 C:text Q:\"Рост\" #:(note)");
    EXPECT_EQ(Tokens("if -1 < t", n.names), "C:if N:-1 K:t");
    EXPECT_EQ(Tokens("goto top", n.names), "C:goto M:top");
    EXPECT_EQ(Tokens("goto bottom", n.names), "C:goto U:bottom");
    EXPECT_EQ(Tokens("mark top", n.names, 3), "C:mark M:top");
    EXPECT_EQ(Tokens("plot g t X rest", n.names), "C:plot K:g K:t K:X #:rest");
    EXPECT_EQ(Tokens("(x) = 5", n.names), "#:(x) = 5");
    // An unknown word, and what follows a refusal, coloured by its look.
    EXPECT_EQ(Tokens("sett t 2 \"a\"", n.names), "U:sett K:t N:2 Q:\"a\"");
}

TEST(ProgramTokens, NamesComeFromTheDiagramAndFromDeclarationsAnywhere) {
    const Names n("set late = 1|var late|graphic curve");
    EXPECT_TRUE(n.names.IsKnown("late"));
    EXPECT_TRUE(n.names.IsKnown("curve"));
    EXPECT_TRUE(n.names.IsKnown("tab"));
    EXPECT_FALSE(n.names.IsKnown("Tab"));  // names are case-sensitive
    EXPECT_TRUE(CheckProgram(ProgramText("set late = 1|var late"), &n.diagram).empty());
    // Comparing two readings tells the editor when to recolour.
    Names other("set late = 1|var late|graphic curve");
    EXPECT_TRUE(other.names == n.names);
    other.names.ScanProgram("var early");
    EXPECT_FALSE(other.names == n.names);
}

}  // namespace
