// The diagram a corpus program runs over, one element a description
// ("KIND NAME NUMBERS..."), so one file holds the whole case.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/Numbers.h"
#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "diagram/TableElements.h"

// One element: level|rate|variable|expert NAME VALUE,
// table NAME FROM TO STEP VALUE..., switch NAME VALUE VALUE2 THRESHOLD.
inline std::unique_ptr<CVEntity> CorpusElement(const std::string& description) {
    std::istringstream in(description);
    std::string kind, name;
    in >> kind >> name;
    std::vector<double> v;
    for (std::string word; in >> word;) v.push_back(DecimalToDouble(word));
    const auto at = [&](size_t i) { return i < v.size() ? v[i] : 0.0; };
    std::unique_ptr<CVLevel> level;
    if (kind == "level") level = std::make_unique<CVLevel>();
    if (kind == "rate") level = std::make_unique<CVRate>();
    if (level) {
        level->m_strName = name;
        level->m_dValue = at(0);
        return level;
    }
    if (kind == "variable" || kind == "table") {
        auto variable = kind == "table" ? std::make_unique<CVTableData>() : std::make_unique<CVVariable>();
        variable->m_strName = name;
        variable->m_dValue = at(0);
        if (auto* table = dynamic_cast<CVTableData*>(variable.get())) {
            table->m_dFrom = at(0);
            table->m_dTo = at(1);
            table->m_dStep = at(2);
            if (v.size() > 3) table->m_data.assign(v.begin() + 3, v.end());
        }
        return variable;
    }
    auto expert = kind == "switch" ? std::make_unique<CVSwitch>() : std::make_unique<CVExpert>();
    expert->m_strText = name;
    expert->m_dValue = at(0);
    if (auto* sw = dynamic_cast<CVSwitch*>(expert.get())) sw->m_dValue2 = at(1), sw->m_dThreshold = at(2);
    EXPECT_TRUE(kind == "switch" || kind == "expert") << description;
    return expert;
}
