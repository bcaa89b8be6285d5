// Placing an imported model. View coordinates are element centres; they
// are stretched by a fixed factor so that names fit inside the symbols,
// and shifted so that the leftmost and topmost element keeps a margin.
#include "exchange/XmileDiagram.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include "base/Numbers.h"
#include "diagram/Elements.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"
#include "exchange/XmileExpr.h"

namespace {

constexpr double kStretch = 2.0;
constexpr int32_t kMargin = 60;

// Wide enough for the name on one line in the label font (about 8 units
// a character) inside the symbol's inset.
CPoint Size(const XElement& element) {
    const int32_t text = SaturatingTrunc(std::min<double>(static_cast<double>(element.strName.size()), 40.0) * 8.0);
    switch (element.kind) {
        case XElementKind::Level: return {std::max(96, text + 24), 56};
        case XElementKind::Rate: return {std::max(64, text + 24), 36};
        default: return {std::max(84, text + 44), 44};
    }
}

struct CPlaced {
    const XElement* pElement = nullptr;
    CPoint centre;
    CRect box;
};

// Where the line from the box's centre towards `toward` leaves the box.
CPoint Edge(const CRect& box, CPoint toward) {
    const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
    const double dx = toward.x - cx, dy = toward.y - cy;
    const double hw = (box.right - box.left) / 2.0, hh = (box.bottom - box.top) / 2.0;
    if (dx == 0 && dy == 0) return {SaturatingTrunc(cx), SaturatingTrunc(cy)};
    const double t = std::min(dx != 0 ? hw / std::fabs(dx) : 1e300, dy != 0 ? hh / std::fabs(dy) : 1e300);
    return {SaturatingTrunc(cx + dx * std::min(t, 1.0)), SaturatingTrunc(cy + dy * std::min(t, 1.0))};
}

std::unique_ptr<CVArrow> Arrow(CPoint from, CPoint to) {
    auto arrow = std::make_unique<CVArrow>();
    arrow->GetPoint(0) = from;
    arrow->GetPoint(1) = {from.x + (to.x - from.x) / 3, from.y + (to.y - from.y) / 3};
    arrow->GetPoint(2) = {from.x + 2 * (to.x - from.x) / 3, from.y + 2 * (to.y - from.y) / 3};
    arrow->GetPoint(3) = to;
    return arrow;
}

// A cloud with its arrow: above `at` and pointing down to it for a
// source, below it and pointing down into it for a sink.
std::unique_ptr<CVSources> Cloud(CPoint at, bool bSource) {
    auto cloud = std::make_unique<CVSources>();
    if (bSource) {
        cloud->GetPoint(0) = {at.x, at.y - 40};
        cloud->GetPoint(1) = {at.x - 1, at.y};
    } else {
        cloud->GetPoint(0) = at;
        cloud->GetPoint(1) = {at.x + 1, at.y + 40};
    }
    return cloud;
}

std::unique_ptr<CVEntity> MakeElement(const XElement& element, const CRect& box) {
    std::unique_ptr<CVEntity> entity;
    if (element.kind == XElementKind::Table) {
        auto table = std::make_unique<CVTableData>();
        table->m_strName = element.strName;
        table->m_strDescription = element.strDescription;
        table->m_dFrom = element.dFrom;
        table->m_dTo = element.dTo;
        table->m_dStep = element.dStep;
        table->m_data = element.data;
        table->m_data.resize(static_cast<size_t>(table->ValueCount()));
        entity = std::move(table);
    } else {
        auto set = [&](auto named) {
            named->m_strName = element.strName;
            named->m_strDescription = element.strDescription;
            named->m_dValue = element.dValue;
            return named;
        };
        if (element.kind == XElementKind::Level) entity = set(std::make_unique<CVLevel>());
        else if (element.kind == XElementKind::Rate) entity = set(std::make_unique<CVRate>());
        else entity = set(std::make_unique<CVVariable>());
    }
    entity->GetPoint(0) = {box.left, box.top};
    entity->GetPoint(1) = {box.right, box.bottom};
    return entity;
}

// The names an equation reads, as keys.
std::vector<std::string> References(const XVariable& var) {
    XExpr root;
    std::string error;
    std::vector<std::string> keys;
    if (!ParseXmileExpr(var.strEqn, root, error)) return keys;
    std::vector<const XExpr*> open{&root};
    while (!open.empty()) {
        const XExpr* e = open.back();
        open.pop_back();
        if (e->kind == XExpr::Name) keys.push_back(e->strText);
        for (const XExpr& arg : e->args) open.push_back(&arg);
    }
    return keys;
}

class CLayout {
public:
    CLayout(const XModel& model, const XTranslation& translation) : m_model(model), m_translation(translation) {}
    XDiagram Build();

private:
    const XModel& m_model;
    const XTranslation& m_translation;
    std::unordered_map<std::string, CPlaced> m_placed;
    std::unordered_map<std::string, const XViewItem*> m_viewItems;
    std::unordered_map<std::string, const XElement*> m_elements;  // by key
    XDiagram m_diagram;

    void Place(const XElement& element, double x, double y);
    void PlaceFromView();
    void PlaceInRows();
    void AddFlowLines();
    void AddConnectors();
    void Grow(const CRect& box);
};

void CLayout::Place(const XElement& element, double x, double y) {
    const CPoint size = Size(element);
    CPlaced placed;
    placed.pElement = &element;
    placed.centre = {SaturatingTrunc(x), SaturatingTrunc(y)};
    placed.box = {SaturatingSub(placed.centre.x, size.x / 2), SaturatingSub(placed.centre.y, size.y / 2),
                  SaturatingAdd(placed.centre.x, size.x / 2), SaturatingAdd(placed.centre.y, size.y / 2)};
    m_placed[element.strKey] = placed;
    Grow(placed.box);
}

void CLayout::Grow(const CRect& box) {
    m_diagram.nWidth = std::max(m_diagram.nWidth, SaturatingAdd(box.right, kMargin));
    m_diagram.nHeight = std::max(m_diagram.nHeight, SaturatingAdd(box.bottom, kMargin));
}

void CLayout::PlaceFromView() {
    double minX = 1e300, minY = 1e300;
    for (const XViewItem& item : m_model.view) {
        m_viewItems.emplace(item.strKey, &item);
        minX = std::min(minX, item.dX);
        minY = std::min(minY, item.dY);
    }
    for (const XElement& element : m_translation.elements) {
        const auto found = m_viewItems.find(element.strKey);
        if (found == m_viewItems.end()) continue;
        Place(element, (found->second->dX - minX) * kStretch + kMargin + 50, (found->second->dY - minY) * kStretch + kMargin + 50);
    }
}

// Without a view: stocks in a row with their flows between them, then the
// other variables in rows below.
void CLayout::PlaceInRows() {
    const int32_t top = m_diagram.nHeight - kMargin + 80;
    const bool first = m_placed.empty();
    const int32_t row = first ? 120 : top;
    double x = 120;
    std::map<std::string, double> flowX;
    for (const XVariable& var : m_model.variables) {
        if (var.kind != XKind::Stock) continue;
        for (const std::string& in : var.inflows) flowX.emplace(in, x);
        x += 140;
        const auto element = m_elements.find(var.strKey);
        if (element != m_elements.end() && !m_placed.count(var.strKey)) Place(*element->second, x, row);
        x += 140;
        for (const std::string& out : var.outflows) flowX.emplace(out, x);
    }
    for (const XElement& element : m_translation.elements) {
        const auto found = flowX.find(element.strKey);
        if (element.kind == XElementKind::Rate && found != flowX.end() && !m_placed.count(element.strKey))
            Place(element, found->second, row);
    }
    // The rest in layers: a variable one row below the deepest of the
    // variables its equation reads.
    std::map<std::string, int> layers;
    for (int pass = 0; pass < 64; ++pass) {
        bool changed = false;
        for (const XVariable& var : m_model.variables) {
            if (m_placed.count(var.strKey)) continue;
            int layer = 0;
            for (const std::string& key : References(var))
                if (const auto found = layers.find(key); found != layers.end() && key != var.strKey)
                    layer = std::max(layer, found->second + 1);
            if (layers[var.strKey] != std::min(layer, 15)) changed = true, layers[var.strKey] = std::min(layer, 15);
        }
        if (!changed) break;
    }
    std::map<int, int> columns;
    for (const XElement& element : m_translation.elements) {
        if (m_placed.count(element.strKey)) continue;
        const int layer = layers[element.strKey];
        const int column = columns[layer]++;
        Place(element, 120 + (column % 8) * 140, row + 160 + (layer * 3 + column / 8) * 100);
    }
}

void CLayout::AddFlowLines() {
    std::map<std::string, const CPlaced*> sources, targets;  // by flow
    for (const XVariable& stock : m_model.variables) {
        if (stock.kind != XKind::Stock || !m_placed.count(stock.strKey)) continue;
        for (const std::string& flow : stock.outflows) sources[flow] = &m_placed.at(stock.strKey);
        for (const std::string& flow : stock.inflows) targets[flow] = &m_placed.at(stock.strKey);
    }
    for (const XVariable& var : m_model.variables) {
        if (var.kind != XKind::Flow || !m_placed.count(var.strKey)) continue;
        const CPlaced& rate = m_placed.at(var.strKey);
        const CPlaced* pFrom = sources.count(var.strKey) ? sources[var.strKey] : nullptr;
        const CPlaced* pTo = targets.count(var.strKey) ? targets[var.strKey] : nullptr;
        const CPoint left{rate.box.left - 70, rate.centre.y};
        const CPoint right{rate.box.right + 70, rate.centre.y};
        const CPoint start = pFrom ? Edge(pFrom->box, rate.centre) : (pTo && pTo->centre.x < rate.centre.x ? right : left);
        const CPoint end = pTo ? Edge(pTo->box, rate.centre) : (pFrom && pFrom->centre.x > rate.centre.x ? left : right);
        if (!pFrom) m_diagram.pList->Add(Cloud(start, true));
        if (!pTo) m_diagram.pList->Add(Cloud(end, false));
        m_diagram.pList->Add(Arrow(start, Edge(rate.box, start)));
        m_diagram.pList->Add(Arrow(Edge(rate.box, end), end));
        Grow({std::min(start.x, end.x), std::min(start.y, end.y) - 50, std::max(start.x, end.x), std::max(start.y, end.y) + 50});
    }
}

void CLayout::AddConnectors() {
    for (const XConnector& link : m_model.connectors) {
        const auto from = m_placed.find(link.strFrom);
        const auto to = m_placed.find(link.strTo);
        if (from == m_placed.end() || to == m_placed.end() || from == to) continue;
        m_diagram.pList->Add(Arrow(Edge(from->second.box, to->second.centre), Edge(to->second.box, from->second.centre)));
    }
}

XDiagram CLayout::Build() {
    m_diagram.pList = std::make_unique<EntityList>();
    for (const XElement& element : m_translation.elements) m_elements.emplace(element.strKey, &element);
    if (m_model.bHasView) PlaceFromView();
    PlaceInRows();
    for (const XElement& element : m_translation.elements)
        m_diagram.pList->Add(MakeElement(element, m_placed.at(element.strKey).box));
    AddFlowLines();
    AddConnectors();
    return std::move(m_diagram);
}

}  // namespace

XDiagram BuildXmileDiagram(const XModel& model, const XTranslation& translation) {
    return CLayout(model, translation).Build();
}
