// varnel run: output in every format, number and text forms, value
// overrides, the exit codes for interpreter errors, unreadable models, bad
// arguments and the step bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/cli/Commands.h"
#include "support/ModelSamples.h"

namespace {

// A model file with an empty diagram and the given program (under 255
// bytes), laid out by hand: version 1.0, 640 x 480, full scale, no objects,
// the start marker, the program, the end marker.
std::string ModelBytes(const std::string& program) {
    std::string bytes("\x00\x00\x00\x00\x00\x00\xF0\x3F"   // 1.0
                      "\x80\x02\x00\x00\xE0\x01\x00\x00"   // 640, 480
                      "\x01\x00\x00\x00\x00\x00",          // full scale, no objects
                      22);
    bytes += '\x15';
    bytes += "~!~ Start Program ~!~";
    bytes += static_cast<char>(program.size());
    bytes += program;
    bytes += '\x13';
    bytes += "~!~ End Program ~!~";
    return bytes;
}

std::string WriteTemp(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct RunResult {
    int code;
    std::string out;
    std::string err;
};

RunResult RunCommand(const CommandArgs& args) {
    std::ostringstream out, err;
    const int code = RunModelCommand(args, out, err);
    return {code, out.str(), err.str()};
}

// The file is named after the test: ctest runs the tests side by side.
RunResult RunProgram(const std::string& program, CommandArgs extra = {}) {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CommandArgs args{WriteTemp("run-" + name + ".vrn", ModelBytes(program))};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCommand(args);
}

// Two series, named so that "b" (bucket 13) comes after "a" (bucket 12)
// whatever their order in the program; samples plotted out of order.
const std::string kTwoSeries =
    "var x\r\nvar y\r\n"
    "graphic b color=255 text=\"\xd0\xee\xf1\xf2, a\\b\"\r\n"
    "graphic a color=65280 loY=-1 hiY=1e+2 divY=10 text=\"a\"\r\n"
    "set x = 2\r\nset y = 0.1\r\nplot a x y\r\n"
    "set x = 1\r\nset y = 1/3\r\nplot a x y\r\n"
    "set y = 1/0\r\nplot b x y\r\nset y = 0/0\r\nplot b x y\r\nset y = -1/0\r\nplot b y x";

TEST(RunModelCommand, CsvIsTheDefaultWithRoundTripNumbers) {
    const RunResult r = RunProgram(kTwoSeries);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "series,caption,x,y\n"
              "0,a,1,0.3333333333333333\n"
              "0,a,2,0.1\n"
              "1,\"\xd0\xa0\xd0\xbe\xd1\x81\xd1\x82, a\\b\",-inf,1\n"
              "1,\"\xd0\xa0\xd0\xbe\xd1\x81\xd1\x82, a\\b\",1,inf\n"
              "1,\"\xd0\xa0\xd0\xbe\xd1\x81\xd1\x82, a\\b\",1,nan\n");
}

TEST(RunModelCommand, JsonHoldsEverySeriesField) {
    const RunResult r = RunProgram(kTwoSeries, {"--format", "json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"series\":["
              "{\"caption\":\"a\",\"color\":65280,\"loX\":0,\"hiX\":0,\"loY\":-1,\"hiY\":100,\"divY\":10,"
              "\"samples\":[[1,0.3333333333333333],[2,0.1]]},"
              "{\"caption\":\"\xd0\xa0\xd0\xbe\xd1\x81\xd1\x82, a\\\\b\",\"color\":255,"
              "\"loX\":0,\"hiX\":0,\"loY\":0,\"hiY\":0,\"divY\":1,"
              "\"samples\":[[\"-inf\",1],[1,\"inf\"],[1,\"nan\"]]}"
              "]}\n");
}

TEST(RunModelCommand, SummaryGivesEachSeriesAndTheStatements) {
    const RunResult r = RunProgram(kTwoSeries, {"--format=summary"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string series =
        "series 0 \"a\": 2 samples, first (1, 0.3333333333333333), last (2, 0.1), y from 0.1 to 0.3333333333333333\n"
        "series 1 \"\xd0\xa0\xd0\xbe\xd1\x81\xd1\x82, a\\b\": 3 samples, first (-inf, 1), last (1, nan), "
        "y from 1 to inf\n";
    ASSERT_EQ(r.out.substr(0, series.size()), series);
    EXPECT_TRUE(::testing::internal::RE::FullMatch(r.out.substr(series.size()),
                                                   "statements 16, run time [0-9]+\\.[0-9][0-9][0-9] ms\n"))
        << r.out;
    // The line-reading path prints the same.
    EXPECT_EQ(RunProgram(kTwoSeries, {"--reference"}).out, RunProgram(kTwoSeries).out);
}

// Output larger than the writer's buffer arrives whole and in order.
TEST(RunModelCommand, LongOutputIsComplete) {
    const RunResult r =
        RunProgram("var i\r\ngraphic g\r\nmark m\r\nplot g i i\r\nset i = i + 1\r\nif i < 20000\r\ngoto m");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 20001);
    EXPECT_NE(r.out.find("\n0,,9999,9999\n0,,10000,10000\n"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 16), "\n0,,19999,19999\n");
}

// --set replaces a level's, variable's, expert's or switch's value for the
// run; a name the model lacks, or a value that is no number, exits 2.
TEST(RunModelCommand, SetReplacesElementValuesForTheRun) {
    // L6 a level, L7 a rate, V8 a variable, T9 a table, E10 an expert, E11 a switch.
    const auto doc = samples::MixedModel(12, "graphic g\r\nvar z\r\nplot g L6 V8\r\nplot g E10 E11(z)\r\n"
                                             "set z = 1\r\nplot g L7 E11(z)");
    const std::vector<uint8_t> bytes = doc->Store();
    const std::string model = WriteTemp("run-set.vrn", std::string(bytes.begin(), bytes.end()));
    const RunResult r = RunCommand({model, "--set", "L6=1.5", "--set=V8=-2", "--set", "E10=7", "--set", "L7=3",
                                    "--set", "E11.threshold=0.5", "--set", "E11.value2=9", "--set", "E11=-4"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "series,caption,x,y\n0,,1.5,-2\n0,,3,9\n0,,7,-4\n");
    RunResult bad = RunCommand({model, "--set", "T9=1"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("'T9'"), std::string::npos) << bad.err;
    EXPECT_EQ(RunCommand({model, "--set", "L6=fast"}).code, 2);
    EXPECT_EQ(RunCommand({model, "--set"}).code, 2);
}

TEST(RunModelCommand, NoSeriesPrintsAnEmptyResult) {
    EXPECT_EQ(RunProgram("").out, "series,caption,x,y\n");
    EXPECT_EQ(RunProgram("var x", {"--format=json"}).out, "{\"series\":[]}\n");
}

TEST(RunModelCommand, InterpreterErrorGoesToStderrWithExitOne) {
    const RunResult r = RunProgram("graphic g\r\n\r\nbogus");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Interpretation error:\nUnknown command 'bogus' (col: 3).\nline 3\n");
}

TEST(RunModelCommand, UnreadableOrInvalidModelExitsTwo) {
    RunResult r = RunCommand({::testing::TempDir() + "/no-such-model.vrn"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
    r = RunCommand({WriteTemp("truncated.vrn", ModelBytes("var x").substr(0, 30))});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err, "");
    std::string noMarker = ModelBytes("");
    noMarker[23] = 'X';
    r = RunCommand({WriteTemp("no-marker.vrn", noMarker)});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("Internal data error."), std::string::npos) << r.err;
}

TEST(RunModelCommand, BadArgumentsExitTwo) {
    EXPECT_EQ(RunCommand({}).code, 2);
    EXPECT_EQ(RunProgram("", {"--format", "xml"}).code, 2);
    EXPECT_EQ(RunProgram("", {"--max-steps", "ten"}).code, 2);
    EXPECT_EQ(RunProgram("", {"--max-steps"}).code, 2);
    EXPECT_EQ(RunProgram("", {"--verbose"}).code, 2);
}

TEST(RunModelCommand, StepBoundExitsThree) {
    const std::string endless = "graphic g\r\nvar t\r\nmark a\r\nplot g t t\r\ngoto a";
    const RunResult r = RunProgram(endless, {"--max-steps", "1000"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("1000"), std::string::npos) << r.err;
    // A program of exactly N statements is within the bound.
    EXPECT_EQ(RunProgram("var a\r\nvar b", {"--max-steps=2"}).code, 0);
    EXPECT_EQ(RunProgram("var a\r\nvar b", {"--max-steps=1"}).code, 3);
}

}  // namespace
