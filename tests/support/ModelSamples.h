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

// Points (base + k, 2 * base + k) for k < count.
inline void SetRunOfPoints(CVEntity& e, int count, int32_t base) {
    e.ClearPoints();
    for (int k = 0; k < count; ++k) e.AddPoint(CPoint{base + k, 2 * base + k});
}

// Object number `n` of a mixed diagram: the 14 classes in turn, the
// coordinates and values derived from n.
inline std::unique_ptr<CVEntity> MakeObject(int n) {
    const int32_t base = 10 * n;
    const double value = 0.25 * n - 3.0;
    switch (n % 14) {
    case 0: { auto o = std::make_unique<CVLine>(); SetRunOfPoints(*o, 2, base); return o; }
    case 1: { auto o = std::make_unique<CVRectangle>(); SetRunOfPoints(*o, 2, base); return o; }
    case 2: { auto o = std::make_unique<CVEllipse>(); SetRunOfPoints(*o, 2, base); return o; }
    case 3: { auto o = std::make_unique<CVBSpline>(); SetRunOfPoints(*o, 4, base); return o; }
    case 4: { auto o = std::make_unique<CVArrow>(); SetRunOfPoints(*o, 5, base); return o; }
    case 5: {
        auto o = std::make_unique<CVText>();
        SetRunOfPoints(*o, 1, base);
        o->m_strText = "\xD2\xE5\xEA\xF1\xF2 " + std::to_string(n);  // "Текст n"
        return o;
    }
    case 6: case 7: {
        std::unique_ptr<CVLevel> o = n % 14 == 6 ? std::make_unique<CVLevel>() : std::make_unique<CVRate>();
        SetRunOfPoints(*o, 3, base);
        o->m_strName = "L" + std::to_string(n);
        o->m_strDescription = "\xD3\xF0\xEE\xE2\xE5\xED\xFC";  // "Уровень"
        o->m_dValue = value;
        return o;
    }
    case 8: {
        auto o = std::make_unique<CVVariable>();
        SetRunOfPoints(*o, 3, base);
        o->m_strName = "V" + std::to_string(n);
        o->m_strDescription = "aux";
        o->m_dValue = value;
        return o;
    }
    case 9: {
        auto o = std::make_unique<CVTableData>();
        SetRunOfPoints(*o, 3, base);
        o->m_strName = "T" + std::to_string(n);
        o->m_strDescription = "table";
        o->m_dFrom = 0.0;
        o->m_dTo = 2.0;
        o->m_dStep = 0.5;
        o->m_data = {1.0, 1.5, value, -0.0, 1e300};
        return o;
    }
    case 10: case 11: {
        std::unique_ptr<CVExpert> o;
        if (n % 14 == 10) {
            o = std::make_unique<CVExpert>();
        } else {
            auto s = std::make_unique<CVSwitch>();
            s->m_dValue2 = -value;
            s->m_dThreshold = 0.1;
            o = std::move(s);
        }
        SetRunOfPoints(*o, 3, base);
        o->m_strText = "E" + std::to_string(n);
        o->m_strDescription = "";
        o->m_dValue = value;
        return o;
    }
    case 12: { auto o = std::make_unique<CVSources>(); SetRunOfPoints(*o, 18, base); return o; }
    default: {
        auto o = std::make_unique<CVGraphic>();
        SetRunOfPoints(*o, 0, base);
        o->AddSample(0.0, value);
        o->AddSample(0.1, 1.0 / 3.0);
        o->m_nColor = 0x00FF8000;
        o->m_strText = "series";
        return o;
    }
    }
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
