// The byte encoding of model files: little-endian values, length-prefixed
// strings, list counts and class-tagged objects with one index counter per
// file. Loading never allocates from a count before the bytes exist.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/ClassRegistry.h"
#include "archive/FileError.h"
#include "archive/Object.h"

// Encodings a file used where the writer would have chosen another form: a
// longer string prefix, the six-byte count, a class tag other than the one a
// writer gives at that point. A loading archive records them when given a
// notes object; a storing archive given the same notes writes those forms
// again, so such a file can be rebuilt byte for byte. Keys are the 0-based
// ordinals of the strings, counts and class tags in the stream.
struct CEncodingNotes {
    struct ClassTag {
        bool bNewClass = false;  // a new-class tag for a class met before
        bool bBigForm = false;   // a reference in the 0x7FFF form
        uint32_t nIndex = 0;     // the index a reference names
        friend bool operator==(const ClassTag&, const ClassTag&) = default;
    };
    std::map<uint32_t, uint8_t> stringPrefixes;  // prefix size: 1, 3 or 7 bytes
    std::set<uint32_t> longCounts;
    std::map<uint32_t, ClassTag> classTags;

    bool IsEmpty() const { return stringPrefixes.empty() && longCounts.empty() && classTags.empty(); }
    friend bool operator==(const CEncodingNotes&, const CEncodingNotes&) = default;
};

class CArchive {
public:
    // A storing archive appending to an internal buffer.
    CArchive();
    // Storing into a buffer whose room is reused (its bytes are dropped).
    explicit CArchive(std::vector<uint8_t> reuse);
    // A loading archive over bytes that must outlive it.
    CArchive(std::span<const uint8_t> bytes, const CClassRegistry& registry);

    bool IsStoring() const { return m_bStoring; }

    // Storing.
    void WriteInt32(int32_t v);
    void WriteUInt16(uint16_t v);
    void WriteUInt32(uint32_t v);
    void WriteDouble(double v);
    void WriteBytes(const void* p, size_t n);
    void WriteString(const std::string& s);
    void WriteCount(uint32_t n);
    void WriteObject(const CObject& obj);  // class tag, then obj.Serialize

    // Loading; every reader throws CFileError(BadFormat) when the stream
    // ends before the value is complete.
    int32_t ReadInt32();
    uint16_t ReadUInt16();
    uint32_t ReadUInt32();
    double ReadDouble();
    void ReadBytes(void* p, size_t n);
    std::string ReadString();
    uint32_t ReadCount();
    std::unique_ptr<CObject> ReadObject();  // reads the tag, creates, loads
    // The int32 count before a run of items of itemSize bytes each: 0 or
    // less means no items; more items than the bytes left can hold fails
    // before the caller allocates anything for them.
    uint32_t ReadItemCount(size_t itemSize);
    // n doubles, failing before allocating when fewer bytes are left.
    std::vector<double> ReadDoubles(size_t n);
    size_t BytesLeft() const { return m_input.size() - m_nPos; }

    // The one way loading fails: CFileError(BadFormat) with the message
    // "Bad file format: <what>.".
    [[noreturn]] void Fail(const std::string& what) const;

    // Records (loading) or replays (storing) the encodings of the notes; the
    // notes must outlive the archive's use.
    void SetEncodingNotes(CEncodingNotes* pNotes) { m_pNotes = pNotes; }

    const std::vector<uint8_t>& Buffer() const { return m_output; }
    std::vector<uint8_t> TakeBuffer() { return std::move(m_output); }

private:
    void WriteClassTag(const CRuntimeClass* pClass);
    const CRuntimeClass* ReadClassTag();
    const uint8_t* Take(size_t n);
    void RequireAvailable(uint64_t n, size_t itemSize) const;
    void WriteClassReference(uint32_t index, bool bBigForm);
    void WriteNewClassTag(const CRuntimeClass* pClass);
    void NoteClassTag(const CRuntimeClass* pClass, const CEncodingNotes::ClassTag& tag);

    bool m_bStoring;
    std::vector<uint8_t> m_output;
    std::span<const uint8_t> m_input;
    size_t m_nPos = 0;
    const CClassRegistry* m_pRegistry = nullptr;

    // One counter shared by classes and objects, starting at 1 per file.
    uint32_t m_nNextIndex = 1;
    // Both directions: the latest index each class received, and the class
    // behind every index given to a class.
    std::unordered_map<const CRuntimeClass*, uint32_t> m_classIndexes;
    std::unordered_map<uint32_t, const CRuntimeClass*> m_indexedClasses;

    CEncodingNotes* m_pNotes = nullptr;
    uint32_t m_nStringOrdinal = 0;
    uint32_t m_nCountOrdinal = 0;
    uint32_t m_nTagOrdinal = 0;
};
