// The archive's encoding, through the diagram's records: archive.txt.
#include <gtest/gtest.h>

#include "support/DiagramScript.h"

TEST(Archive, Encoding) { DiagramScript().RunFile("archive/archive.txt"); }
