// How the check splits a line for the editor's colours: command words,
// marks, comments and unread text, numbers, captions, and names the run can
// know against names it cannot.
#include <gtest/gtest.h>

#include "Corpus.h"
#include "interpreter/ProgramCheck.h"

namespace {

CProgramNames Names(const std::string& program, EntityList& diagram) {
    AddElements(diagram, {"variable X 1", "table tab 0 1 1 1 2"});
    CProgramNames names;
    names.ImportDiagram(&diagram);
    names.ScanProgram(ProgramText(program));
    return names;
}

// Each token as ROLE:text: C command, M mark, # comment, N number, Q quoted,
// K known name, U unknown name; the lines stand on line 3.
TEST(ProgramTokens, StatementsAreSplitAsTheRunReadsThem) {
    EntityList diagram;
    const CProgramNames names = Names("var t|graphic g|mark top", diagram);
    const std::pair<std::string, std::string> cases[] = {
        {"set t = tab(X) * 1.5 + Xs", "C:set K:t K:tab K:X N:1.5 U:Xs"},
        {"  ' any text \"here\"", "#:' any text \"here\""},
        {"var t = 5", "C:var K:t #:= 5"},
        {"graphic g color=255 text=\"Рост\" (note)", "C:graphic K:g C:color N:255 C:text Q:\"Рост\" #:(note)"},
        {"if -1 < t", "C:if N:-1 K:t"},
        {"goto top", "C:goto M:top"},
        {"goto bottom", "C:goto U:bottom"},
        {"mark top", "C:mark M:top"},
        {"plot g t X rest", "C:plot K:g K:t K:X #:rest"},
        {"(x) = 5", "#:(x) = 5"},
        {"sett t 2 \"a\"", "U:sett K:t N:2 Q:\"a\""},  // an unknown word, the rest coloured by its look
    };
    for (const auto& [line, expected] : cases) {
        std::string tokens;
        for (const CProgramToken& t : CheckLine(line, 3, names).tokens)
            tokens += (tokens.empty() ? "" : " ") + std::string(1, "CM#NQKU"[static_cast<int>(t.role)]) + ":" +
                      line.substr(t.nStart, t.nLength);
        EXPECT_EQ(tokens, expected) << line;
    }
}

TEST(ProgramTokens, NamesComeFromTheDiagramAndFromDeclarationsAnywhere) {
    EntityList diagram, otherDiagram;
    const CProgramNames names = Names("set late = 1|var late|graphic curve", diagram);
    EXPECT_TRUE(names.IsKnown("late") && names.IsKnown("curve") && names.IsKnown("tab"));
    EXPECT_FALSE(names.IsKnown("Tab"));  // names are case-sensitive
    EXPECT_TRUE(CheckProgram(ProgramText("set late = 1|var late"), &diagram).empty());
    // Comparing two readings tells the editor when to recolour.
    CProgramNames other = Names("set late = 1|var late|graphic curve", otherDiagram);
    EXPECT_TRUE(other == names);
    other.ScanProgram("var early");
    EXPECT_FALSE(other == names);
}

}  // namespace
