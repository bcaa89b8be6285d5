// The golden program corpus: every file of interpreter/corpus/ is one whole
// program, its bytes exactly as the editor stores them (CR LF lines, code
// page 1251), with what it must do written in its own comment lines. Each
// runs compiled and line by line; both runs must meet every expectation and
// leave exactly the same (outcome, message, line, steps, polls, every symbol
// and sample to the bit).
//
// Directives, each a comment line of its own:
//   ' diagram: level|rate|variable|expert NAME VALUE
//   ' diagram: table NAME FROM TO STEP VALUE...
//   ' diagram: switch NAME VALUE VALUE2 THRESHOLD
//   ' max-steps: N               ' cancel at poll: K (the K-th poll stops it)
//   ' expect: NAME = VALUE       (a number symbol, shortest round-trip text)
//   ' expect undefined: NAME     ' expect symbols: COUNT
//   ' expect error: MESSAGE      (\n for the line feed)
//   ' expect error line: N       ' expect outcome: ok|step limit|cancelled
//   ' expect steps: N            ' expect polls: STEP...
//   ' expect graphic NAME: color=C text="T" loX=A hiX=B loY=C hiY=D divY=E
//   ' expect series NAME: X Y, X Y, ...    ' expect samples NAME: COUNT
//   ' expect order: NAME...      (the series in graphs-window order)
// Without an error or outcome expectation the run must end normally.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "RunHelpers.h"
#include "interpreter/Lexer.h"
#include "support/CorpusDiagram.h"
#include "support/RunSnapshot.h"

namespace {

namespace fs = std::filesystem;

struct CCorpusProgram {
    std::string strText;
    EntityList diagram;
    RunControl control;
    std::vector<std::pair<std::string, std::string>> expectations;  // key, value
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (const char* p = text.c_str(); *p != '\0';) lines.push_back(ReadLine(p));
    return lines;
}

std::string Unescape(std::string text) {
    for (size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
        text.replace(at, 2, "\n");
    return text;
}

void Load(const fs::path& path, CCorpusProgram& program) {
    std::ifstream in(path, std::ios::binary);
    program.strText.assign(std::istreambuf_iterator<char>(in), {});
    for (const std::string& line : Lines(program.strText)) {
        if (line.rfind("' ", 0) != 0) continue;
        const size_t colon = line.find(": ");
        const std::string key = line.substr(2, colon == std::string::npos ? std::string::npos : colon - 2);
        const std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
        if (key == "diagram") {
            program.diagram.Add(CorpusElement(value));
        } else if (key == "max-steps") {
            program.control.nMaxSteps = std::stoull(value);
        } else if (key == "cancel at poll") {
            program.control.pfnPoll = [calls = 0, last = std::stoi(value)](uint64_t) mutable { return ++calls < last; };
        } else if (key.rfind("expect", 0) == 0) {
            program.expectations.emplace_back(key, Unescape(value));
        }
    }
}

const CSymbolSnapshot* FindSymbol(const CRunSnapshot& run, const std::string& name) {
    for (const CSymbolSnapshot& s : run.symbols)
        if (s.strName == name) return &s;
    return nullptr;
}

std::string GraphicText(const CVGraphic& g) {
    return "color=" + std::to_string(g.m_nColor) + " text=\"" + g.m_strText + "\" loX=" + FormatRoundTrip(g.m_dLoX) +
           " hiX=" + FormatRoundTrip(g.m_dHiX) + " loY=" + FormatRoundTrip(g.m_dLoY) +
           " hiY=" + FormatRoundTrip(g.m_dHiY) + " divY=" + FormatRoundTrip(g.m_dDivY);
}

std::string SamplesText(const CVGraphic& g) {
    std::string text;
    for (const CSample& s : g.m_samples)
        text += (text.empty() ? "" : ", ") + FormatRoundTrip(s.x) + " " + FormatRoundTrip(s.y);
    return text;
}

const char* OutcomeText(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Ok: return "ok";
        case RunOutcome::Error: return "error";
        case RunOutcome::StepLimit: return "step limit";
        case RunOutcome::Cancelled: return "cancelled";
        default: return "other";
    }
}

// The value an expectation speaks of, as text, taken from the run.
std::string Observed(const CRunSnapshot& run, const std::string& key, const std::string& value) {
    const std::string subject = key.substr(key.find(' ') == std::string::npos ? key.size() : key.find(' ') + 1);
    const auto series = [&]() -> const CVGraphic* {
        const CSymbolSnapshot* s = FindSymbol(run, subject.substr(subject.find(' ') + 1));
        return s ? s->pGraphic : nullptr;
    };
    if (key == "expect") {
        const std::string name = value.substr(0, value.find(" = "));
        const CSymbolSnapshot* s = FindSymbol(run, name);
        return name + " = " + (s && s->nKind == SK_NUMBER ? FormatRoundTrip(s->dValue) : "(no number)");
    }
    if (key == "expect undefined") return FindSymbol(run, value) ? "(defined)" : value;
    if (key == "expect symbols") return std::to_string(run.symbols.size());
    if (key == "expect error") return run.strError;
    if (key == "expect error line") return std::to_string(run.nErrorLine);
    if (key == "expect outcome") return OutcomeText(run.outcome);
    if (key == "expect steps") return std::to_string(run.nSteps);
    if (key == "expect polls") {
        std::string text;
        for (uint64_t step : run.polls) text += (text.empty() ? "" : " ") + std::to_string(step);
        return text;
    }
    if (key == "expect order") {
        std::string text;
        for (const CSymbolSnapshot& s : run.symbols)
            if (s.nKind == SK_GRAPHIC) text += (text.empty() ? "" : " ") + s.strName;
        return text;
    }
    if (key.rfind("expect graphic ", 0) == 0) return series() ? GraphicText(*series()) : "(no series)";
    if (key.rfind("expect series ", 0) == 0) return series() ? SamplesText(*series()) : "(no series)";
    if (key.rfind("expect samples ", 0) == 0)
        return series() ? std::to_string(series()->GetSampleCount()) : "(no series)";
    return "(unknown directive '" + key + "')";
}

class Corpus : public ::testing::TestWithParam<fs::path> {};

TEST_P(Corpus, BothPathsMeetTheExpectationsAndAgree) {
    CCorpusProgram program;
    Load(GetParam(), program);
    ASSERT_FALSE(program.expectations.empty()) << "a corpus program without expectations";
    CInterpreter reference, compiled;
    ASSERT_TRUE(reference.ImportDrawingVariables(&program.diagram));
    ASSERT_TRUE(compiled.ImportDrawingVariables(&program.diagram));
    RunControl control = program.control;
    control.bReference = true;
    const CRunSnapshot expected = SnapshotRun(reference, program.strText, control);
    control.bReference = false;
    const CRunSnapshot actual = SnapshotRun(compiled, program.strText, control);
    EXPECT_EQ(FirstDifference(expected, actual), "");

    bool bOutcomeStated = false;
    for (const auto& [key, value] : program.expectations) {
        bOutcomeStated |= key == "expect error" || key == "expect outcome";
        EXPECT_EQ(Observed(actual, key, value), value) << "' " << key << ": " << value;
    }
    if (!bOutcomeStated) {
        EXPECT_EQ(actual.outcome, RunOutcome::Ok) << actual.strError;
    }
}

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(VARNEL_TESTS_DIR) / "interpreter" / "corpus"))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string CaseName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, Corpus, ::testing::ValuesIn(CorpusFiles()), CaseName);

}  // namespace
