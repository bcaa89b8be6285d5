// Fuzz target: any text as the JSON that `varnel pack` reads. It either
// names what is wrong or writes a model file, and a file it writes loads.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/cli/ModelJson.h"
#include "document/VarnelDoc.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> model;
    try {
        model = JsonToModelFile(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ModelJsonError&) {
        return 0;
    }
    CVarnelDoc doc;
    try {
        doc.Load(model);
    } catch (const CFileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        FUZZ_CHECK(false, "pack wrote a file that does not load");
    }
    return 0;
}
