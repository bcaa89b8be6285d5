// The diagram layer driven by scripts (see support/DiagramScript.h), one
// file per topic; every row of them is its own test.
#include <gtest/gtest.h>

#include "support/DiagramScript.h"

namespace {

class DiagramRow : public ::testing::TestWithParam<ScriptRow> {};

TEST_P(DiagramRow, Answers) {
    DiagramScript script;
    script.RunUpTo(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Script, DiagramRow,
                         ::testing::ValuesIn(ScriptRows({"diagram/records.txt", "diagram/drawing.txt",
                                                         "diagram/hits.txt", "diagram/moves.txt",
                                                         "diagram/placing.txt", "diagram/dialogs.txt"})),
                         RowName);

}  // namespace
