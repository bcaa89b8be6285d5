// The tool commands and the object classes they place.
#include "diagram/ToolTable.h"

#include "shell/view/CommandIds.h"
#include "diagram/Elements.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"

std::unique_ptr<CVEntity> MakeToolEntity(ETool tool) {
    switch (tool) {
        case ETool::Line: return std::make_unique<CVLine>();
        case ETool::Text: return std::make_unique<CVText>();
        case ETool::Rectangle: return std::make_unique<CVRectangle>();
        case ETool::Ellipse: return std::make_unique<CVEllipse>();
        case ETool::Expert: return std::make_unique<CVExpert>();
        case ETool::BSpline: return std::make_unique<CVBSpline>();
        case ETool::Variable: return std::make_unique<CVVariable>();
        case ETool::Level: return std::make_unique<CVLevel>();
        case ETool::Rate: return std::make_unique<CVRate>();
        case ETool::TableData: return std::make_unique<CVTableData>();
        case ETool::Sources: return std::make_unique<CVSources>();
        case ETool::Switch: return std::make_unique<CVSwitch>();
        case ETool::Arrow: return std::make_unique<CVArrow>();
    }
    return nullptr;
}
