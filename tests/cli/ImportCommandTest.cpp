// varnel import and the verbs that take an XMILE model directly.
#include "Cli.h"

namespace {

const std::string kGrowth =
    "<xmile><sim_specs><start>0</start><stop>2</stop><dt>0.5</dt></sim_specs><model><variables>"
    "<stock name=\"Population\"><eqn>100</eqn><inflow>births</inflow></stock>"
    "<flow name=\"births\"><eqn>Population * birth_rate</eqn></flow>"
    "<aux name=\"birth rate\"><eqn>0.1</eqn></aux></variables></model></xmile>";

}  // namespace

// Saved and reopened, an imported model runs to the same bytes as the XMILE
// file run directly; --plot all adds the flows and auxiliaries.
TEST(ImportCommand, WritesAModelThatRunsAsTheXmileFileDoes) {
    const std::string xmile = WriteTemp("growth.xmile", kGrowth);
    const std::string vrn = TempPath("growth.vrn");
    for (const char* plot : {"stocks", "all"}) {
        SCOPED_TRACE(plot);
        ASSERT_EQ(Call([](auto& a, auto&, auto& e) { return ImportCommand(a, e); }, {xmile, "-o", vrn, "--plot", plot}).code, 0);
        const Outcome direct = Call(RunModelCommand, {xmile, "--plot", plot});
        const Outcome saved = Call(RunModelCommand, {vrn});
        ASSERT_EQ(direct.code, 0) << direct.err;
        EXPECT_EQ(direct.out, saved.out);
        EXPECT_NE(direct.out.find(",Population,2,121.550625\n"), std::string::npos) << direct.out;
        EXPECT_EQ(direct.out.find("birth rate") != std::string::npos, std::string(plot) == "all");
    }
    EXPECT_EQ(Call(CheckCommand, {xmile}).code, 0);
    EXPECT_NE(Call(DumpCommand, {xmile}).out.find("\"name\":\"birth_rate\",\"description\":\"birth rate\""), std::string::npos);
}

TEST(ImportCommand, RefusalsExitTwoWithOneLineEach) {
    const std::string xmile = WriteTemp("bad.xmile", "<xmile><model><variables><aux name=\"a\"><eqn>FOO(1)</eqn></aux>"
                                                     "<module name=\"m\"/></variables></model></xmile>");
    const Outcome run = Call(RunModelCommand, {xmile});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "varnel run: cannot import '" + xmile + "':\n  modules: 'm'\n");
    const Outcome import = Call([](auto& a, auto&, auto& e) { return ImportCommand(a, e); }, {xmile, "-o", TempPath("x.vrn")});
    EXPECT_EQ(import.code, 2);
    EXPECT_EQ(Call([](auto& a, auto&, auto& e) { return ImportCommand(a, e); }, {xmile}).code, 2);
    EXPECT_EQ(Call(RunModelCommand, {WriteTemp("ok.xmile", kGrowth), "--plot", "some"}).code, 2);
}
