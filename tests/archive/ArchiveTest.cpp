// The archive's encoding, through the diagram's records: archive.txt, every
// row its own test.
#include <gtest/gtest.h>

#include "support/DiagramScript.h"

namespace {

class ArchiveRow : public ::testing::TestWithParam<ScriptRow> {};

TEST_P(ArchiveRow, Answers) {
    DiagramScript script;
    script.RunUpTo(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Encoding, ArchiveRow, ::testing::ValuesIn(ScriptRows({"archive/archive.txt"})), RowName);

}  // namespace
