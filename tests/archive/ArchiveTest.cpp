// The archive's bytes: every value kind both ways, the string prefix forms,
// counts, class tags and the index counter, and every way loading fails.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FakeObjects.h"
#include "support/HexBytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <typename Fn>
Bytes Stored(Fn write) {
    CArchive ar;
    write(ar);
    return ar.TakeBuffer();
}

CArchive Loading(const Bytes& bytes) { return CArchive(bytes, FakeRegistry()); }
CArchive Loading(Bytes&&) = delete;  // the archive does not own its bytes

void ExpectBadFormat(const Bytes& bytes, const std::string& messagePart) {
    CArchive ar = Loading(bytes);
    try {
        while (true) ar.ReadObject();
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat);
        EXPECT_NE(std::string(e.what()).find(messagePart), std::string::npos) << e.what();
        return;
    }
}

Bytes NewClassTag(std::string_view name, uint16_t schema = 1) {
    Bytes b = HexBytes("FF FF");
    b.push_back(static_cast<uint8_t>(schema));
    b.push_back(static_cast<uint8_t>(schema >> 8));
    b.push_back(static_cast<uint8_t>(name.size()));
    b.push_back(static_cast<uint8_t>(name.size() >> 8));
    const Bytes ascii = AsciiBytes(name);
    b.insert(b.end(), ascii.begin(), ascii.end());
    return b;
}

}  // namespace

TEST(ArchiveValues, StoreLittleEndian) {
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteInt32(-2); }), HexBytes("FE FF FF FF"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteInt32(0x12345678); }), HexBytes("78 56 34 12"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteUInt16(0xABCD); }), HexBytes("CD AB"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteUInt32(0x80000001u); }), HexBytes("01 00 00 80"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteDouble(1.0); }), HexBytes("00 00 00 00 00 00 F0 3F"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteDouble(-2.5); }), HexBytes("00 00 00 00 00 00 04 C0"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteBytes("ab", 2); }), HexBytes("61 62"));
}

TEST(ArchiveValues, LoadLittleEndian) {
    const Bytes bytes = HexBytes("FE FF FF FF  CD AB  01 00 00 80  00 00 00 00 00 00 04 C0  61 62"
                                 "  00 00 00 00 00 00 F8 7F");
    CArchive ar = Loading(bytes);
    EXPECT_FALSE(ar.IsStoring());
    EXPECT_EQ(ar.ReadInt32(), -2);
    EXPECT_EQ(ar.ReadUInt16(), 0xABCD);
    EXPECT_EQ(ar.ReadUInt32(), 0x80000001u);
    EXPECT_EQ(ar.ReadDouble(), -2.5);
    char two[2];
    ar.ReadBytes(two, 2);
    EXPECT_EQ(std::string(two, 2), "ab");
    EXPECT_TRUE(std::isnan(ar.ReadDouble()));
    EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(ArchiveStrings, PrefixFormsByLength) {
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteString(""); }), HexBytes("00"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteString("\xC0z"); }), HexBytes("02 C0 7A"));

    auto prefixOf = [](size_t length, size_t prefixLength) {
        Bytes b = Stored([&](CArchive& ar) { ar.WriteString(std::string(length, 'x')); });
        EXPECT_EQ(b.size(), length + prefixLength);
        return Bytes(b.begin(), b.begin() + static_cast<long>(prefixLength));
    };
    EXPECT_EQ(prefixOf(254, 1), HexBytes("FE"));
    EXPECT_EQ(prefixOf(255, 3), HexBytes("FF FF 00"));
    EXPECT_EQ(prefixOf(65533, 3), HexBytes("FF FD FF"));
    EXPECT_EQ(prefixOf(65534, 7), HexBytes("FF FF FF FE FF 00 00"));
    EXPECT_EQ(prefixOf(70000, 7), HexBytes("FF FF FF 70 11 01 00"));
}

TEST(ArchiveStrings, LoadEveryPrefixForm) {
    for (size_t length : {0u, 1u, 254u, 255u, 65533u, 65534u, 70000u}) {
        const std::string text(length, 'q');
        const Bytes bytes = Stored([&](CArchive& ar) { ar.WriteString(text); });
        CArchive ar = Loading(bytes);
        EXPECT_EQ(ar.ReadString(), text) << length;
        EXPECT_EQ(ar.BytesLeft(), 0u);
    }
    // A short text behind a longer prefix form still reads.
    const Bytes longForms = HexBytes("FF 02 00 68 69  FF FF FF 01 00 00 00 21");
    CArchive ar = Loading(longForms);
    EXPECT_EQ(ar.ReadString(), "hi");
    EXPECT_EQ(ar.ReadString(), "!");
}

TEST(ArchiveCounts, TwoByteAndSixByteForms) {
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0); }), HexBytes("00 00"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFE); }), HexBytes("FE FF"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFF); }), HexBytes("FF FF FF FF 00 00"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(70000); }), HexBytes("FF FF 70 11 01 00"));

    const Bytes bytes = HexBytes("00 00  FE FF  FF FF FF FF 00 00  FF FF 70 11 01 00");
    CArchive ar = Loading(bytes);
    EXPECT_EQ(ar.ReadCount(), 0u);
    EXPECT_EQ(ar.ReadCount(), 0xFFFEu);
    EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
    EXPECT_EQ(ar.ReadCount(), 70000u);
}

TEST(ArchiveObjects, LineLineTextTagSequence) {
    CFakeLine first, second;
    first.m_nValue = 7;
    second.m_nValue = 8;
    CFakeText text;
    text.m_strText = "T";
    const Bytes bytes = Stored([&](CArchive& ar) {
        ar.WriteObject(first);
        ar.WriteObject(second);
        ar.WriteObject(text);
        ar.WriteObject(second);
    });
    const Bytes expected = Concat({NewClassTag("CVLine"), HexBytes("07 00 00 00"),  // class 1, object 2
                                   HexBytes("01 80 08 00 00 00"),                // object 3
                                   NewClassTag("CVText"), HexBytes("01 54"),     // class 4, object 5
                                   HexBytes("01 80 08 00 00 00")});              // object 6
    EXPECT_EQ(bytes, expected);

    CArchive ar = Loading(bytes);
    auto a = ar.ReadObject();
    auto b = ar.ReadObject();
    auto c = ar.ReadObject();
    auto d = ar.ReadObject();
    ASSERT_TRUE(a->IsKindOf(&CFakeLine::classCFakeLine));
    ASSERT_TRUE(c->IsKindOf(&CFakeText::classCFakeText));
    ASSERT_TRUE(d->IsKindOf(&CFakeLine::classCFakeLine));
    EXPECT_EQ(static_cast<CFakeLine&>(*a).m_nValue, 7);
    EXPECT_EQ(static_cast<CFakeLine&>(*b).m_nValue, 8);
    EXPECT_EQ(static_cast<CFakeText&>(*c).m_strText, "T");
    EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(ArchiveObjects, ClassIndexFromTheBigFormOn) {
    // 0x7FFE lines take indexes 2..0x7FFF after their class (1), so the
    // text class gets 0x8000 and its second object needs the big form.
    CFakeLine line;
    CFakeText text;
    const Bytes bytes = Stored([&](CArchive& ar) {
        for (int i = 0; i < 0x7FFE; ++i) ar.WriteObject(line);
        ar.WriteObject(text);
        ar.WriteObject(text);
    });
    const Bytes tail = Concat({NewClassTag("CVText"), HexBytes("00"),
                               HexBytes("FF 7F  00 80 00 80  00")});
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);
    // The last line still used the short reference 0x8001.
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()) - 6,
                    bytes.end() - static_cast<long>(tail.size()) - 4),
              HexBytes("01 80"));

    CArchive ar = Loading(bytes);
    for (int i = 0; i < 0x7FFE; ++i) ar.ReadObject();
    EXPECT_TRUE(ar.ReadObject()->IsKindOf(&CFakeText::classCFakeText));
    EXPECT_TRUE(ar.ReadObject()->IsKindOf(&CFakeText::classCFakeText));
}

TEST(ArchiveObjects, BigFormAcceptedForASmallIndex) {
    const Bytes bytes = Concat({NewClassTag("CVLine"), HexBytes("01 00 00 00"),
                                HexBytes("FF 7F 01 00 00 80  02 00 00 00")});
    CArchive ar = Loading(bytes);
    ar.ReadObject();
    auto second = ar.ReadObject();
    EXPECT_EQ(static_cast<CFakeLine&>(*second).m_nValue, 2);
}

TEST(ArchiveLoadFailures, UnknownClassOrWrongSchema) {
    ExpectBadFormat(Concat({NewClassTag("CVCircle"), HexBytes("00 00 00 00")}), "CVCircle");
    ExpectBadFormat(Concat({NewClassTag("cvline"), HexBytes("00 00 00 00")}), "cvline");
    ExpectBadFormat(Concat({NewClassTag("CVLine", 2), HexBytes("00 00 00 00")}), "schema");
    ExpectBadFormat(Concat({NewClassTag("CVLine", 0), HexBytes("00 00 00 00")}), "schema");
}

TEST(ArchiveLoadFailures, ClassNameOf64BytesOrMore) {
    const std::string name63 = "CVLine" + std::string(57, 'x');
    ExpectBadFormat(Concat({NewClassTag(name63), HexBytes("00 00 00 00")}), "unknown class");
    ExpectBadFormat(Concat({NewClassTag(name63 + "y"), HexBytes("00 00 00 00")}), "too long");
    // A huge name length fails on the length, not on the missing bytes.
    ExpectBadFormat(HexBytes("FF FF 01 00 FF FF 43 56"), "too long");
}

TEST(ArchiveLoadFailures, ReferencesThatNameNoClass) {
    const Bytes line = Concat({NewClassTag("CVLine"), HexBytes("00 00 00 00")});
    // Index 2 went to the first object, index 3 to nobody yet.
    ExpectBadFormat(Concat({line, HexBytes("02 80 00 00 00 00")}), "does not name a class");
    ExpectBadFormat(Concat({line, HexBytes("03 80 00 00 00 00")}), "does not name a class");
    ExpectBadFormat(HexBytes("00 80 00 00 00 00"), "does not name a class");
    ExpectBadFormat(Concat({line, HexBytes("FF 7F 02 00 00 80")}), "does not name a class");
}

TEST(ArchiveLoadFailures, ObjectReferenceAndNullTags) {
    const Bytes line = Concat({NewClassTag("CVLine"), HexBytes("00 00 00 00")});
    ExpectBadFormat(HexBytes("00 00"), "null object");
    ExpectBadFormat(Concat({line, HexBytes("02 00")}), "object reference");
    ExpectBadFormat(Concat({line, HexBytes("FE 7F")}), "object reference");
    ExpectBadFormat(Concat({line, HexBytes("FF 7F 02 00 00 00")}), "object reference");
}

TEST(ArchiveLoadFailures, HugeLengthsFailBeforeAllocating) {
    for (const char* hex : {"FF FF FF FF FF FF FF 41", "FF FE FF 41", "FE 41 42"}) {
        const Bytes bytes = HexBytes(hex);
        CArchive ar = Loading(bytes);
        try {
            ar.ReadString();
            ADD_FAILURE() << hex;
        } catch (const CFileError& e) {
            EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat);
        }
    }
    // A count of 1, then 8 bytes: room for one item of 8 bytes, not 2 of 4+1.
    const Bytes few = HexBytes("01 00 00 00  00 01 02 03 04 05 06 07");
    EXPECT_EQ(Loading(few).ReadItemCount(8), 1u);
    EXPECT_THROW(Loading(few).ReadItemCount(9), CFileError);
    const Bytes negative = HexBytes("00 00 00 80");
    EXPECT_EQ(Loading(negative).ReadItemCount(8), 0u);  // no items
    const Bytes two = HexBytes("02 00 00 00  00 00 00 00 00 00 F0 3F");
    EXPECT_EQ(Loading(two).ReadItemCount(4), 2u);
    try {
        Loading(two).ReadItemCount(8);
        ADD_FAILURE();
    } catch (const CFileError& e) {
        EXPECT_STREQ(e.what(), "Bad file format: the file ends before the 2 items announced by a count.");
    }
    CArchive ar = Loading(two);
    EXPECT_THROW(ar.ReadDoubles(std::numeric_limits<size_t>::max() / 4), CFileError);
    ar.ReadInt32();
    EXPECT_EQ(ar.ReadDoubles(1), std::vector<double>{1.0});
    EXPECT_THROW(ar.ReadDoubles(std::numeric_limits<size_t>::max()), CFileError);
    EXPECT_EQ(ar.ReadDoubles(0), std::vector<double>{});
}

TEST(ArchiveLoadFailures, TruncatedAtEveryPosition) {
    CFakeLine line;
    line.m_nValue = -1;
    CFakeText text;
    text.m_strText = std::string(300, 'w');
    const Bytes full = Stored([&](CArchive& ar) {
        ar.WriteObject(line);
        ar.WriteObject(text);
        ar.WriteObject(line);
        ar.WriteCount(70000);
        ar.WriteDouble(0.5);
    });
    for (size_t cut = 0; cut < full.size(); ++cut) {
        const Bytes part(full.begin(), full.begin() + static_cast<long>(cut));
        CArchive ar = Loading(part);
        try {
            ar.ReadObject();
            ar.ReadObject();
            ar.ReadObject();
            ar.ReadCount();
            ar.ReadDouble();
            ADD_FAILURE() << "no failure when cut at " << cut;
        } catch (const CFileError& e) {
            EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat) << cut;
            EXPECT_NE(std::string(e.what()).find("ends"), std::string::npos) << e.what();
        }
    }
}

TEST(ArchiveEncodingNotes, LoadedFormsAreWrittenAgain) {
    const Bytes unusual = Concat({HexBytes("FF FF 02 00 00 00"),                 // count 2 in six bytes
                                  NewClassTag("CVLine"), HexBytes("01 00 00 00"),  // class 1, object 2
                                  HexBytes("FF 7F 01 00 00 80  02 00 00 00"),     // big form, object 3
                                  NewClassTag("CVLine"), HexBytes("03 00 00 00"),  // class again as 4, object 5
                                  HexBytes("01 80  04 00 00 00"),                 // the old index 1, object 6
                                  NewClassTag("CVText"), HexBytes("FF 02 00 68 69"),
                                  HexBytes("FF FF FF 01 00 00 00 21")});
    CEncodingNotes notes;
    CArchive in = Loading(unusual);
    in.SetEncodingNotes(&notes);
    EXPECT_EQ(in.ReadCount(), 2u);
    std::vector<std::unique_ptr<CObject>> objects;
    for (int i = 0; i < 5; ++i) objects.push_back(in.ReadObject());
    EXPECT_EQ(in.ReadString(), "!");
    EXPECT_EQ(in.BytesLeft(), 0u);

    EXPECT_EQ(notes.longCounts, (std::set<uint32_t>{0}));
    EXPECT_EQ(notes.stringPrefixes, (std::map<uint32_t, uint8_t>{{0, 3}, {1, 7}}));
    ASSERT_EQ(notes.classTags.size(), 3u);
    EXPECT_EQ(notes.classTags.at(1), (CEncodingNotes::ClassTag{false, true, 1}));
    EXPECT_EQ(notes.classTags.at(2), (CEncodingNotes::ClassTag{true, false, 0}));
    EXPECT_EQ(notes.classTags.at(3), (CEncodingNotes::ClassTag{false, false, 1}));

    auto writeAll = [&](CArchive& ar) {
        ar.WriteCount(2);
        for (const auto& object : objects) ar.WriteObject(*object);
        ar.WriteString("!");
    };
    CArchive out;
    out.SetEncodingNotes(&notes);
    writeAll(out);
    EXPECT_EQ(out.Buffer(), unusual);

    // Without the notes the same content takes the shortest forms.
    CArchive plain;
    writeAll(plain);
    EXPECT_EQ(plain.Buffer().size(), unusual.size() - 4 - 4 - 10 - 2 - 6);
}

TEST(ArchiveEncodingNotes, CanonicalFilesNeedNoNotes) {
    CFakeLine line;
    CFakeText text;
    text.m_strText = std::string(300, 'x');
    const Bytes bytes = Stored([&](CArchive& ar) {
        ar.WriteCount(3);
        ar.WriteObject(line);
        ar.WriteObject(text);
        ar.WriteObject(line);
    });
    CEncodingNotes notes;
    CArchive in = Loading(bytes);
    in.SetEncodingNotes(&notes);
    in.ReadCount();
    for (int i = 0; i < 3; ++i) in.ReadObject();
    EXPECT_TRUE(notes.IsEmpty());
}
