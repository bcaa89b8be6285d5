// The static check (its findings are corpus items): the proof that it never
// flags a line that runs without error, over the corpus rows, and no finding
// in the examples; and `varnel check` with its exit codes.
#include <algorithm>

#include "Cli.h"
#include "graphs/Graphic.h"
#include "interpreter/Lexer.h"
#include "interpreter/ProgramCheck.h"

namespace {

const std::string kSource = VARNEL_SOURCE_DIR;

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
}

// Proves each finding against real runs. With the program's other flagged
// lines blanked, either the run fails on the flagged line with exactly the
// finding's message, or the line is never reached (a probe put in its place
// never runs).
void ExpectNoFalseAlarm(const std::string& program, const EntityList* pDiagram, const std::string& name) {
    const std::vector<CCheckFinding> findings = CheckProgram(program, pDiagram);
    std::vector<std::string> lines;
    for (const char* cursor = program.c_str(); *cursor != '\0';) lines.push_back(ReadLine(cursor));
    RunControl control;
    control.nMaxSteps = 2'000'000;
    for (const CCheckFinding& finding : findings) {
        SCOPED_TRACE(name + " line " + std::to_string(finding.nLine));
        std::vector<std::string> alone = lines;
        for (const auto& f : findings)
            if (f.nLine != finding.nLine) alone[f.nLine - 1].clear();
        const auto again = CheckProgram(Joined(alone), pDiagram);
        ASSERT_NE(std::find(again.begin(), again.end(), finding), again.end());
        const BuildGraphsResult run = BuildGraphs(pDiagram, Joined(alone), control);
        if (run.outcome == RunOutcome::Error && run.nErrorLine == finding.nLine) {
            EXPECT_EQ(run.strError, finding.strMessage);
            continue;
        }
        alone[finding.nLine - 1] = "probe!";
        const BuildGraphsResult probe = BuildGraphs(pDiagram, Joined(alone), control);
        EXPECT_FALSE(probe.outcome == RunOutcome::Error && probe.nErrorLine == finding.nLine &&
                     probe.strError.find("probe!") != std::string::npos)
            << "flagged, yet it runs: " << finding.strMessage;
    }
}

TEST(ProgramCheck, NeverFlagsALineThatRuns) {
    for (const auto& file : std::filesystem::directory_iterator(kSource + "/tests/interpreter/corpus"))
        for (const CCorpusRow& row : ReadCorpusFile(file.path())) {
            EntityList diagram;
            AddElements(diagram, row.diagram);
            ExpectNoFalseAlarm(row.strProgram, &diagram, file.path().filename().string() + ":" + std::to_string(row.nLine));
        }
    size_t examples = 0;
    for (const auto& file : std::filesystem::directory_iterator(kSource + "/examples")) {
        if (file.path().extension() != ".vrn") continue;
        CVarnelDoc doc;
        doc.Load(ReadFileBytes(file.path().string()));
        EXPECT_TRUE(CheckProgram(doc.m_strProgram, doc.m_pEntityList.get()).empty()) << file.path();
        ++examples;
    }
    EXPECT_GT(examples, 0u);
}

// Exit 1 with findings, against the model's own diagram (exit 0: ImportCommandTest).
TEST(CheckCommand, ListsFindingsAndExitsByWhatItFound) {
    // "Рост" in code page 1251, and a misspelling of it.
    auto doc = samples::MixedModel(0, "var t\r\nset \xd0\xee\xf1\xf2 = t\r\nset \xd0\xee\xf1\xf1 = t\r\nplot g t t");
    AddElements(*doc->m_pEntityList, {"level \xd0\xee\xf1\xf2 0"});
    const Outcome run = Call(CheckCommand, {WriteTemp("findings.vrn", doc->Store())});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "3: Variable Росс undefined.\n4: Variable g undefined.\n");
    EXPECT_EQ(run.err, "");
}

}  // namespace
