// Diagram objects as one line of text. A description names the class as the tool bar does, then
// points from P0 on and fields: "Level 10,20 110,80 name=X desc=stock value=6". A dump
// shows one back: "Level#3 10,20 110,80 8,8 "X" "stock" 6", a switch's value2 and
// threshold and a table's from:to:step and values too.
#pragma once
#include <sstream>

#include "diagram/ElementParamDlg.h"
#include "diagram/EntityList.h"
#include "diagram/TableElements.h"
#include "diagram/ToolTable.h"
#include "support/Golden.h"

// The name (a text's text), description and value an object shows.
struct CShownFields {
    std::string *name = nullptr, *desc = nullptr;
    double* value = nullptr;
};

inline CShownFields ShownFields(const CVEntity& entity) {
    auto& e = const_cast<CVEntity&>(entity);
    if (auto* x = dynamic_cast<CVExpert*>(&e)) return {&x->m_strText, &x->m_strDescription, &x->m_dValue};
    if (auto* t = dynamic_cast<CVText*>(&e)) return {&t->m_strText};
    if (auto* l = dynamic_cast<CVLevel*>(&e)) return {&l->m_strName, &l->m_strDescription, &l->m_dValue};
    if (auto* v = dynamic_cast<CVVariable*>(&e)) return {&v->m_strName, &v->m_strDescription, &v->m_dValue};
    return {};
}

// The number fields of a description, by name; null for a field the object lacks.
inline double* NumberField(CVEntity& e, const std::string& key) {
    const CShownFields f = ShownFields(e);
    auto* sw = dynamic_cast<CVSwitch*>(&e);
    auto* table = dynamic_cast<CVTableData*>(&e);
    if (key == "value") return f.value;
    if (sw && (key == "value2" || key == "threshold")) return key == "value2" ? &sw->m_dValue2 : &sw->m_dThreshold;
    if (table && key == "from") return &table->m_dFrom;
    if (table && key == "to") return &table->m_dTo;
    if (table && key == "step") return &table->m_dStep;
    return nullptr;
}

// Points, then name= desc= value= value2= threshold= from= to= step= data=1/2/3 id= hl=.
inline CVEntity& ApplyDescription(CVEntity& e, std::istream& in) {
    const CShownFields f = ShownFields(e);
    auto* table = dynamic_cast<CVTableData*>(&e);
    int point = 0;
    for (std::string word; in >> word;) {
        const std::string key = word.substr(0, word.find('='));
        const std::string text = key == word ? "" : Unescaped(word.substr(key.size() + 1));
        const double d = std::strtod(text.c_str(), nullptr);
        CPoint p{};
        double* number = NumberField(e, key);
        if (key == word && std::sscanf(word.c_str(), "%d,%d", &p.x, &p.y) == 2) {
            // The next existing point, or one more.
            if (point < e.GetPointCount()) {
                e.GetPoint(point++) = p;
            } else if (e.AddPoint(p)) {
                ++point;
            }
        } else if (key == "name" || key == "desc") {
            *(key == "name" ? f.name : f.desc) = text;
        } else if (number) {
            *number = d;
        } else if (key == "data") {
            table->m_data.clear();
            std::istringstream values(text);
            for (std::string value; std::getline(values, value, '/');) table->m_data.push_back(std::strtod(value.c_str(), nullptr));
        } else if (key == "id" || key == "hl") {
            (key == "id" ? e.m_nId : e.m_bHighlight) = static_cast<int32_t>(d);
        } else {
            ADD_FAILURE() << "no field " << word;
        }
    }
    return e;
}

// A new object of the class named as the tool bar names it, as its tool
// makes it, or the bare "Entity".
inline std::unique_ptr<CVEntity> MakeDescribedClass(const std::string& name) {
    static const char* const kTools[] = {"Line",     "Text",     "Rectangle", "Ellipse", "Expert",  "BSpline", "Variable",
                                         "Level",    "Rate",     "TableData", "Sources", "Switch",  "Arrow"};
    for (int i = 0; i < 13; ++i) {
        if (name == kTools[i]) return MakeToolEntity(static_cast<ETool>(i));
    }
    EXPECT_EQ(name, "Entity");
    return std::make_unique<CVEntity>();
}

// The description's object added to the list, then given its points and fields.
inline CVEntity& AddDescribed(EntityList& list, const std::string& description) {
    std::istringstream in(description);
    std::string name;
    list.Add(MakeDescribedClass((in >> name, name)));
    return ApplyDescription(*list.GetAt(list.GetCount() - 1), in);
}

inline std::string PointText(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

inline std::string Dump(const CVEntity& e) {
    std::string s = std::string(e.GetRuntimeClass()->m_lpszClassName + 2) + "#" + std::to_string(e.m_nId);
    for (int i = 0; i < e.GetPointCount(); ++i) s += " " + PointText(e.GetPoint(i));
    const CShownFields f = ShownFields(e);
    s += std::string(e.m_bHighlight ? " hl" : "") + (f.name ? " \"" + Escaped(*f.name) + "\"" : "");
    if (f.desc) s += " \"" + Escaped(*f.desc) + "\" " + NumberText(*f.value);
    if (auto* sw = dynamic_cast<const CVSwitch*>(&e)) s += " " + NumberText(sw->m_dValue2) + " " + NumberText(sw->m_dThreshold);
    if (auto* t = dynamic_cast<const CVTableData*>(&e)) {
        s += " " + NumberText(t->m_dFrom) + ":" + NumberText(t->m_dTo) + ":" + NumberText(t->m_dStep);
        for (size_t i = 0; i < t->m_data.size(); ++i) s += (i ? "/" : " ") + NumberText(t->m_data[i]);
    }
    return s;
}

// Every object's dump (or how many, past 20), " / " between them, then the id counter.
inline std::string DumpList(const EntityList& list) {
    std::string s = list.GetCount() > 20 ? std::to_string(list.GetCount()) + " objects / " : "";
    for (const auto& e : list) s += list.GetCount() > 20 ? "" : Dump(*e) + " / ";
    return s + "next=" + std::to_string(list.m_nNextId);
}
