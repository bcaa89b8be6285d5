// Row texts of the drawing database.
#include "diagram/ObjectRows.h"

std::string DatabaseRowText(CVEntity& entity) {
    SymbolRec rec;  // filled by the element and thrown away
    const std::string name = entity.GetName(&rec);
    if (!name.empty()) return name;
    std::string row = entity.GetRuntimeClass()->m_lpszClassName;
    const std::string label = entity.GetLabel();
    if (!label.empty()) return row + " \"" + label + "\"";
    if (entity.GetPointCount() == 0) return row;
    const CPoint p0 = entity.GetPoint(0);
    return row + " (" + std::to_string(p0.x) + ", " + std::to_string(p0.y) + ")";
}
