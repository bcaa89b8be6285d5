// The drawing tools: which class of object each tool command places.
#pragma once
#include <memory>

#include "diagram/Entity.h"

// A new object in its class's default state for a tool command id
// (ID_TOOL_LINE .. ID_TOOL_ARROW); null for any other id.
std::unique_ptr<CVEntity> MakeToolEntity(unsigned toolId);
