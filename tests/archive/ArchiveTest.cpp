// The archive's bytes as one golden table (archive.txt): every value kind
// both ways, the string prefix forms, counts, class tags and the index
// counter, the unusual forms the encoding notes keep, and every way loading
// fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "archive/Archive.h"
#include "support/Golden.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Classes independent of the diagram: a "line" with an int32 body and a
// "text" with a string body.
struct CFakeLine : CObject {
    static const CRuntimeClass cls;
    const CRuntimeClass* GetRuntimeClass() const override { return &cls; }
    void Serialize(CArchive& ar) override { ar.IsStoring() ? ar.WriteInt32(n) : void(n = ar.ReadInt32()); }
    int32_t n = 0;
};
struct CFakeText : CObject {
    static const CRuntimeClass cls;
    const CRuntimeClass* GetRuntimeClass() const override { return &cls; }
    void Serialize(CArchive& ar) override { ar.IsStoring() ? ar.WriteString(s) : void(s = ar.ReadString()); }
    std::string s;
};
const CRuntimeClass CFakeLine::cls{"CVLine", 1, []() -> std::unique_ptr<CObject> { return std::make_unique<CFakeLine>(); }};
const CRuntimeClass CFakeText::cls{"CVText", 1, []() -> std::unique_ptr<CObject> { return std::make_unique<CFakeText>(); }};

const CClassRegistry& Registry() {
    static const CClassRegistry registry = [] {
        CClassRegistry r;
        r.Register(&CFakeLine::cls);
        r.Register(&CFakeText::cls);
        return r;
    }();
    return registry;
}

// One word of a table line, "kind:text"; "x^N" as text is N times x, and
// "*N" after a word stands for N of it.
struct Value {
    std::string kind, text;
};

std::vector<Value> Values(const std::string& line) {
    std::vector<Value> values;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        const size_t star = word.rfind('*');
        const long count = star == std::string::npos ? 1 : std::stol(word.substr(star + 1));
        word = word.substr(0, star);
        const size_t colon = word.find(':');
        Value v{word.substr(0, colon), colon == std::string::npos ? "" : Unescaped(word.substr(colon + 1))};
        if (const size_t caret = v.text.find('^'); caret != std::string::npos)
            v.text = std::string(std::stoul(v.text.substr(caret + 1)), v.text[0]);
        values.insert(values.end(), count, v);
    }
    return values;
}

std::string Number(double d) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", d);
    return text;
}

// Reads what the word names and answers in the word's form (doubles end
// in "/").
std::string Read(CArchive& ar, const Value& v) {
    const std::string& k = v.kind;
    std::string text;
    if (k == "i32") text = std::to_string(ar.ReadInt32());
    else if (k == "u16") text = std::to_string(ar.ReadUInt16());
    else if (k == "u32") text = std::to_string(ar.ReadUInt32());
    else if (k == "cnt") text = std::to_string(ar.ReadCount());
    else if (k == "dbl") text = Number(ar.ReadDouble());
    else if (k == "str") text = ar.ReadString();
    else if (k == "raw") {
        text.resize(v.text.size());
        ar.ReadBytes(text.data(), text.size());
    } else if (k[0] == 'n') text = std::to_string(ar.ReadItemCount(std::stoul(k.substr(1))));
    else if (k[0] == 'd') for (double d : ar.ReadDoubles(std::stoull(k.substr(1)))) text += Number(d) + "/";
    else {
        const std::unique_ptr<CObject> o = ar.ReadObject();
        auto* line = dynamic_cast<CFakeLine*>(o.get());
        return line ? "L:" + std::to_string(line->n) : "T:" + dynamic_cast<CFakeText&>(*o).s;
    }
    return k + ":" + text;
}

// False for the reads that have no writing counterpart.
bool Write(CArchive& ar, const Value& v) {
    const std::string& k = v.kind;
    CFakeLine line;
    CFakeText text;
    if (k == "i32") ar.WriteInt32(std::stoi(v.text));
    else if (k == "u16") ar.WriteUInt16(static_cast<uint16_t>(std::stoul(v.text)));
    else if (k == "u32") ar.WriteUInt32(static_cast<uint32_t>(std::stoul(v.text)));
    else if (k == "cnt") ar.WriteCount(static_cast<uint32_t>(std::stoul(v.text)));
    else if (k == "dbl") ar.WriteDouble(std::strtod(v.text.c_str(), nullptr));
    else if (k == "str") ar.WriteString(v.text);
    else if (k == "raw") ar.WriteBytes(v.text.data(), v.text.size());
    else if (k == "L") ar.WriteObject((line.n = std::stoi(v.text), line));
    else if (k == "T") ar.WriteObject((text.s = v.text, text));
    else return false;
    return true;
}

struct Loaded {
    std::vector<std::string> values;
    std::string error;
    size_t left = 0;
};

Loaded Load(const Bytes& bytes, const std::vector<Value>& reads, CEncodingNotes* notes) {
    Loaded out;
    CArchive ar(bytes, Registry());
    ar.SetEncodingNotes(notes);
    try {
        for (const Value& v : reads) out.values.push_back(Read(ar, v));
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat);
        out.error = e.what();
    }
    out.left = ar.BytesLeft();
    return out;
}

}  // namespace

// Each line loads its bytes with the notes on and must give its values (or
// fail with the text after "!"); written back with the notes they give the
// same bytes. A "=>" line is the writer's own form: it needs no notes, and
// cut short anywhere it fails as a file that ends too soon.
TEST(Archive, GoldenTable) {
    for (const GoldenCase& c : GoldenTable("archive/archive.txt")) {
        SCOPED_TRACE("archive.txt:" + std::to_string(c.line));
        const Bytes bytes = GoldenBytes(c.input);
        const size_t bang = c.expected.find(" ! ");
        const std::vector<Value> values = Values(c.expected.substr(0, bang));
        CEncodingNotes notes;
        const Loaded loaded = Load(bytes, values, &notes);
        if (bang != std::string::npos) {
            EXPECT_NE(loaded.error.find(c.expected.substr(bang + 3)), std::string::npos) << loaded.error;
            continue;
        }
        ASSERT_EQ(loaded.error, "");
        std::vector<std::string> expected;
        for (const Value& v : values) expected.push_back(v.kind + ":" + v.text);
        EXPECT_EQ(loaded.values, expected);
        CArchive out;
        out.SetEncodingNotes(&notes);
        if (!std::all_of(values.begin(), values.end(), [&](const Value& v) { return Write(out, v); })) continue;
        EXPECT_EQ(loaded.left, 0u);
        EXPECT_EQ(out.Buffer(), bytes);
        if (!c.bothWays) continue;
        EXPECT_TRUE(notes.IsEmpty());
        for (size_t cut = 0; bytes.size() < 1024 && cut < bytes.size(); ++cut) {
            const std::string error = Load(Bytes(bytes.begin(), bytes.begin() + long(cut)), values, nullptr).error;
            EXPECT_NE(error.find("ends"), std::string::npos) << cut << ": " << error;
        }
    }
}
