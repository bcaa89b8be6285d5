// varnel sweep: one line per run in grid order, the same bytes whatever the
// number of threads, a failing run reporting in its own line while the
// others complete, and the mistakes found before any run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/cli/Commands.h"
#include "support/ModelSamples.h"

namespace {

// Variables a and b; the run plots the point (a, b) and fails on its
// fourth line when a is 2.
std::string SweepModel() {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->OnNewDocument();
    for (const char* name : {"a", "b"}) {
        auto variable = std::make_unique<CVVariable>();
        variable->m_strName = name;
        doc->m_pEntityList->Add(std::move(variable));
    }
    doc->m_strProgram = "graphic g color=255\r\nplot g a b\r\nif a = 2\r\ngoto nowhere";
    const std::vector<uint8_t> bytes = doc->Store();
    const std::string path = ::testing::TempDir() + "varnel_sweep_model.vrn";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path;
}

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome Sweep(CommandArgs args) {
    std::ostringstream out, err;
    const int code = SweepCommand(args, out, err);
    return {code, out.str(), err.str()};
}

std::string Line(int run, const std::string& values, const std::string& rest) {
    return "{\"run\":" + std::to_string(run) + ",\"values\":{" + values + "}," + rest + "}\n";
}

std::string Point(const std::string& x, const std::string& y) {
    return "\"series\":[{\"caption\":\"\",\"color\":255,\"loX\":0,\"hiX\":0,\"loY\":0,\"hiY\":0,\"divY\":1,"
           "\"samples\":[[" + x + "," + y + "]]}]";
}

const std::string kFails = "\"error\":\"Interpretation error:\\nBad mark name in goto command(4).\",\"line\":4";

}  // namespace

TEST(SweepCommand, GridInOrderWithItsErrorsAndTheSameBytesOnAnyThreads) {
    const std::string model = SweepModel();
    const Outcome one = Sweep({model, "--vary", "a=1:3:3", "--vary=b=-0.5:0.5:2", "--jobs", "1"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.err, "");
    EXPECT_EQ(one.out, Line(0, "\"a\":1,\"b\":-0.5", Point("1", "-0.5")) +
                           Line(1, "\"a\":1,\"b\":0.5", Point("1", "0.5")) +
                           Line(2, "\"a\":2,\"b\":-0.5", kFails) +
                           Line(3, "\"a\":2,\"b\":0.5", kFails) +
                           Line(4, "\"a\":3,\"b\":-0.5", Point("3", "-0.5")) +
                           Line(5, "\"a\":3,\"b\":0.5", Point("3", "0.5")));
    // Many more runs than threads, so that their timing differs.
    const CommandArgs big = {model, "--vary", "a=0:4:41", "--vary", "b=0:1:25", "--set", "a=9"};
    CommandArgs two = {model, "--vary", "a=0:4:41", "--vary", "b=0:1:25", "--jobs", "2"};
    CommandArgs single = two;
    single.back() = "1";
    const Outcome parallel = Sweep(two);
    EXPECT_EQ(parallel.code, 0);
    EXPECT_EQ(std::count(parallel.out.begin(), parallel.out.end(), '\n'), 41 * 25);
    EXPECT_EQ(parallel.out, Sweep(single).out);
    // Values between the ends read as typed: 0.3, not 0.30000000000000004.
    EXPECT_NE(parallel.out.find("{\"run\":75,\"values\":{\"a\":0.3,\"b\":0}"), std::string::npos);
    EXPECT_EQ(Sweep(big).code, 2);  // a name both varied and fixed
}

TEST(SweepCommand, MistakesEndBeforeAnyRun) {
    const std::string model = SweepModel();
    for (const CommandArgs& args : std::vector<CommandArgs>{
             {model},                                    // nothing to vary
             {model, "--vary", "a=1:2"},                 // no count
             {model, "--vary", "a=1:2:0"},               // no values
             {model, "--vary", "a=x:2:3"},               // not a number
             {model, "--vary", "c=1:2:3"},               // no such value
             {model, "--vary", "a=1:2:3", "--jobs", "0"},
             {model, "--vary", "a=1:2:3000000", "--vary", "b=1:2:3000000", "--vary", "a.x=1:2:3000000"},
             {"/no/such/model.vrn", "--vary", "a=1:2:3"}}) {
        const Outcome r = Sweep(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
}
