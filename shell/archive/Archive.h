// The byte encoding of model files: little-endian values, length-prefixed
// strings, list counts and class-tagged objects with one index counter per
// file. Loading never allocates from a count before the bytes exist.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "shell/archive/ClassRegistry.h"
#include "shell/archive/FileError.h"
#include "shell/archive/Object.h"

class CArchive {
public:
    // A storing archive appending to an internal buffer.
    CArchive();
    // A loading archive over bytes that must outlive it.
    CArchive(std::span<const uint8_t> bytes, const CClassRegistry& registry);

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }

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

    // Loading: throws BadFormat unless n items of itemSize bytes can still
    // follow. Call before allocating for a count read from the file.
    void RequireAvailable(uint64_t n, size_t itemSize) const;
    size_t BytesLeft() const { return m_input.size() - m_nPos; }

    const std::vector<uint8_t>& Buffer() const { return m_output; }
    std::vector<uint8_t> TakeBuffer() { return std::move(m_output); }

private:
    void WriteClassTag(const CRuntimeClass* pClass);
    const CRuntimeClass* ReadClassTag();
    const uint8_t* Take(size_t n);

    bool m_bStoring;
    std::vector<uint8_t> m_output;
    std::span<const uint8_t> m_input;
    size_t m_nPos = 0;
    const CClassRegistry* m_pRegistry = nullptr;

    // One counter shared by classes and objects, starting at 1 per file.
    uint32_t m_nNextIndex = 1;
    std::unordered_map<const CRuntimeClass*, uint32_t> m_storedClasses;
    std::unordered_map<uint32_t, const CRuntimeClass*> m_loadedClasses;
};
