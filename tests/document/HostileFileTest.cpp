// Damaged and hostile model files: huge announced sizes fail as bad format
// without being allocated, and no mutation of a valid file does anything
// worse than a clean CFileError.
#include <gtest/gtest.h>

#include "AllocationProbe.h"
#include "support/ModelBytes.h"
#include "support/ModelSamples.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kSmallAllocation = 1 << 20;

// One object of the given class: new class tag (schema 1), then `body`.
Bytes OneObjectFile(std::string_view className, const Bytes& body) {
    Bytes tag = HexBytes("01 00  FF FF 01 00");
    tag.push_back(static_cast<uint8_t>(className.size()));
    tag.push_back(0);
    return Concat({HexBytes(kHeader640x480), tag, AsciiBytes(className), body, HexBytes(kStartMarker),
                   HexBytes("00"), HexBytes(kEndMarker)});
}

void ExpectCleanBadFormat(const Bytes& bytes) {
    CVarnelDoc doc;
    AllocationProbe probe;
    try {
        doc.Load(bytes);
        ADD_FAILURE() << "the load did not fail";
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat) << e.what();
    }
    EXPECT_LT(probe.Largest(), kSmallAllocation);
    EXPECT_TRUE(doc.m_pEntityList->IsEmpty());
}

}  // namespace

TEST(HostileFile, HugeProgramString) {
    ExpectCleanBadFormat(Concat({HexBytes(kHeader640x480), HexBytes("00 00"), HexBytes(kStartMarker),
                                 HexBytes("FF FF FF FF FF FF 7F  41 42 43"), HexBytes(kEndMarker)}));
    ExpectCleanBadFormat(Concat({HexBytes(kHeader640x480), HexBytes("00 00"),
                                 HexBytes("FF FF FF F0 FF FF FF"), HexBytes(kStartMarker)}));
}

TEST(HostileFile, HugePointList) {
    ExpectCleanBadFormat(OneObjectFile("CVLine", HexBytes("00 00 00 00  FF FF FF 7F  01 00 00 00 02 00 00 00")));
    ExpectCleanBadFormat(OneObjectFile("CVSources", HexBytes("00 00 00 00  00 00 00 10")));
}

TEST(HostileFile, HugeObjectCount) {
    const Bytes line = HexBytes("FF FF 01 00 06 00 43 56 4C 69 6E 65  00 00 00 00  00 00 00 00");
    ExpectCleanBadFormat(Concat({HexBytes(kHeader640x480), HexBytes("FF FF FF FF FF FF"), line,
                                 HexBytes(kStartMarker), HexBytes("00"), HexBytes(kEndMarker)}));
}

TEST(HostileFile, HugeTableValueCount) {
    // from 0 to 1e8 in steps of 1: 100000001 values announced, one present.
    const Bytes body = HexBytes(
        "00 00 00 00  00 00 00 00  01 54  00"
        "00 00 00 00 00 00 00 00  00 00 00 00 84 D7 97 41  00 00 00 00 00 00 F0 3F"
        "00 00 00 00 00 00 F0 3F");
    ExpectCleanBadFormat(OneObjectFile("CVTableData", body));
}

TEST(HostileFile, HugeSampleCount) {
    ExpectCleanBadFormat(OneObjectFile("CVGraphic",
                                       HexBytes("00 00 00 00  00 00 00 00  FF FF FF 7F  00 00 00 00 00 00 F0 3F")));
}

namespace {

// A small deterministic generator, so every run mutates the same way.
struct Lcg {
    uint64_t state;
    uint32_t Next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    size_t Below(size_t n) { return n ? Next() % n : 0; }
};

// Loads the bytes; a success must store again as a fixed point.
void ExpectLoadOrCleanFailure(const Bytes& bytes, const std::string& what) {
    CVarnelDoc doc;
    try {
        doc.Load(bytes);
    } catch (const CFileError&) {
        EXPECT_TRUE(doc.m_pEntityList->IsEmpty()) << what;
        return;
    } catch (...) {
        ADD_FAILURE() << "an exception other than CFileError: " << what;
        return;
    }
    const Bytes stored = doc.Store();
    CVarnelDoc again;
    again.Load(stored);
    EXPECT_EQ(again.Store(), stored) << what;
}

// Every class once, then two classes again so that class references occur.
Bytes EveryClassModel() {
    return samples::MixedModel(16, "var x = 1\r\nset x = x + 1\r\n")->Store();
}

}  // namespace

TEST(HostileFile, EveryTruncationFailsCleanly) {
    const Bytes good = EveryClassModel();
    for (size_t cut = 0; cut < good.size(); ++cut) {
        CVarnelDoc doc;
        EXPECT_THROW(doc.Load(Bytes(good.begin(), good.begin() + static_cast<long>(cut))), CFileError)
            << cut;
    }
}

TEST(HostileFile, EveryByteOverwrittenLoadsOrFailsCleanly) {
    const Bytes good = EveryClassModel();
    for (size_t pos = 0; pos < good.size(); ++pos) {
        for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
            Bytes bad = good;
            bad[pos] = value;
            ExpectLoadOrCleanFailure(bad, "byte " + std::to_string(pos) + " = " + std::to_string(value));
        }
        Bytes flipped = good;
        flipped[pos] ^= 0x40;
        ExpectLoadOrCleanFailure(flipped, "byte " + std::to_string(pos) + " flipped");
    }
}

TEST(HostileFile, RandomEditsLoadOrFailCleanly) {
    const Bytes good = EveryClassModel();
    Lcg rng{20261206};
    for (int round = 0; round < 3000; ++round) {
        Bytes bad = good;
        const int edits = 1 + static_cast<int>(rng.Below(4));
        for (int e = 0; e < edits; ++e) {
            const size_t pos = rng.Below(bad.size());
            switch (rng.Below(4)) {
            case 0: bad[pos] = static_cast<uint8_t>(rng.Next()); break;
            case 1: bad.erase(bad.begin() + static_cast<long>(pos)); break;
            case 2: bad.insert(bad.begin() + static_cast<long>(pos), static_cast<uint8_t>(rng.Next())); break;
            default: {  // overwrite four bytes with an extreme int32
                const uint8_t fill = rng.Below(2) ? 0xFF : 0x7F;
                for (size_t k = pos; k < std::min(pos + 4, bad.size()); ++k) bad[k] = k == pos + 3 ? fill : 0xFF;
            }
            }
            if (bad.empty()) break;
        }
        ExpectLoadOrCleanFailure(bad, "round " + std::to_string(round));
    }
}
