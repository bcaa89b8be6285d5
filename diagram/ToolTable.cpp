// The tool commands and the object classes they place.
#include "diagram/ToolTable.h"

#include "diagram/CommandIds.h"
#include "diagram/Elements.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"

std::unique_ptr<CVEntity> MakeToolEntity(unsigned toolId) {
    switch (toolId) {
        case ID_TOOL_LINE: return std::make_unique<CVLine>();
        case ID_TOOL_TEXT: return std::make_unique<CVText>();
        case ID_TOOL_RECTANGLE: return std::make_unique<CVRectangle>();
        case ID_TOOL_ELLIPSE: return std::make_unique<CVEllipse>();
        case ID_TOOL_EXPERT: return std::make_unique<CVExpert>();
        case ID_TOOL_BSPLINE: return std::make_unique<CVBSpline>();
        case ID_TOOL_VARIABLE: return std::make_unique<CVVariable>();
        case ID_TOOL_LEVEL: return std::make_unique<CVLevel>();
        case ID_TOOL_RATE: return std::make_unique<CVRate>();
        case ID_TOOL_TABLEDATA: return std::make_unique<CVTableData>();
        case ID_TOOL_SOURCES: return std::make_unique<CVSources>();
        case ID_TOOL_SWITCH: return std::make_unique<CVSwitch>();
        case ID_TOOL_ARROW: return std::make_unique<CVArrow>();
        default: return nullptr;
    }
}
