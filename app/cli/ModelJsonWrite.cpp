// Model file -> JSON: the document's fields, every object by its class, and
// whatever a byte-exact copy of the file needs beyond them.
#include <sstream>

#include "app/cli/JsonText.h"
#include "app/cli/ModelJson.h"
#include "archive/ClassRegistry.h"
#include "base/Cp1251.h"
#include "diagram/Elements.h"
#include "diagram/TableElements.h"
#include "document/ModelFile.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"  // after the registry it names

namespace {

std::string Text(const std::string& cp1251) { return JsonString(Cp1251ToUtf8(cp1251)); }

void WritePoints(std::ostream& out, const CVEntity& entity) {
    out << "\"points\":[";
    for (int i = 0; i < entity.GetPointCount(); ++i) {
        const CPoint& p = entity.GetPoint(i);
        out << (i ? ",[" : "[") << p.x << ',' << p.y << ']';
    }
    out << ']';
}

void WriteDoubles(std::ostream& out, const char* key, const std::vector<double>& values) {
    out << ",\"" << key << "\":[";
    for (size_t i = 0; i < values.size(); ++i) out << (i ? "," : "") << JsonDouble(values[i]);
    out << ']';
}

// Level, rate and variable: a name, a description and a value.
template <class Element>
void WriteNamedValue(std::ostream& out, const Element& element) {
    out << ",\"name\":" << Text(element.m_strName) << ",\"description\":" << Text(element.m_strDescription)
        << ",\"value\":" << JsonDouble(element.m_dValue);
}

// The fields after the common ones, most derived classes first.
void WriteClassFields(std::ostream& out, const CVEntity& e) {
    if (auto* sw = dynamic_cast<const CVSwitch*>(&e)) {
        out << ",\"text\":" << Text(sw->m_strText) << ",\"description\":" << Text(sw->m_strDescription)
            << ",\"value\":" << JsonDouble(sw->m_dValue) << ",\"value2\":" << JsonDouble(sw->m_dValue2)
            << ",\"threshold\":" << JsonDouble(sw->m_dThreshold);
    } else if (auto* ex = dynamic_cast<const CVExpert*>(&e)) {
        out << ",\"text\":" << Text(ex->m_strText) << ",\"description\":" << Text(ex->m_strDescription)
            << ",\"value\":" << JsonDouble(ex->m_dValue);
    } else if (auto* tx = dynamic_cast<const CVText*>(&e)) {
        out << ",\"text\":" << Text(tx->m_strText);
    } else if (auto* tb = dynamic_cast<const CVTableData*>(&e)) {
        out << ",\"name\":" << Text(tb->m_strName) << ",\"description\":" << Text(tb->m_strDescription)
            << ",\"from\":" << JsonDouble(tb->m_dFrom) << ",\"to\":" << JsonDouble(tb->m_dTo)
            << ",\"step\":" << JsonDouble(tb->m_dStep);
        WriteDoubles(out, "values", tb->m_data);
    } else if (auto* va = dynamic_cast<const CVVariable*>(&e)) {
        WriteNamedValue(out, *va);
    } else if (auto* lv = dynamic_cast<const CVLevel*>(&e)) {
        WriteNamedValue(out, *lv);
    } else if (auto* gr = dynamic_cast<const CVGraphic*>(&e)) {
        out << ",\"text\":" << Text(gr->m_strText) << ",\"color\":" << gr->m_nColor << ",\"samples\":[";
        for (size_t i = 0; i < gr->m_samples.size(); ++i)
            out << (i ? ",[" : "[") << JsonDouble(gr->m_samples[i].x) << ','
                << JsonDouble(gr->m_samples[i].y) << ']';
        out << ']';
    }
}

void WriteObject(std::ostream& out, const CVEntity& e) {
    out << "{\"class\":" << JsonString(e.GetRuntimeClass()->m_lpszClassName) << ",\"id\":" << e.m_nId << ',';
    WritePoints(out, e);
    WriteClassFields(out, e);
    out << '}';
}

void WriteEncoding(std::ostream& out, const CEncodingNotes& notes) {
    out << ",\n\"encoding\":{\"stringPrefixes\":[";
    const char* sep = "";
    for (const auto& [ordinal, size] : notes.stringPrefixes) {
        out << sep << '[' << ordinal << ',' << int{size} << ']';
        sep = ",";
    }
    out << "],\"longCounts\":[";
    sep = "";
    for (uint32_t ordinal : notes.longCounts) {
        out << sep << ordinal;
        sep = ",";
    }
    out << "],\"classTags\":[";
    sep = "";
    for (const auto& [ordinal, tag] : notes.classTags) {
        out << sep << "{\"tag\":" << ordinal;
        if (tag.bNewClass)
            out << ",\"newClass\":true}";
        else
            out << ",\"index\":" << tag.nIndex << ",\"bigForm\":" << (tag.bBigForm ? "true" : "false") << '}';
        sep = ",";
    }
    out << "]}";
}

}  // namespace

std::string ModelFileToJson(std::span<const uint8_t> fileBytes) {
    CArchive ar(fileBytes, ModelClassRegistry());
    CEncodingNotes notes;
    ar.SetEncodingNotes(&notes);
    CVarnelDoc doc;
    doc.OnNewDocument();
    ModelFileExtras extras;
    ReadModel(ar, doc, &extras);

    std::ostringstream out;
    out << "{\"version\":" << JsonDouble(kModelFileVersion) << ",\"width\":" << doc.m_nWidth
        << ",\"height\":" << doc.m_nHeight << ",\"fullScale\":" << doc.m_bFullScale << ",\"objects\":[";
    const char* sep = "\n";
    for (const auto& entity : *doc.m_pEntityList) {
        out << sep;
        WriteObject(out, *entity);
        sep = ",\n";
    }
    out << "],\n\"program\":" << Text(doc.m_strProgram);
    if (extras.programParts.size() != 1) {
        out << ",\n\"programParts\":[";
        for (size_t i = 0; i < extras.programParts.size(); ++i)
            out << (i ? "," : "") << Text(extras.programParts[i]);
        out << ']';
    }
    if (ar.BytesLeft() != 0)
        out << ",\n\"trailing\":\"" << HexText(fileBytes.last(ar.BytesLeft())) << '"';
    if (!notes.IsEmpty())
        WriteEncoding(out, notes);
    out << "}\n";
    return out.str();
}
