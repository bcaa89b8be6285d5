// Fuzz target: any bytes as an XMILE file. The import refuses with reasons
// or gives a model whose program the check passes without a finding, which
// stores and loads back, and which runs (bounded) without an interpreter
// error: a translated program that the language refuses is a fault of the
// translator, never of the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exchange/XmileImport.h"
#include "fuzz/FuzzSupport.h"
#include "interpreter/BuildGraphs.h"
#include "interpreter/ProgramCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    XImport imported;
    try {
        imported = ImportXmile(bytes, {size % 2 == 0});
    } catch (const CXmileRefusal& refusal) {
        FUZZ_CHECK(!refusal.Problems().empty(), "a refusal without a reason");
        return 0;
    }
    CVarnelDoc& doc = imported.doc;
    for (const CCheckFinding& finding : CheckProgram(doc.m_strProgram, doc.m_pEntityList.get())) {
        std::fprintf(stderr, "%s\n", FindingText(finding).c_str());
        FUZZ_CHECK(false, "an imported program has a check finding");
    }
    CVarnelDoc reloaded;
    reloaded.Load(doc.Store());
    FUZZ_CHECK(reloaded.m_strProgram == doc.m_strProgram, "an imported model does not load back");
    RunControl control;
    control.nMaxSteps = 20000;
    const BuildGraphsResult run = BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control);
    if (run.outcome == RunOutcome::Error) std::fprintf(stderr, "%s (line %lld)\n", run.strError.c_str(), static_cast<long long>(run.nErrorLine));
    FUZZ_CHECK(run.outcome != RunOutcome::Error, "an imported program fails to run");
    return 0;
}
