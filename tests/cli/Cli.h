// What a command printed and returned, and temporary files named after the
// running test (ctest runs the tests side by side).
#pragma once
#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/Commands.h"
#include "document/FileBytes.h"
#include "interpreter/Corpus.h"
#include "support/ModelSamples.h"

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

template <typename Command>
Outcome Call(Command command, const CommandArgs& args) {
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return {code, out.str(), err.str()};
}

inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "varnel_cli_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
           "_" + name;
}

inline std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteFileBytes(TempPath(name), bytes);
    return TempPath(name);
}

inline std::string WriteTemp(const std::string& name, const std::string& text) {
    return WriteTemp(name, std::vector<uint8_t>(text.begin(), text.end()));
}

// A model as pack reads it: the objects, the program and any keys after them.
inline std::string ModelJson(const std::string& objects, const std::string& extra = "", const std::string& program = "") {
    return R"({"version":1.0,"width":640,"height":480,"fullScale":1,"objects":[)" + objects + R"(],"program":")" +
           program + "\"" + extra + "}";
}

// A model file of the given program and mixed objects.
inline std::string WriteModel(const std::string& name, const std::string& program, int objects = 0) {
    return WriteTemp(name, samples::MixedModel(objects, program)->Store());
}
