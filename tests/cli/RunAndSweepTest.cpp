// varnel run: every output format, value overrides, exit codes 1 and 3.
// varnel sweep: the grid in order, its failing runs in their own lines, the
// same bytes on any number of threads. Bad input is in BadInputTest.
#include <algorithm>

#include "Cli.h"
#include "app/cli/OrderedJobs.h"

namespace {

Outcome RunProgram(const std::string& program, CommandArgs extra = {}) {
    extra.insert(extra.begin(), WriteModel("run.vrn", ProgramText(program)));
    return Call(RunModelCommand, extra);
}

// "b" (bucket 13) comes after "a" (bucket 12) in any program order; samples out of order.
const std::string kTwoSeries =
    "var x|var y|graphic b color=255 text=\"\xd0\xee\xf1\xf2, a\\b\"|graphic a color=65280 loY=-1 hiY=1e+2 divY=10 "
    "text=\"a\"|set x = 2|set y = 0.1|plot a x y|set x = 1|set y = 1/3|plot a x y|set y = 1/0|plot b x y|"
    "set y = 0/0|plot b x y|set y = -1/0|plot b y x";

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
    // Output larger than the writer's buffer arrives whole and in order.
    const Outcome longer = RunProgram("var i|graphic g|mark m|plot g i i|set i = i + 1|if i < 20000|goto m");
    EXPECT_EQ(std::count(longer.out.begin(), longer.out.end(), '\n'), 20001);
    EXPECT_NE(longer.out.find("\n0,,9999,9999\n0,,10000,10000\n"), std::string::npos);
    EXPECT_EQ(longer.out.substr(longer.out.size() - 16), "\n0,,19999,19999\n");
}

// --set replaces a level's, rate's, variable's, expert's or switch's value
// for the run; exit 1 and 3 come with nothing on standard output.
TEST(RunModelCommand, SetReplacesElementValuesAndExitCodesSayWhatWentWrong) {
    // L6 a level, L7 a rate, V8 a variable, T9 a table, E10 an expert, E11 a switch.
    const std::string model = WriteModel(
        "set.vrn", ProgramText("graphic g|var z|plot g L6 V8|plot g E10 E11(z)|set z = 1|plot g L7 E11(z)"), 12);
    const Outcome r = Call(RunModelCommand, {model, "--set", "L6=1.5", "--set=V8=-2", "--set", "E10=7", "--set", "L7=3",
                                             "--set", "E11.threshold=0.5", "--set", "E11.value2=9", "--set", "E11=-4"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "series,caption,x,y\n0,,1.5,-2\n0,,3,9\n0,,7,-4\n");

    const Outcome error = RunProgram("graphic g||bogus");
    EXPECT_EQ(error.code, 1);
    EXPECT_EQ(error.out, "");
    EXPECT_EQ(error.err, "Interpretation error:\nUnknown command 'bogus' (col: 3).\nline 3\n");
    const Outcome bound = RunProgram("graphic g|var t|mark a|plot g t t|goto a", {"--max-steps", "1000"});
    EXPECT_EQ(bound.code, 3);
    EXPECT_EQ(bound.out, "");
    EXPECT_NE(bound.err.find("1000"), std::string::npos) << bound.err;
}

// Variables a and b; the run plots the point (a, b) and fails on its fourth
// line when a is 2.
TEST(SweepCommand, GridInOrderWithItsErrorsAndTheSameBytesOnAnyThreads) {
    auto doc = samples::MixedModel(0, ProgramText("graphic g color=255|plot g a b|if a = 2|goto nowhere"));
    for (const char* description : {"variable a 0", "variable b 0"}) doc->m_pEntityList->Add(CorpusElement(description));
    const std::string model = WriteTemp("sweep.vrn", doc->Store());
    const Outcome one = Call(SweepCommand, {model, "--vary", "a=1:3:3", "--vary=b=-0.5:0.5:2", "--jobs", "1"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.err, "");
    std::string expected;
    for (int run = 0; run < 6; ++run) {
        const std::string a = std::to_string(1 + run / 2), b = run % 2 ? "0.5" : "-0.5";
        expected += "{\"run\":" + std::to_string(run) + ",\"values\":{\"a\":" + a + ",\"b\":" + b + "}," +
                    (a == "2" ? R"("error":"Interpretation error:\nBad mark name in goto command(4).","line":4)"
                              : R"("series":[{"caption":"","color":255,"loX":0,"hiX":0,"loY":0,"hiY":0,"divY":1,)"
                                R"("samples":[[)" + a + "," + b + "]]}]") + "}\n";
    }
    EXPECT_EQ(one.out, expected);
    // Many more runs than threads, so that their timing differs.
    CommandArgs args = {model, "--vary", "a=0:4:41", "--vary", "b=0:1:25", "--jobs", "2"};
    const Outcome two = Call(SweepCommand, args);
    EXPECT_EQ(two.code, 0);
    EXPECT_EQ(std::count(two.out.begin(), two.out.end(), '\n'), 41 * 25);
    args.back() = "1";
    EXPECT_EQ(two.out, Call(SweepCommand, args).out);
    // Values between the ends read as typed: 0.3, not 0.30000000000000004.
    EXPECT_NE(two.out.find("{\"run\":75,\"values\":{\"a\":0.3,\"b\":0}"), std::string::npos);
}

// A job that throws gives its own result through fail; the rest go on in order.
TEST(OrderedJobs, AThrowingJobBecomesItsOwnResult) {
    for (unsigned nThreads : {1u, 3u}) {
        std::string all;
        COrderedJobs jobs;
        jobs.produce = [](uint64_t i) {
            if (i % 4 == 1) throw std::runtime_error("odd");
            if (i == 6) throw std::bad_alloc();
            return std::to_string(i);
        };
        jobs.fail = [](uint64_t i, const std::string& reason) { return "(" + std::to_string(i) + " " + reason + ")"; };
        jobs.consume = [&all](std::string& result) { all += result; };
        RunOrderedJobs(10, nThreads, jobs);
        EXPECT_EQ(all, "0(1 odd)234(5 odd)(6 out of memory)78(9 odd)");
    }
}

}  // namespace
