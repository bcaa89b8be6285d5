// The archive's byte encoding: little-endian primitives, the three string
// prefix forms, list counts and class tags sharing one index counter.
// Every read checks the bytes left first, so a damaged file fails cleanly.
#include "archive/Archive.h"

#include <cstring>

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr size_t kMaxClassNameLength = 63;

// The n bytes of a little-endian value, lowest first.
// Grows once per value, not once per byte: a large model is mostly these.
template <typename T>
void AppendLittleEndian(std::vector<uint8_t>& out, T v, int n) {
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t LittleEndian(const uint8_t* p, int n) {
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

}  // namespace

void CArchive::Fail(const std::string& what) const {
    throw CFileError(FileErrorKind::BadFormat, "Bad file format: " + what + ".");
}

CArchive::CArchive() : m_bStoring(true) {}

CArchive::CArchive(std::vector<uint8_t> reuse) : m_bStoring(true), m_output(std::move(reuse)) { m_output.clear(); }

CArchive::CArchive(std::span<const uint8_t> bytes, const CClassRegistry& registry)
    : m_bStoring(false), m_input(bytes), m_pRegistry(&registry) {}

// ---- storing ----

void CArchive::WriteUInt16(uint16_t v) { AppendLittleEndian(m_output, v, 2); }

void CArchive::WriteUInt32(uint32_t v) { AppendLittleEndian(m_output, v, 4); }

void CArchive::WriteInt32(int32_t v) { WriteUInt32(static_cast<uint32_t>(v)); }

void CArchive::WriteDouble(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    AppendLittleEndian(m_output, bits, 8);
}

void CArchive::WriteBytes(const void* p, size_t n) {
    const auto* bytes = static_cast<const uint8_t*>(p);
    m_output.insert(m_output.end(), bytes, bytes + n);
}

namespace {

size_t ShortestStringPrefix(size_t length) {
    return length < 0xFF ? 1 : length < 0xFFFE ? 3 : 7;
}

bool PrefixFits(size_t prefix, size_t length) {
    return prefix == 7 || (prefix == 3 && length < 0xFFFF) || (prefix == 1 && length < 0xFF);
}

}  // namespace

void CArchive::WriteString(const std::string& s) {
    const size_t n = s.size();
    size_t prefix = ShortestStringPrefix(n);
    if (m_pNotes) {
        auto note = m_pNotes->stringPrefixes.find(m_nStringOrdinal);
        if (note != m_pNotes->stringPrefixes.end() && PrefixFits(note->second, n))
            prefix = note->second;
    }
    ++m_nStringOrdinal;
    if (prefix == 1) {
        m_output.push_back(static_cast<uint8_t>(n));
    } else if (prefix == 3) {
        m_output.push_back(0xFF);
        WriteUInt16(static_cast<uint16_t>(n));
    } else {
        m_output.push_back(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<uint32_t>(n));
    }
    WriteBytes(s.data(), n);
}

void CArchive::WriteCount(uint32_t n) {
    const bool bLongForm = n >= 0xFFFF || (m_pNotes && m_pNotes->longCounts.count(m_nCountOrdinal));
    ++m_nCountOrdinal;
    if (!bLongForm) {
        WriteUInt16(static_cast<uint16_t>(n));
    } else {
        WriteUInt16(0xFFFF);
        WriteUInt32(n);
    }
}

void CArchive::WriteClassReference(uint32_t index, bool bBigForm) {
    if (index < kBigObjectTag && !bBigForm) {
        WriteUInt16(static_cast<uint16_t>(kClassTag | index));
    } else {
        WriteUInt16(kBigObjectTag);
        WriteUInt32(kBigClassTag | index);
    }
}

void CArchive::WriteNewClassTag(const CRuntimeClass* pClass) {
    const size_t nameLength = std::strlen(pClass->m_lpszClassName);
    WriteUInt16(kNewClassTag);
    WriteUInt16(pClass->m_wSchema);
    WriteUInt16(static_cast<uint16_t>(nameLength));
    WriteBytes(pClass->m_lpszClassName, nameLength);
    m_classIndexes[pClass] = m_nNextIndex;
    m_indexedClasses[m_nNextIndex++] = pClass;
}

void CArchive::WriteClassTag(const CRuntimeClass* pClass) {
    const uint32_t ordinal = m_nTagOrdinal++;
    if (m_pNotes) {
        auto note = m_pNotes->classTags.find(ordinal);
        if (note != m_pNotes->classTags.end()) {
            const CEncodingNotes::ClassTag& tag = note->second;
            if (tag.bNewClass) {
                WriteNewClassTag(pClass);
                return;
            }
            auto named = m_indexedClasses.find(tag.nIndex);
            if (named != m_indexedClasses.end() && named->second == pClass) {
                WriteClassReference(tag.nIndex, tag.bBigForm);
                return;
            }
        }
    }
    auto known = m_classIndexes.find(pClass);
    if (known != m_classIndexes.end())
        WriteClassReference(known->second, false);
    else
        WriteNewClassTag(pClass);
}

void CArchive::WriteObject(const CObject& obj) {
    WriteClassTag(obj.GetRuntimeClass());
    ++m_nNextIndex;  // the object's own index; never referred to again
    // Serialize is one function for both directions, hence not const.
    const_cast<CObject&>(obj).Serialize(*this);
}

// ---- loading ----

const uint8_t* CArchive::Take(size_t n) {
    if (n > BytesLeft())
        Fail("the file ends before a value is complete");
    const uint8_t* p = m_input.data() + m_nPos;
    m_nPos += n;
    return p;
}

void CArchive::RequireAvailable(uint64_t n, size_t itemSize) const {
    if (itemSize != 0 && n > BytesLeft() / itemSize)
        Fail("the file ends before the " + std::to_string(n) + " items announced by a count");
}

uint32_t CArchive::ReadItemCount(size_t itemSize) {
    const int32_t count = ReadInt32();
    if (count <= 0)
        return 0;
    RequireAvailable(static_cast<uint64_t>(count), itemSize);
    return static_cast<uint32_t>(count);
}

std::vector<double> CArchive::ReadDoubles(size_t n) {
    RequireAvailable(n, sizeof(double));
    std::vector<double> values(n);
    for (double& value : values)
        value = ReadDouble();
    return values;
}

uint16_t CArchive::ReadUInt16() { return static_cast<uint16_t>(LittleEndian(Take(2), 2)); }

uint32_t CArchive::ReadUInt32() { return static_cast<uint32_t>(LittleEndian(Take(4), 4)); }

int32_t CArchive::ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }

double CArchive::ReadDouble() {
    const uint64_t bits = LittleEndian(Take(8), 8);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void CArchive::ReadBytes(void* p, size_t n) {
    const uint8_t* src = Take(n);
    if (n != 0)
        std::memcpy(p, src, n);
}

std::string CArchive::ReadString() {
    uint32_t length = *Take(1);
    size_t prefix = 1;
    if (length == 0xFF) {
        length = ReadUInt16();
        prefix = 3;
        if (length == 0xFFFF) {
            length = ReadUInt32();
            prefix = 7;
        }
    }
    if (m_pNotes && prefix != ShortestStringPrefix(length))
        m_pNotes->stringPrefixes[m_nStringOrdinal] = static_cast<uint8_t>(prefix);
    ++m_nStringOrdinal;
    RequireAvailable(length, 1);
    const char* text = reinterpret_cast<const char*>(Take(length));
    return std::string(text, length);
}

uint32_t CArchive::ReadCount() {
    const uint16_t word = ReadUInt16();
    const uint32_t count = word != 0xFFFF ? word : ReadUInt32();
    if (m_pNotes && word == 0xFFFF && count < 0xFFFF)
        m_pNotes->longCounts.insert(m_nCountOrdinal);
    ++m_nCountOrdinal;
    return count;
}

// Records a tag that differs from the one a storing archive would write here.
void CArchive::NoteClassTag(const CRuntimeClass* pClass, const CEncodingNotes::ClassTag& tag) {
    const uint32_t ordinal = m_nTagOrdinal++;
    if (!m_pNotes)
        return;
    auto known = m_classIndexes.find(pClass);
    const bool bCanonical = tag.bNewClass ? known == m_classIndexes.end()
                                          : known != m_classIndexes.end() &&
                                                known->second == tag.nIndex &&
                                                tag.bBigForm == (tag.nIndex >= kBigObjectTag);
    if (!bCanonical)
        m_pNotes->classTags[ordinal] = tag;
}

const CRuntimeClass* CArchive::ReadClassTag() {
    const uint16_t word = ReadUInt16();
    if (word == kNewClassTag) {
        const uint16_t schema = ReadUInt16();
        const uint16_t nameLength = ReadUInt16();
        if (nameLength > kMaxClassNameLength)
            Fail("a class name of " + std::to_string(nameLength) + " bytes is too long");
        const char* name = reinterpret_cast<const char*>(Take(nameLength));
        const std::string className(name, nameLength);
        const CRuntimeClass* pClass = m_pRegistry ? m_pRegistry->Find(className) : nullptr;
        if (!pClass)
            Fail("unknown class \"" + className + "\"");
        if (schema != pClass->m_wSchema)
            Fail("class \"" + className + "\" has schema " + std::to_string(schema) +
                      ", expected " + std::to_string(pClass->m_wSchema));
        NoteClassTag(pClass, {true, false, 0});
        m_classIndexes[pClass] = m_nNextIndex;
        m_indexedClasses[m_nNextIndex++] = pClass;
        return pClass;
    }

    uint32_t index;
    const bool bBigForm = word == kBigObjectTag;
    if (bBigForm) {
        const uint32_t big = ReadUInt32();
        if (!(big & kBigClassTag))
            Fail("an object reference occurs where an object is expected");
        index = big & ~kBigClassTag;
    } else if (word & kClassTag) {
        index = word & ~kClassTag;
    } else {
        Fail(word == 0 ? "a null object occurs where an object is expected"
                            : "an object reference occurs where an object is expected");
    }
    auto known = m_indexedClasses.find(index);
    if (known == m_indexedClasses.end())
        Fail("class index " + std::to_string(index) + " does not name a class");
    NoteClassTag(known->second, {false, bBigForm, index});
    return known->second;
}

std::unique_ptr<CObject> CArchive::ReadObject() {
    const CRuntimeClass* pClass = ReadClassTag();
    std::unique_ptr<CObject> pObject = pClass->m_pfnCreateObject();
    ++m_nNextIndex;  // the object's own index
    pObject->Serialize(*this);
    return pObject;
}
