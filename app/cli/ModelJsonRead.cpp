// JSON -> model file: checks that the JSON describes a valid model, naming
// the first thing that is wrong, and writes the file through the objects'
// own serialization.
#include <algorithm>
#include <limits>

#include "app/cli/JsonText.h"
#include "app/cli/ModelJson.h"
#include "archive/ClassRegistry.h"
#include "base/Cp1251.h"
#include "diagram/Elements.h"
#include "diagram/TableElements.h"
#include "document/ModelFile.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"  // after the registry it names

using nlohmann::json;

namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw ModelJsonError(where + ": " + what);
}

void CheckKeys(const json& object, const std::string& where, std::initializer_list<const char*> required,
               std::initializer_list<const char*> optional = {}) {
    if (!object.is_object())
        Fail(where, "must be a JSON object");
    for (const char* key : required) {
        if (!object.contains(key))
            Fail(where, std::string("\"") + key + "\" is missing");
    }
    for (const auto& item : object.items()) {
        // A named copy, not a structured binding: clang 14 (the fuzz build)
        // cannot capture a binding in a lambda.
        const std::string& key = item.key();
        auto same = [&](const char* k) { return key == k; };
        if (std::none_of(required.begin(), required.end(), same) &&
            std::none_of(optional.begin(), optional.end(), same))
            Fail(where, "unknown key \"" + key + "\"");
    }
}

int64_t Integer(const json& value, const std::string& what, int64_t lo, int64_t hi) {
    if (!value.is_number_integer())
        Fail(what, "must be an integer");
    if (value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(hi))
        Fail(what, "is out of range");
    const int64_t v = value.get<int64_t>();
    if (v < lo || v > hi)
        Fail(what, "is out of range");
    return v;
}

int32_t Int32(const json& value, const std::string& what) {
    return static_cast<int32_t>(Integer(value, what, std::numeric_limits<int32_t>::min(),
                                        std::numeric_limits<int32_t>::max()));
}

uint32_t UInt32(const json& value, const std::string& what) {
    return static_cast<uint32_t>(Integer(value, what, 0, std::numeric_limits<uint32_t>::max()));
}

double Double(const json& value, const std::string& what) {
    const std::optional<double> v = DoubleFromJson(value);
    if (!v)
        Fail(what, "must be a number or \"nan\", \"inf\", \"-inf\"");
    return *v;
}

const json& Array(const json& value, const std::string& what) {
    if (!value.is_array())
        Fail(what, "must be an array");
    return value;
}

std::string Text(const json& value, const std::string& what) {
    if (!value.is_string())
        Fail(what, "must be a string");
    std::string cp1251;
    if (!Utf8ToCp1251(value.get_ref<const std::string&>(), cp1251))
        Fail(what, "holds a character that code page 1251 lacks");
    return cp1251;
}

std::vector<double> Doubles(const json& value, const std::string& what) {
    std::vector<double> values;
    for (const json& item : Array(value, what)) values.push_back(Double(item, what + "[" + std::to_string(values.size()) + "]"));
    return values;
}

void ReadPoints(CVEntity& entity, const json& value, const std::string& what) {
    entity.ClearPoints();
    for (const json& pair : Array(value, what)) {
        const std::string at = what + "[" + std::to_string(entity.GetPointCount()) + "]";
        if (!pair.is_array() || pair.size() != 2)
            Fail(at, "must be a pair [x, y]");
        entity.AddPoint(CPoint{Int32(pair[0], at + "[0]"), Int32(pair[1], at + "[1]")});
    }
}

void ReadTable(CVTableData& table, const json& o, const std::string& where) {
    CheckKeys(o, where, {"class", "id", "points", "name", "description", "from", "to", "step", "values"});
    table.m_strName = Text(o["name"], where + ".name");
    table.m_strDescription = Text(o["description"], where + ".description");
    table.m_dFrom = Double(o["from"], where + ".from");
    table.m_dTo = Double(o["to"], where + ".to");
    table.m_dStep = Double(o["step"], where + ".step");
    table.m_data = Doubles(o["values"], where + ".values");
    const size_t expected = static_cast<size_t>(std::max(0, table.ValueCount()));
    if (table.m_data.size() != expected)
        Fail(where + ".values", "holds " + std::to_string(table.m_data.size()) +
                                    " values but the range from, to, step calls for " + std::to_string(expected));
}

void ReadGraphic(CVGraphic& graphic, const json& o, const std::string& where) {
    CheckKeys(o, where, {"class", "id", "points", "text", "color", "samples"});
    graphic.m_strText = Text(o["text"], where + ".text");
    graphic.m_nColor = Int32(o["color"], where + ".color");
    graphic.RemoveAllSamples();
    for (const json& pair : Array(o["samples"], where + ".samples")) {
        const std::string at = where + ".samples[" + std::to_string(graphic.GetSampleCount()) + "]";
        if (!pair.is_array() || pair.size() != 2)
            Fail(at, "must be a pair [x, y]");
        graphic.AddSample(Double(pair[0], at + "[0]"), Double(pair[1], at + "[1]"));
    }
}

// Level, rate and variable: a name, a description and a value.
template <class Element>
void ReadNamedValue(Element& element, const json& o, const std::string& where) {
    CheckKeys(o, where, {"class", "id", "points", "name", "description", "value"});
    element.m_strName = Text(o["name"], where + ".name");
    element.m_strDescription = Text(o["description"], where + ".description");
    element.m_dValue = Double(o["value"], where + ".value");
}

// The fields after the common ones, most derived classes first.
void ReadClassFields(CVEntity& e, const json& o, const std::string& where) {
    if (auto* sw = dynamic_cast<CVSwitch*>(&e)) {
        CheckKeys(o, where, {"class", "id", "points", "text", "description", "value", "value2", "threshold"});
        sw->m_dValue2 = Double(o["value2"], where + ".value2");
        sw->m_dThreshold = Double(o["threshold"], where + ".threshold");
    } else if (dynamic_cast<CVExpert*>(&e)) {
        CheckKeys(o, where, {"class", "id", "points", "text", "description", "value"});
    } else if (auto* tx = dynamic_cast<CVText*>(&e)) {
        CheckKeys(o, where, {"class", "id", "points", "text"});
        tx->m_strText = Text(o["text"], where + ".text");
    } else if (auto* tb = dynamic_cast<CVTableData*>(&e)) {
        ReadTable(*tb, o, where);
    } else if (auto* va = dynamic_cast<CVVariable*>(&e)) {
        ReadNamedValue(*va, o, where);
    } else if (auto* lv = dynamic_cast<CVLevel*>(&e)) {
        ReadNamedValue(*lv, o, where);
    } else if (auto* gr = dynamic_cast<CVGraphic*>(&e)) {
        ReadGraphic(*gr, o, where);
    } else {
        CheckKeys(o, where, {"class", "id", "points"});
    }
    if (auto* ex = dynamic_cast<CVExpert*>(&e)) {
        ex->m_strText = Text(o["text"], where + ".text");
        ex->m_strDescription = Text(o["description"], where + ".description");
        ex->m_dValue = Double(o["value"], where + ".value");
    }
}

std::unique_ptr<CVEntity> ReadObject(const json& o, size_t index) {
    const std::string where = "objects[" + std::to_string(index) + "]";
    if (!o.is_object() || !o.contains("class"))
        Fail(where, "must be an object with a \"class\"");
    const std::string name = Text(o["class"], where + ".class");
    const CRuntimeClass* pClass = ModelClassRegistry().Find(name);
    if (!pClass)
        Fail(where + ".class", "unknown class \"" + name + "\"");
    std::unique_ptr<CObject> object = pClass->m_pfnCreateObject();
    auto* entity = dynamic_cast<CVEntity*>(object.get());
    if (!entity)
        Fail(where + ".class", "\"" + name + "\" is no drawing object");
    object.release();
    std::unique_ptr<CVEntity> owned(entity);
    ReadClassFields(*owned, o, where);
    owned->m_nId = Int32(o["id"], where + ".id");
    ReadPoints(*owned, o["points"], where + ".points");
    return owned;
}

CEncodingNotes ReadEncoding(const json& e) {
    CheckKeys(e, "encoding", {}, {"stringPrefixes", "longCounts", "classTags"});
    CEncodingNotes notes;
    if (e.contains("stringPrefixes")) {
        for (const json& pair : Array(e["stringPrefixes"], "encoding.stringPrefixes")) {
            if (!pair.is_array() || pair.size() != 2)
                Fail("encoding.stringPrefixes", "entries must be pairs [ordinal, size]");
            const int64_t size = Integer(pair[1], "encoding.stringPrefixes size", 1, 7);
            if (size != 1 && size != 3 && size != 7)
                Fail("encoding.stringPrefixes", "a prefix size must be 1, 3 or 7");
            notes.stringPrefixes[UInt32(pair[0], "encoding.stringPrefixes ordinal")] = static_cast<uint8_t>(size);
        }
    }
    if (e.contains("longCounts")) {
        for (const json& ordinal : Array(e["longCounts"], "encoding.longCounts"))
            notes.longCounts.insert(UInt32(ordinal, "encoding.longCounts"));
    }
    if (e.contains("classTags")) {
        for (const json& t : Array(e["classTags"], "encoding.classTags")) {
            CheckKeys(t, "encoding.classTags", {"tag"}, {"newClass", "index", "bigForm"});
            CEncodingNotes::ClassTag tag;
            tag.bNewClass = t.value("newClass", false);
            tag.bBigForm = t.value("bigForm", false);
            if (t.contains("index"))
                tag.nIndex = UInt32(t["index"], "encoding.classTags index");
            notes.classTags[UInt32(t["tag"], "encoding.classTags tag")] = tag;
        }
    }
    return notes;
}

std::vector<std::string> ReadProgramParts(const json& parts, const std::string& program) {
    std::vector<std::string> texts;
    std::string joined;
    for (const json& part : Array(parts, "programParts")) {
        texts.push_back(Text(part, "programParts[" + std::to_string(texts.size()) + "]"));
        if (texts.back() == kProgramEndMarker)
            Fail("programParts", "a part may not be the end marker");
        joined += texts.back();
    }
    if (joined != program)
        Fail("programParts", "the parts do not join to \"program\"");
    return texts;
}

void ReadDocument(CVarnelDoc& doc, const json& j) {
    doc.OnNewDocument();
    doc.m_nWidth = Int32(j["width"], "width");
    doc.m_nHeight = Int32(j["height"], "height");
    doc.m_bFullScale = Int32(j["fullScale"], "fullScale");
    const json& objects = Array(j["objects"], "objects");
    for (size_t i = 0; i < objects.size(); ++i) doc.m_pEntityList->AppendLoaded(ReadObject(objects[i], i));
    doc.m_strProgram = Text(j["program"], "program");
}

std::vector<uint8_t> ReadTrailing(const json& j) {
    if (!j.contains("trailing"))
        return {};
    const json& hex = j["trailing"];
    auto bytes = hex.is_string() ? BytesFromHex(hex.get_ref<const std::string&>()) : std::nullopt;
    if (!bytes)
        Fail("trailing", "must be a string of hex digit pairs");
    return std::move(*bytes);
}

// Valid JSON fields can still describe a file no loader accepts (an arrow
// with two points, a class reference to an index no class received): such
// a model is refused rather than written as a file that will not open.
void RequireLoadable(std::span<const uint8_t> bytes) {
    CVarnelDoc check;
    try {
        check.Load(bytes);
    } catch (const CFileError& e) {
        Fail("the model", std::string("would not open: ") + e.what());
    }
}

std::vector<uint8_t> ModelFileFromJson(const json& j) {
    CheckKeys(j, "the model", {"version", "width", "height", "fullScale", "objects", "program"},
              {"programParts", "trailing", "encoding"});
    if (Double(j["version"], "version") != kModelFileVersion)
        Fail("version", std::string(kNotAModelMessage) + " unless it is 1.0");
    CVarnelDoc doc;
    ReadDocument(doc, j);
    std::optional<std::vector<std::string>> parts;
    if (j.contains("programParts"))
        parts = ReadProgramParts(j["programParts"], doc.m_strProgram);
    CEncodingNotes notes = j.contains("encoding") ? ReadEncoding(j["encoding"]) : CEncodingNotes{};

    CArchive ar;
    ar.SetEncodingNotes(&notes);
    WriteModel(ar, doc, parts ? &*parts : nullptr);
    std::vector<uint8_t> bytes = ar.TakeBuffer();
    const std::vector<uint8_t> trailing = ReadTrailing(j);
    bytes.insert(bytes.end(), trailing.begin(), trailing.end());
    RequireLoadable(bytes);
    return bytes;
}

}  // namespace

std::vector<uint8_t> JsonToModelFile(std::string_view jsonText) {
    json j;
    try {
        j = json::parse(jsonText);
    } catch (const json::exception& e) {
        // Not only parse_error: a number beyond the double range is an
        // out_of_range from the parser.
        throw ModelJsonError(std::string("not valid JSON: ") + e.what());
    }
    try {
        return ModelFileFromJson(j);
    } catch (const json::exception& e) {
        throw ModelJsonError(std::string("not a model: ") + e.what());
    }
}
