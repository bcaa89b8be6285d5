// The archive's bytes as one golden table, archive.txt: every value kind
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
const CRuntimeClass CFakeLine::cls{"CVLine", 1, [] { return std::unique_ptr<CObject>(new CFakeLine); }};
const CRuntimeClass CFakeText::cls{"CVText", 1, [] { return std::unique_ptr<CObject>(new CFakeText); }};

// The words of a line, "kind:text"; "x^N" in a text stands for N times x,
// "*N" after a word for N of it.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) {
        const size_t star = w.rfind('*');
        const long count = star == std::string::npos ? 1 : std::stol(w.substr(star + 1));
        const size_t caret = (w = Unescaped(w.substr(0, star))).find('^');
        if (caret != std::string::npos) w = w.substr(0, caret - 1) + std::string(std::stoul(w.substr(caret + 1)), w[caret - 1]);
        words.insert(words.end(), count, w);
    }
    return words;
}

std::string Number(double d) {
    char text[32];
    return std::string(text, std::snprintf(text, sizeof text, "%.17g", d));
}

// Reads what the word names and answers in the word's form (doubles end in "/").
std::string Read(CArchive& ar, const std::string& word) {
    const std::string k = word.substr(0, word.find(':'));
    std::string text;
    if (k == "i32") text = std::to_string(ar.ReadInt32());
    else if (k == "u16") text = std::to_string(ar.ReadUInt16());
    else if (k == "u32") text = std::to_string(ar.ReadUInt32());
    else if (k == "cnt") text = std::to_string(ar.ReadCount());
    else if (k == "dbl") text = Number(ar.ReadDouble());
    else if (k == "str") text = ar.ReadString();
    else if (k == "raw") {
        text.resize(word.size() - 4);
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
bool Write(CArchive& ar, const std::string& word) {
    const std::string k = word.substr(0, word.find(':')), text = word.substr(k.size() + 1);
    CFakeLine line;
    CFakeText object;
    if (k == "i32") ar.WriteInt32(std::stoi(text));
    else if (k == "u16") ar.WriteUInt16(static_cast<uint16_t>(std::stoul(text)));
    else if (k == "u32") ar.WriteUInt32(static_cast<uint32_t>(std::stoul(text)));
    else if (k == "cnt") ar.WriteCount(static_cast<uint32_t>(std::stoul(text)));
    else if (k == "dbl") ar.WriteDouble(std::strtod(text.c_str(), nullptr));
    else if (k == "str") ar.WriteString(text);
    else if (k == "raw") ar.WriteBytes(text.data(), text.size());
    else if (k == "L") ar.WriteObject((line.n = std::stoi(text), line));
    else if (k == "T") ar.WriteObject((object.s = text, object));
    else return false;
    return true;
}

// The words read, then the bytes left or the failure.
std::vector<std::string> Load(const Bytes& bytes, const std::vector<std::string>& words, CEncodingNotes* notes) {
    static const CClassRegistry registry = [] {
        CClassRegistry r;
        r.Register(&CFakeLine::cls);
        r.Register(&CFakeText::cls);
        return r;
    }();
    std::vector<std::string> read;
    CArchive ar(bytes, registry);
    ar.SetEncodingNotes(notes);
    try {
        for (const std::string& w : words) read.push_back(Read(ar, w));
        read.push_back("left:" + std::to_string(ar.BytesLeft()));
    } catch (const CFileError& e) {
        read.push_back(std::string(e.Kind() == FileErrorKind::BadFormat ? "! " : "!! ") + e.what());
    }
    return read;
}

}  // namespace

// Each line loads its bytes with the notes on and gives its words (or fails
// with the text after "!"); written back with the notes they give the same
// bytes. A "=>" line is the writer's own form: it needs no notes, and cut
// short anywhere it fails as a file that ends too soon.
TEST(Archive, GoldenTable) {
    for (const GoldenCase& c : GoldenTable("archive/archive.txt")) {
        SCOPED_TRACE("archive.txt:" + std::to_string(c.line));
        const Bytes bytes = GoldenBytes(c.input);
        const size_t bang = c.expected.find(" ! ");
        std::vector<std::string> words = Words(c.expected.substr(0, bang));
        CEncodingNotes notes;
        const std::vector<std::string> read = Load(bytes, words, &notes);
        if (bang != std::string::npos) {
            EXPECT_NE(read.back().find(c.expected.substr(bang + 3)), std::string::npos) << read.back();
            continue;
        }
        CArchive out;
        out.SetEncodingNotes(&notes);
        const bool writable = std::all_of(words.begin(), words.end(), [&](const std::string& w) { return Write(out, w); });
        std::vector<std::string> expected = words;
        expected.push_back(writable ? "left:0" : read.back());  // an item count reads no items
        EXPECT_EQ(read, expected);
        if (!writable) continue;
        EXPECT_EQ(HexText(out.Buffer()), HexText(bytes));
        if (!c.bothWays) continue;
        EXPECT_TRUE(notes.IsEmpty());
        for (size_t cut = 0; bytes.size() < 1024 && cut < bytes.size(); ++cut)
            EXPECT_EQ(Load(Bytes(bytes.begin(), bytes.begin() + long(cut)), words, nullptr).back().substr(0, 30),
                      "! Bad file format: the file en") << cut;
    }
}
