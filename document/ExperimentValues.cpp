// The diagram's settable values by element class, writing them back as
// one change, and the slider arithmetic.
#include "document/ExperimentValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "diagram/TableElements.h"
#include "document/VarnelDoc.h"

namespace {

struct CFoundValue {
    CElementValue value;
    CVEntity* pEntity = nullptr;
};

bool KindOf(CVEntity& entity, EElementKind& kind) {
    if (dynamic_cast<CVTableData*>(&entity)) return false;
    if (dynamic_cast<CVRate*>(&entity)) kind = EElementKind::Rate;
    else if (dynamic_cast<CVLevel*>(&entity)) kind = EElementKind::Level;
    else if (dynamic_cast<CVVariable*>(&entity)) kind = EElementKind::Variable;
    else if (dynamic_cast<CVSwitch*>(&entity)) kind = EElementKind::Switch;
    else if (dynamic_cast<CVExpert*>(&entity)) kind = EElementKind::Expert;
    else return false;
    return true;
}

std::string DescriptionOf(CVEntity& entity) {
    if (auto* pLevel = dynamic_cast<CVLevel*>(&entity)) return pLevel->m_strDescription;
    if (auto* pVariable = dynamic_cast<CVVariable*>(&entity)) return pVariable->m_strDescription;
    if (auto* pExpert = dynamic_cast<CVExpert*>(&entity)) return pExpert->m_strDescription;
    return {};
}

double* FieldOf(CVEntity& entity, EValueField field) {
    if (auto* pSwitch = dynamic_cast<CVSwitch*>(&entity)) {
        if (field == EValueField::Value2) return &pSwitch->m_dValue2;
        if (field == EValueField::Threshold) return &pSwitch->m_dThreshold;
        return &pSwitch->m_dValue;
    }
    if (field != EValueField::Value) return nullptr;
    if (auto* pLevel = dynamic_cast<CVLevel*>(&entity)) return &pLevel->m_dValue;
    if (auto* pVariable = dynamic_cast<CVVariable*>(&entity)) return &pVariable->m_dValue;
    if (auto* pExpert = dynamic_cast<CVExpert*>(&entity)) return &pExpert->m_dValue;
    return nullptr;
}

std::vector<CFoundValue> FindValues(const EntityList& list) {
    std::vector<CFoundValue> found;
    std::set<std::string> names;
    for (const auto& pEntity : list) {
        EElementKind kind;
        if (!KindOf(*pEntity, kind)) continue;
        SymbolRec rec;
        const std::string name = pEntity->GetName(&rec);
        if (name.empty() || !names.insert(name).second) continue;
        CElementValue value{name, DescriptionOf(*pEntity), kind, EValueField::Value, rec.dValue};
        found.push_back({value, pEntity.get()});
        if (kind != EElementKind::Switch) continue;
        value.field = EValueField::Value2;
        value.dValue = rec.dFrom;
        found.push_back({value, pEntity.get()});
        value.field = EValueField::Threshold;
        value.dValue = rec.dTo;
        found.push_back({value, pEntity.get()});
    }
    return found;
}

}  // namespace

std::string CElementValue::OverrideName() const {
    switch (field) {
        case EValueField::Value2: return strName + ".value2";
        case EValueField::Threshold: return strName + ".threshold";
        default: return strName;
    }
}

std::vector<CElementValue> ListElementValues(const EntityList& list) {
    std::vector<CElementValue> values;
    for (CFoundValue& found : FindValues(list)) values.push_back(std::move(found.value));
    return values;
}

std::unique_ptr<CObjectsChange> SetElementValues(CVarnelDoc& doc, const std::vector<CValueOverride>& values) {
    if (!doc.m_pEntityList) return nullptr;
    std::vector<std::pair<double*, double>> writes;
    std::vector<CVEntity*> touched;
    for (const CFoundValue& found : FindValues(*doc.m_pEntityList)) {
        const std::string name = found.value.OverrideName();
        const auto it = std::find_if(values.begin(), values.end(), [&](const CValueOverride& o) { return o.strName == name; });
        double* pField = it != values.end() ? FieldOf(*found.pEntity, found.value.field) : nullptr;
        if (pField == nullptr) continue;
        writes.emplace_back(pField, it->dValue);
        if (std::find(touched.begin(), touched.end(), found.pEntity) == touched.end()) touched.push_back(found.pEntity);
    }
    if (touched.empty()) return nullptr;
    auto pChange = std::make_unique<CObjectsChange>(doc, touched);
    for (const auto& [pField, dValue] : writes) *pField = dValue;
    if (!pChange->Finish()) return nullptr;
    return pChange;
}

CValueRange CValueRange::Around(double value) {
    if (value == 0.0 || !std::isfinite(value)) return {-1.0, 1.0};
    const double twice = 2.0 * value;
    if (!std::isfinite(twice)) return {std::min(0.0, value), std::max(0.0, value)};
    return {std::min(0.0, twice), std::max(0.0, twice)};
}

double CValueRange::ValueAt(int pos, int steps) const {
    if (steps <= 0 || pos <= 0) return dFrom;
    if (pos >= steps) return dTo;
    const double exact = dFrom + (dTo - dFrom) * (static_cast<double>(pos) / steps);
    const double step = std::fabs(dTo - dFrom) / steps;
    if (!std::isfinite(exact) || !std::isfinite(step) || step == 0.0) return exact;
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step))) + 1, 0, 17);
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, exact, std::chars_format::fixed, decimals);
    double rounded = exact;
    if (written.ec != std::errc() || std::from_chars(text, written.ptr, rounded).ec != std::errc()) return exact;
    return rounded;
}

int CValueRange::PositionOf(double value, int steps) const {
    const double span = dTo - dFrom;
    if (steps <= 0 || span == 0.0 || !std::isfinite(span)) return 0;
    const double t = (value - dFrom) / span * steps;
    if (!(t > 0.0)) return 0;  // NaN too
    if (t >= steps) return steps;
    return static_cast<int>(std::lround(t));
}
