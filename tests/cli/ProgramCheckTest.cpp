// The static check of model programs: its findings over the programs of
// tests/interpreter/check (expected inline), the proof that it never flags
// a line that executes without error (the examples, the golden corpus and
// those programs, each run for real), and `varnel check` with its exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli/Commands.h"
#include "base/Cp1251.h"
#include "diagram/Elements.h"
#include "document/VarnelDoc.h"
#include "interpreter/BuildGraphs.h"
#include "interpreter/Lexer.h"
#include "interpreter/ProgramCheck.h"
#include "interpreter/RunHelpers.h"
#include "support/CorpusDiagram.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = VARNEL_SOURCE_DIR;

std::vector<fs::path> FilesIn(const fs::path& dir, const std::string& extension) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error))
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// A program file as the editor would store it: code page 1251 (when the
// file is UTF-8) with CR LF between lines.
std::string ReadProgramFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string bytes;
    if (!Utf8ToCp1251(text, bytes)) bytes = text;
    if (bytes.find('\r') != std::string::npos) return bytes;
    std::string crlf;
    for (char c : bytes) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

std::vector<std::string> Lines(const std::string& program) {
    std::vector<std::string> lines;
    const char* cursor = program.c_str();
    while (*cursor != '\0') lines.push_back(ReadLine(cursor));
    return lines;
}

// The diagram the programs of tests/interpreter/check are written for.
struct CheckDiagram {
    std::vector<double> table{1, 2, 3};
    EntityList list;
    CheckDiagram() {
        list.Add(std::make_unique<CNamedStub>("X", NumberRec(5)));
        list.Add(std::make_unique<CNamedStub>("Y", NumberRec(1)));
        list.Add(std::make_unique<CNamedStub>("tab", TableRec(0, 10, 5, &table)));
        list.Add(std::make_unique<CNamedStub>("empty", TableRec(0, 10, 0, nullptr)));
        list.Add(std::make_unique<CNamedStub>("sw", SwitchRec(1, 2, 5)));
    }
};

// "' check: MESSAGE" announces the finding on the next line; # is its number.
std::vector<std::string> ExpectedFindings(const std::vector<std::string>& lines) {
    const std::string tag = "' check: ";
    std::vector<std::string> expected;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind(tag, 0) != 0) continue;
        const std::string number = std::to_string(i + 2);
        std::string message = lines[i].substr(tag.size());
        if (const size_t hash = message.find('#'); hash != std::string::npos) message.replace(hash, 1, number);
        expected.push_back(number + ": " + message);
    }
    return expected;
}

std::vector<std::string> Rendered(const std::vector<CCheckFinding>& findings) {
    std::vector<std::string> out;
    for (const auto& f : findings) out.push_back(std::to_string(f.nLine) + ": " + FindingText(f));
    return out;
}

std::string Join(const std::vector<std::string>& lines, size_t skip = SIZE_MAX, const std::string& probe = "",
                 const std::vector<int64_t>& blanks = {}) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        const int64_t number = static_cast<int64_t>(i) + 1;
        if (i == skip)
            text += probe;
        else if (std::find(blanks.begin(), blanks.end(), number) == blanks.end())
            text += lines[i];
    }
    return text;
}

// Proves each finding against real runs. With the program's other flagged
// lines blanked, either the run fails on the flagged line with exactly the
// finding's message, or the line is never reached (a probe put in its place
// never runs). A flagged line that ran without error would show up as a
// probe that ran.
void ExpectNoFalseAlarm(const std::string& program, const EntityList* pDiagram, const std::string& name) {
    const std::vector<CCheckFinding> findings = CheckProgram(program, pDiagram);
    const std::vector<std::string> lines = Lines(program);
    RunControl control;
    control.nMaxSteps = 2'000'000;
    for (const CCheckFinding& finding : findings) {
        SCOPED_TRACE(name + " line " + std::to_string(finding.nLine));
        std::vector<int64_t> others;
        for (const auto& f : findings)
            if (f.nLine != finding.nLine) others.push_back(f.nLine);
        const std::string alone = Join(lines, SIZE_MAX, "", others);
        const auto again = CheckProgram(alone, pDiagram);
        ASSERT_NE(std::find(again.begin(), again.end(), finding), again.end());
        const BuildGraphsResult run = BuildGraphs(pDiagram, alone, control);
        if (run.outcome == RunOutcome::Error && run.nErrorLine == finding.nLine) {
            EXPECT_EQ(run.strError, finding.strMessage);
            continue;
        }
        const size_t index = static_cast<size_t>(finding.nLine - 1);
        const BuildGraphsResult probe = BuildGraphs(pDiagram, Join(lines, index, "probe!", others), control);
        EXPECT_FALSE(probe.outcome == RunOutcome::Error && probe.nErrorLine == finding.nLine &&
                     probe.strError.find("probe!") != std::string::npos)
            << "flagged, yet it runs: " << finding.strMessage;
    }
}

TEST(ProgramCheck, FindsWhatTheCheckProgramsAnnounce) {
    const CheckDiagram diagram;
    const auto files = FilesIn(kSource / "tests/interpreter/check", ".txt");
    ASSERT_GE(files.size(), 5u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string program = ReadProgramFile(file);
        EXPECT_EQ(Rendered(CheckProgram(program, &diagram.list)), ExpectedFindings(Lines(program)));
    }
}

TEST(ProgramCheck, NeverFlagsALineThatExecutesWithoutError) {
    const CheckDiagram diagram;
    for (const fs::path& file : FilesIn(kSource / "tests/interpreter/check", ".txt"))
        ExpectNoFalseAlarm(ReadProgramFile(file), &diagram.list, file.filename().string());
    // The golden corpus writes each program's diagram in its comment lines.
    for (const fs::path& file : FilesIn(kSource / "tests/interpreter/corpus", "")) {
        const std::string program = ReadProgramFile(file);
        EntityList diagram;
        AddCorpusDiagram(program, diagram);
        ExpectNoFalseAlarm(program, &diagram, file.filename().string());
    }
    const auto examples = FilesIn(kSource / "examples", ".vrn");
    ASSERT_FALSE(examples.empty());
    for (const fs::path& file : examples) {
        CVarnelDoc doc;
        doc.Load(ReadFileBytes(file.string()));
        EXPECT_TRUE(CheckProgram(doc.m_strProgram, doc.m_pEntityList.get()).empty()) << file;
        ExpectNoFalseAlarm(doc.m_strProgram, doc.m_pEntityList.get(), file.filename().string());
    }
}

struct CheckRun {
    int code;
    std::string out;
    std::string err;
};

CheckRun RunCheck(const CommandArgs& args) {
    std::ostringstream out, err;
    const int code = CheckCommand(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(CheckCommand, ListsFindingsAgainstTheModelsOwnDiagram) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    auto level = std::make_unique<CVLevel>();
    level->m_strName = "\xd0\xee\xf1\xf2";  // "Рост" in code page 1251
    doc.m_pEntityList->Add(std::move(level));
    doc.m_strProgram = "var t\r\nset \xd0\xee\xf1\xf2 = t\r\nset \xd0\xee\xf1\xf1 = t\r\nplot g t t";
    const std::string path = ::testing::TempDir() + "/check-findings.vrn";
    WriteFileBytes(path, doc.Store());
    const CheckRun run = RunCheck({path});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "3: Variable Росс undefined.\n4: Variable g undefined.\n");
    EXPECT_EQ(run.err, "");

    const std::string example = (kSource / "examples/sir-epidemic.vrn").string();
    EXPECT_EQ(RunCheck({example}).code, 0);
    EXPECT_EQ(RunCheck({example}).out, "");
}

TEST(CheckCommand, BadFileOrArgumentsExitTwo) {
    // A model cut off in its header.
    const std::string path = ::testing::TempDir() + "/check-truncated.vrn";
    std::ofstream(path, std::ios::binary) << std::string("\0\0\0\0\0\0\xF0\x3F\x80\x02", 10);
    CheckRun run = RunCheck({path});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("cannot read model"), std::string::npos);
    EXPECT_EQ(RunCheck({}).code, 2);
    EXPECT_EQ(RunCheck({path, path}).code, 2);
    EXPECT_EQ(RunCheck({"--all"}).code, 2);
    EXPECT_EQ(RunCheck({::testing::TempDir() + "/no-such-model.vrn"}).code, 2);
}

}  // namespace
