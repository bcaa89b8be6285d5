// The diagram layer driven by one script, diagram.txt (see
// support/DiagramScript.h): records, drawing, hit areas, moves, placing
// with the mouse, table values and the parameter dialog.
#include <gtest/gtest.h>

#include "support/DiagramScript.h"

TEST(Diagram, Script) {
    DiagramScript().RunFile("diagram/diagram.txt");
    EXPECT_EQ(MakeToolEntity(ID_TOOL_LINE - 1), nullptr);
    EXPECT_EQ(MakeToolEntity(ID_TOOL_ARROW + 1), nullptr);
}
