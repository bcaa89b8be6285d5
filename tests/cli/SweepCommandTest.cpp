// varnel sweep: one line per run in grid order, the same bytes whatever the
// number of threads, a failing run reporting in its own line while the
// others complete.
#include <algorithm>

#include "Cli.h"

namespace {

// Variables a and b; the run plots the point (a, b) and fails on its
// fourth line when a is 2.
std::string SweepModel() {
    auto doc = samples::MixedModel(0, ProgramText("graphic g color=255|plot g a b|if a = 2|goto nowhere"));
    for (const char* spec : {"variable a 0", "variable b 0"}) doc->m_pEntityList->Add(CorpusElement(spec));
    return WriteTemp("sweep.vrn", doc->Store());
}

Outcome Sweep(const CommandArgs& args) { return Call(SweepCommand, args); }

const std::string kFails = "\"error\":\"Interpretation error:\\nBad mark name in goto command(4).\",\"line\":4";

TEST(SweepCommand, GridInOrderWithItsErrorsAndTheSameBytesOnAnyThreads) {
    const std::string model = SweepModel();
    const Outcome one = Sweep({model, "--vary", "a=1:3:3", "--vary=b=-0.5:0.5:2", "--jobs", "1"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.err, "");
    std::string expected;
    for (int run = 0; run < 6; ++run) {
        const std::string a = std::to_string(1 + run / 2), b = run % 2 ? "0.5" : "-0.5";
        const std::string point = R"("series":[{"caption":"","color":255,"loX":0,"hiX":0,"loY":0,"hiY":0,"divY":1,)"
                                  R"("samples":[[)" + a + "," + b + "]]}]";
        expected += "{\"run\":" + std::to_string(run) + ",\"values\":{\"a\":" + a + ",\"b\":" + b + "}," +
                    (a == "2" ? kFails : point) + "}\n";
    }
    EXPECT_EQ(one.out, expected);
    // Many more runs than threads, so that their timing differs.
    const Outcome two = Sweep({model, "--vary", "a=0:4:41", "--vary", "b=0:1:25", "--jobs", "2"});
    EXPECT_EQ(two.code, 0);
    EXPECT_EQ(std::count(two.out.begin(), two.out.end(), '\n'), 41 * 25);
    EXPECT_EQ(two.out, Sweep({model, "--vary", "a=0:4:41", "--vary", "b=0:1:25", "--jobs", "1"}).out);
    // Values between the ends read as typed: 0.3, not 0.30000000000000004.
    EXPECT_NE(two.out.find("{\"run\":75,\"values\":{\"a\":0.3,\"b\":0}"), std::string::npos);
}

}  // namespace
