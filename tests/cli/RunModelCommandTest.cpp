// varnel run: output in every format, number and text forms, value
// overrides, and the exit codes for interpreter errors, unreadable models,
// bad arguments and the step bound.
#include <algorithm>

#include "Cli.h"

namespace {

Outcome RunProgram(const std::string& program, CommandArgs extra = {}) {
    extra.insert(extra.begin(), WriteModel("run.vrn", program));
    return Call(RunModelCommand, extra);
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

TEST(RunModelCommand, PrintsCsvJsonOrASummaryWithRoundTripNumbers) {
    const Outcome csv = RunProgram(kTwoSeries);
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(csv.err, "");
    EXPECT_EQ(csv.out,
              "series,caption,x,y\n0,a,1,0.3333333333333333\n0,a,2,0.1\n"
              "1,\"Рост, a\\b\",-inf,1\n1,\"Рост, a\\b\",1,inf\n1,\"Рост, a\\b\",1,nan\n");
    EXPECT_EQ(RunProgram(kTwoSeries, {"--format", "json"}).out,
              "{\"series\":[{\"caption\":\"a\",\"color\":65280,\"loX\":0,\"hiX\":0,\"loY\":-1,\"hiY\":100,\"divY\":10,"
              "\"samples\":[[1,0.3333333333333333],[2,0.1]]},{\"caption\":\"Рост, a\\\\b\",\"color\":255,"
              "\"loX\":0,\"hiX\":0,\"loY\":0,\"hiY\":0,\"divY\":1,\"samples\":[[\"-inf\",1],[1,\"inf\"],[1,\"nan\"]]}]}\n");
    const Outcome summary = RunProgram(kTwoSeries, {"--format=summary"});
    EXPECT_TRUE(::testing::internal::RE::FullMatch(
        summary.out,
        "series 0 \"a\": 2 samples, first \\(1, 0.3333333333333333\\), last \\(2, 0.1\\), y from 0.1 to "
        "0.3333333333333333\nseries 1 \"Рост, a\\\\b\": 3 samples, first \\(-inf, 1\\), last \\(1, nan\\), y from 1 to "
        "inf\nstatements 16, run time [0-9]+\\.[0-9][0-9][0-9] ms\n"))
        << summary.out;
    EXPECT_EQ(RunProgram(kTwoSeries, {"--reference"}).out, csv.out);  // the line-reading path prints the same
    EXPECT_EQ(RunProgram("").out, "series,caption,x,y\n");
    EXPECT_EQ(RunProgram("var x", {"--format=json"}).out, "{\"series\":[]}\n");
}

// Output larger than the writer's buffer arrives whole and in order.
TEST(RunModelCommand, LongOutputIsComplete) {
    const Outcome r = RunProgram("var i\r\ngraphic g\r\nmark m\r\nplot g i i\r\nset i = i + 1\r\nif i < 20000\r\ngoto m");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 20001);
    EXPECT_NE(r.out.find("\n0,,9999,9999\n0,,10000,10000\n"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 16), "\n0,,19999,19999\n");
}

// --set replaces a level's, rate's, variable's, expert's or switch's value
// for the run.
TEST(RunModelCommand, SetReplacesElementValuesForTheRun) {
    // L6 a level, L7 a rate, V8 a variable, T9 a table, E10 an expert, E11 a switch.
    const std::string model = WriteModel("set.vrn", "graphic g\r\nvar z\r\nplot g L6 V8\r\nplot g E10 E11(z)\r\n"
                                                    "set z = 1\r\nplot g L7 E11(z)", 12);
    const Outcome r = Call(RunModelCommand, {model, "--set", "L6=1.5", "--set=V8=-2", "--set", "E10=7", "--set", "L7=3",
                                             "--set", "E11.threshold=0.5", "--set", "E11.value2=9", "--set", "E11=-4"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "series,caption,x,y\n0,,1.5,-2\n0,,3,9\n0,,7,-4\n");
}

// 1 for an interpreter error (with its line), 3 for the step bound (N
// statements are within it); bad input is in BadInputTest.
TEST(RunModelCommand, ExitCodesSayWhatWentWrong) {
    const Outcome error = RunProgram("graphic g\r\n\r\nbogus");
    EXPECT_EQ(error.code, 1);
    EXPECT_EQ(error.out, "");
    EXPECT_EQ(error.err, "Interpretation error:\nUnknown command 'bogus' (col: 3).\nline 3\n");

    const Outcome bound = RunProgram("graphic g\r\nvar t\r\nmark a\r\nplot g t t\r\ngoto a", {"--max-steps", "1000"});
    EXPECT_EQ(bound.code, 3);
    EXPECT_EQ(bound.out, "");
    EXPECT_NE(bound.err.find("1000"), std::string::npos) << bound.err;
    EXPECT_EQ(RunProgram("var a\r\nvar b", {"--max-steps=2"}).code, 0);
    EXPECT_EQ(RunProgram("var a\r\nvar b", {"--max-steps=1"}).code, 3);
}

}  // namespace
