// Sample models for the document, command-line and benchmark code: one
// object of every class a model file may hold, with distinctive values.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/ClassRegistry.h"  // Graphic.h uses it without including it
#include "diagram/Elements.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"

namespace samples {

inline void SetPoints(CVEntity& e, std::initializer_list<CPoint> points) {
    e.ClearPoints();
    for (CPoint p : points) e.AddPoint(p);
}

// Object number `n` of a mixed diagram: the 14 classes in turn, the
// coordinates and values derived from n (points (10n + k, 20n + k)).
inline std::unique_ptr<CVEntity> MakeObject(int n) {
    static const int kPoints[14] = {2, 2, 2, 4, 5, 1, 3, 3, 3, 3, 3, 3, 18, 0};
    const double value = 0.25 * n - 3.0;
    const std::string number = std::to_string(n);
    std::unique_ptr<CVEntity> o;
    switch (n % 14) {
    case 0: o = std::make_unique<CVLine>(); break;
    case 1: o = std::make_unique<CVRectangle>(); break;
    case 2: o = std::make_unique<CVEllipse>(); break;
    case 3: o = std::make_unique<CVBSpline>(); break;
    case 4: o = std::make_unique<CVArrow>(); break;
    case 5: {
        auto text = std::make_unique<CVText>();
        text->m_strText = "\xD2\xE5\xEA\xF1\xF2 " + number;  // "Текст n"
        o = std::move(text);
        break;
    }
    case 6: case 7: {
        std::unique_ptr<CVLevel> level = n % 14 == 6 ? std::make_unique<CVLevel>() : std::make_unique<CVRate>();
        level->m_strName = "L" + number;
        level->m_strDescription = "\xD3\xF0\xEE\xE2\xE5\xED\xFC";  // "Уровень"
        level->m_dValue = value;
        o = std::move(level);
        break;
    }
    case 8: case 9: {
        std::unique_ptr<CVVariable> variable = n % 14 == 8 ? std::make_unique<CVVariable>() : std::make_unique<CVTableData>();
        variable->m_strName = (n % 14 == 8 ? "V" : "T") + number;
        variable->m_strDescription = n % 14 == 8 ? "aux" : "table";
        if (auto* table = dynamic_cast<CVTableData*>(variable.get())) {
            table->m_dTo = 2.0;
            table->m_dStep = 0.5;
            table->m_data = {1.0, 1.5, value, -0.0, 1e300};
        } else {
            variable->m_dValue = value;
        }
        o = std::move(variable);
        break;
    }
    case 10: case 11: {
        std::unique_ptr<CVExpert> expert = n % 14 == 10 ? std::make_unique<CVExpert>() : std::make_unique<CVSwitch>();
        if (auto* sw = dynamic_cast<CVSwitch*>(expert.get())) sw->m_dValue2 = -value, sw->m_dThreshold = 0.1;
        expert->m_strText = "E" + number;
        expert->m_dValue = value;
        o = std::move(expert);
        break;
    }
    case 12: o = std::make_unique<CVSources>(); break;
    default: {
        auto graphic = std::make_unique<CVGraphic>();
        graphic->AddSample(0.0, value);
        graphic->AddSample(0.1, 1.0 / 3.0);
        graphic->m_nColor = 0x00FF8000;
        graphic->m_strText = "series";
        o = std::move(graphic);
    }
    }
    o->ClearPoints();
    for (int k = 0; k < kPoints[n % 14]; ++k) o->AddPoint(CPoint{10 * n + k, 20 * n + k});
    return o;
}

// A new model holding `count` mixed objects, ids as Add gives them.
inline std::unique_ptr<CVarnelDoc> MixedModel(int count, const std::string& program = "var x = 1\r\n") {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->OnNewDocument();
    for (int n = 0; n < count; ++n) doc->m_pEntityList->Add(MakeObject(n));
    doc->m_strProgram = program;
    return doc;
}

}  // namespace samples
