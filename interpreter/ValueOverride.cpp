// Value overrides: parsing "NAME=VALUE" and setting it in a run's symbols.
#include "interpreter/ValueOverride.h"

#include <string_view>

#include "base/Cp1251.h"
#include "base/WholeText.h"

namespace {

// The switch fields a suffix names, as the model's JSON calls them.
double* SwitchField(SymbolRec& rec, std::string_view suffix) {
    if (suffix == "value2") return &rec.dFrom;
    if (suffix == "threshold") return &rec.dTo;
    return nullptr;
}

double* FieldFor(CNameTable<SymbolRec>& symbols, const std::string& name) {
    // An exact name wins, so an element whose own name holds a point stays
    // reachable.
    if (SymbolRec* pRec = symbols.Find(name)) {
        if (pRec->nKind == SK_NUMBER || pRec->nKind == SK_SWITCH) return &pRec->dValue;
        return nullptr;
    }
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return nullptr;
    SymbolRec* pSwitch = symbols.Find(std::string_view(name).substr(0, dot));
    if (!pSwitch || pSwitch->nKind != SK_SWITCH) return nullptr;
    return SwitchField(*pSwitch, std::string_view(name).substr(dot + 1));
}

}  // namespace

bool ParseValueOverride(const std::string& text, CValueOverride& out, std::string& error) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "expected NAME=VALUE, not '" + text + "'";
        return false;
    }
    const std::string valueText = text.substr(eq + 1);
    const std::optional<double> value = ReadWholeFinite(valueText);
    if (!value) {
        error = "the value of " + text.substr(0, eq) + " is not a number: '" + valueText + "'";
        return false;
    }
    out.strName = text.substr(0, eq);
    out.dValue = *value;
    return true;
}

COptionRule ValueOverrideOption(std::string name, std::vector<CValueOverride>& target) {
    return {name, true, [name, &target](const std::string& value) {
                CValueOverride override;
                std::string error;
                if (!ParseValueOverride(Utf8ToCp1251Lossy(value), override, error))
                    return name + ": " + Cp1251ToUtf8(error);
                target.push_back(std::move(override));
                return std::string();
            }};
}

std::optional<std::string> ApplyValueOverrides(CNameTable<SymbolRec>& symbols, const std::vector<CValueOverride>& overrides) {
    for (const CValueOverride& o : overrides) {
        double* pField = FieldFor(symbols, o.strName);
        if (!pField) return o.strName;
        *pField = o.dValue;
    }
    return std::nullopt;
}
