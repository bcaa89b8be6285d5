// Programs run compiled and line by line: both runs must leave exactly the
// same (outcome, message, line, steps, polls, every symbol and sample to the
// bit) and meet what the program's corpus row says (format in Corpus.h):
//   NAME = VALUE         a number symbol, shortest round-trip text
//   error N: MESSAGE     fails on line N with "Interpretation error:\n" MESSAGE
//   outcome: step limit|cancelled    steps: N    polls: STEP...
//   symbols: COUNT       undefined: NAME    order: NAME... (graphs-window order)
//   graphic NAME: color=C text="T" loX=A hiX=B loY=C hiY=D divY=E
//   series NAME: X Y, X Y, ...      samples NAME: COUNT
//   max-steps: N         cancel at poll: K (the K-th poll stops it)
// Without an error or outcome item the run must end normally. Programs too
// big for a row are built here.
#include <gtest/gtest.h>

#include <algorithm>

#include "Corpus.h"
#include "support/RunSnapshot.h"

namespace {

namespace fs = std::filesystem;

// The compiled run; the test fails where the line-by-line one left anything else.
CRunSnapshot RunBothWays(CInterpreter& compiled, const std::string& program, RunControl control,
                         const EntityList* pDiagram = nullptr) {
    CInterpreter reference;
    if (pDiagram) {
        EXPECT_TRUE(reference.ImportDrawingVariables(pDiagram));
        EXPECT_TRUE(compiled.ImportDrawingVariables(pDiagram));
    }
    control.bReference = true;
    const CRunSnapshot expected = SnapshotRun(reference, program, control);
    control.bReference = false;
    CRunSnapshot actual = SnapshotRun(compiled, program, control);
    EXPECT_EQ(FirstDifference(expected, actual), "");
    return actual;
}

const CSymbolSnapshot* FindSymbol(const CRunSnapshot& run, const std::string& name) {
    for (const CSymbolSnapshot& s : run.symbols)
        if (s.strName == name) return &s;
    return nullptr;
}

std::string Number(const CRunSnapshot& run, const std::string& name) {
    const CSymbolSnapshot* s = FindSymbol(run, name);
    return s && s->nKind == SK_NUMBER ? FormatRoundTrip(s->dValue) : "(no number)";
}

std::string SeriesText(const std::string& what, const CVGraphic& g) {
    if (what == "samples") return std::to_string(g.GetSampleCount());
    if (what == "graphic")
        return "color=" + std::to_string(g.m_nColor) + " text=\"" + g.m_strText + "\" loX=" + FormatRoundTrip(g.m_dLoX) +
               " hiX=" + FormatRoundTrip(g.m_dHiX) + " loY=" + FormatRoundTrip(g.m_dLoY) +
               " hiY=" + FormatRoundTrip(g.m_dHiY) + " divY=" + FormatRoundTrip(g.m_dDivY);
    std::string text;
    for (const CSample& s : g.m_samples) text += ", " + FormatRoundTrip(s.x) + " " + FormatRoundTrip(s.y);
    return text.substr(std::min<size_t>(2, text.size()));
}

// The item as the run bears it out, to compare with the item as written.
std::string Observed(const CRunSnapshot& run, const std::string& item) {
    const size_t colon = item.find(": ");
    if (colon == std::string::npos) {
        const std::string name = item.substr(0, item.find(" = "));
        return name + " = " + Number(run, name);
    }
    const std::string key = item.substr(0, colon);
    const std::string what = key.substr(0, key.find(' '));
    const std::string subject = key.substr(std::min(what.size() + 1, key.size()));
    std::string seen;
    if (what == "error") {
        const std::string prefix = "Interpretation error:\n";
        seen = run.strError.rfind(prefix, 0) == 0 ? run.strError.substr(prefix.size()) : run.strError;
        return "error " + std::to_string(run.nErrorLine) + ": " + seen;
    }
    static const char* const kOutcomes[] = {"ok", "error", "step limit", "cancelled", "unknown name"};
    if (what == "outcome") seen = kOutcomes[static_cast<int>(run.outcome)];
    if (what == "undefined") seen = FindSymbol(run, item.substr(colon + 2)) ? "(defined)" : item.substr(colon + 2);
    if (what == "symbols") seen = std::to_string(run.symbols.size());
    if (what == "steps") seen = std::to_string(run.nSteps);
    for (uint64_t step : run.polls)
        if (what == "polls") seen += (seen.empty() ? "" : " ") + std::to_string(step);
    for (const CSymbolSnapshot& s : run.symbols)
        if (what == "order" && s.nKind == SK_GRAPHIC) seen += (seen.empty() ? "" : " ") + s.strName;
    if (what == "graphic" || what == "series" || what == "samples") {
        const CSymbolSnapshot* s = FindSymbol(run, subject);
        seen = s && s->pGraphic ? SeriesText(what, *s->pGraphic) : "(no series)";
    }
    return key + ": " + seen;
}

class Corpus : public ::testing::TestWithParam<fs::path> {};

TEST_P(Corpus, EveryRowRunsBothWaysAsItSays) {
    const std::vector<CCorpusRow> rows = ReadCorpusFile(GetParam());
    ASSERT_FALSE(rows.empty());
    for (const CCorpusRow& row : rows) {
        SCOPED_TRACE(GetParam().filename().string() + ":" + std::to_string(row.nLine));
        EntityList diagram;
        AddElements(diagram, row.diagram);
        RunControl control;
        std::vector<std::string> expected;
        bool bEnds = false;
        for (const std::string& item : row.items) {
            if (item.rfind("max-steps: ", 0) == 0) {
                control.nMaxSteps = std::stoull(item.substr(11));
            } else if (item.rfind("cancel at poll: ", 0) == 0) {
                control.pfnPoll = [calls = 0, last = std::stoi(item.substr(16))](uint64_t) mutable {
                    return ++calls < last;
                };
            } else {
                expected.push_back(item);
                bEnds |= item.rfind("error ", 0) == 0 || item.rfind("outcome: ", 0) == 0;
            }
        }
        ASSERT_FALSE(expected.empty()) << "a row without expectations";
        CInterpreter compiled;
        const CRunSnapshot run = RunBothWays(compiled, row.strProgram, control, &diagram);
        for (const std::string& item : expected) EXPECT_EQ(Observed(run, item), item);
        if (!bEnds) EXPECT_EQ(run.outcome, RunOutcome::Ok) << run.strError;
    }
}

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(VARNEL_TESTS_DIR) / "interpreter" / "corpus"))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

INSTANTIATE_TEST_SUITE_P(Programs, Corpus, ::testing::ValuesIn(CorpusFiles()),
                         [](const auto& info) {
                             std::string name = info.param.stem().string();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// 70,000 lines and more than 64 KiB before the mark.
TEST(BigPrograms, MarksBeyondSixteenBitsJumpCorrectly) {
    std::string program = "var n|goto far|";
    for (int i = 0; i < 70000; ++i) program += "' padding|";
    CInterpreter interp;
    const CRunSnapshot run = RunBothWays(interp, ProgramText(program + "mark far|set n = n + 1|if n < 3|goto far|bogus"), {});
    EXPECT_EQ(run.strError, "Interpretation error:\nUnknown command 'bogus' (col: 70007).");
    EXPECT_EQ(Number(run, "n"), "3");
    EXPECT_EQ(interp.m_marks.Find("far")->nLine, 70003);
}

// Found by fuzzing: each mark was checked against every earlier one, so a
// program of this size took minutes to start (and could not be stopped).
TEST(BigPrograms, HundredThousandMarksJumpToTheRightOne) {
    std::string program = "var x|goto m99998|";
    for (int i = 0; i < 100000; ++i)
        program += "mark m" + std::to_string(i) + (i == 99998 ? "|set x = x + 7|if x < 10|goto m0|" : "|");
    RunControl control;
    control.nMaxSteps = 1000000;  // a wrong jump must not loop for ever
    CInterpreter interp;
    const CRunSnapshot run = RunBothWays(interp, ProgramText(program + "set x = x + 1"), control);
    // To m99998 (x 7), back to m0, down to m99998 again (x 14), past m99999 (x 15).
    EXPECT_EQ(Number(run, "x"), "15") << run.strError;
    EXPECT_EQ(interp.m_marks.GetCount(), 100000u);
}

// A loop over a very long line does much work per statement: the poll must
// still come soon, not after thousands of such statements.
TEST(BigPrograms, LongLinesBringThePollSooner) {
    RunControl control;
    control.pfnPoll = [](uint64_t) { return false; };
    CInterpreter interp;
    std::string sum = "set x = 1";
    for (int i = 0; i < 200000; ++i) sum += "+1";
    const CRunSnapshot run = RunBothWays(interp, ProgramText("var x|mark a|" + sum + "|goto a"), control);
    EXPECT_EQ(run.outcome, RunOutcome::Cancelled);
    ASSERT_EQ(run.polls.size(), 1u);
    EXPECT_GT(run.polls[0], 0u);
    EXPECT_LT(run.polls[0], 100u);
}

TEST(BigPrograms, DeepNestingIsReadWithoutRecursion) {
    EntityList diagram;
    AddElements(diagram, {"variable x 4", "switch s 1 2 5"});
    CInterpreter interp;
    std::string line = "set r = ";
    for (int i = 0; i < 200000; ++i) line += "s(";
    const CRunSnapshot run =
        RunBothWays(interp, ProgramText("var r|" + line + "x" + std::string(200000, ')')), {}, &diagram);
    EXPECT_EQ(Number(run, "r"), "1");
}

}  // namespace
