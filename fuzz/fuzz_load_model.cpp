// Fuzz target: any bytes as a model file. A file that loads must store,
// load again and store to the same bytes; its dump must pack back to a file
// that loads the same model; and the loaded diagram must survive drawing,
// zooming and hit testing, which is what the view does with it next, and
// its program must run over its diagram (bounded) as `varnel run` does.
#include <cstddef>
#include <cstdint>
#include <span>

#include "app/cli/ModelJson.h"
#include "document/VarnelDoc.h"
#include "fuzz/FuzzSupport.h"
#include "interpreter/BuildGraphs.h"

namespace {

void ExerciseDiagram(EntityList& list) {
    CNullDrawContext dc;
    const CRect client{0, 0, 640, 480};
    list.DrawAll(dc, &client);
    list.HighlightAt(CPoint{10, 10}, &dc);
    list.HighlightNone(&dc);
    list.ScaleAll(0.5, 0.5);
    list.ScaleAll(2.0, 2.0);
    list.DrawAll(dc, nullptr);
}

void CheckDumpAndPack(std::span<const uint8_t> bytes, const std::vector<uint8_t>& stored) {
    std::vector<uint8_t> packed;
    try {
        packed = JsonToModelFile(ModelFileToJson(bytes));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        FUZZ_CHECK(false, "the dump of a loadable file does not pack");
    }
    CVarnelDoc doc;
    try {
        doc.Load(packed);
    } catch (const CFileError&) {
        FUZZ_CHECK(false, "a packed dump does not load");
    }
    FUZZ_CHECK(doc.Store() == stored, "a packed dump loads a different model");
}

void RunModel(const CVarnelDoc& doc) {
    RunControl control;
    control.nMaxSteps = 5000;
    BuildGraphsResult result = BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control);
    for (const auto& series : result.series) ShowSeriesAsTheGraphsWindowDoes(*series);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    CVarnelDoc doc;
    try {
        doc.Load(bytes);
    } catch (const CFileError&) {
        FUZZ_CHECK(doc.m_pEntityList && doc.m_pEntityList->IsEmpty() && doc.m_strProgram.empty(),
                   "a failed load leaves more than a new model");
        return 0;
    }
    const std::vector<uint8_t> stored = doc.Store();
    CVarnelDoc again;
    try {
        again.Load(stored);
    } catch (const CFileError&) {
        FUZZ_CHECK(false, "a stored model does not load");
    }
    FUZZ_CHECK(again.Store() == stored, "storing a reloaded model changes its bytes");
    CheckDumpAndPack(bytes, stored);
    RunModel(doc);
    ExerciseDiagram(*doc.m_pEntityList);
    return 0;
}
