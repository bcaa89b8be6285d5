// CVarnelDoc: new-model defaults, the file form through ModelFile, the class
// registry model files may name, and whole-file reading and writing.
#include "document/VarnelDoc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Numbers.h"
#include "diagram/DiagramClasses.h"
#include "document/ModelFile.h"
#include "graphs/Graphic.h"

bool CVarnelDoc::OnNewDocument() {
    SetModifiedFlag(false);
    m_pEntityList = std::make_unique<EntityList>();
    m_nWidth = 640;
    m_nHeight = 480;
    m_bFullScale = 1;
    m_strProgram.clear();
    return true;
}

CVarnelDoc& CVarnelDoc::operator=(CVarnelDoc&& other) noexcept {
    m_pEntityList = std::move(other.m_pEntityList);
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    m_strProgram = std::move(other.m_strProgram);
    m_bFullScale = other.m_bFullScale;
    SetModifiedFlag(other.m_bModified);
    return *this;
}

void CVarnelDoc::SetModifiedFlag(bool bModified) {
    if (bModified == m_bModified) return;
    m_bModified = bModified;
    if (m_modifiedListener) m_modifiedListener(bModified);
}

bool CVarnelDoc::ZoomIn() {
    if (m_bFullScale != 0) return false;
    m_nWidth = SaturatingMul(m_nWidth, 2);
    m_nHeight = SaturatingMul(m_nHeight, 2);
    if (m_pEntityList) m_pEntityList->ScaleAll(2.0, 2.0);
    m_bFullScale = 1;
    return true;
}

bool CVarnelDoc::ZoomOut() {
    if (m_bFullScale != 1) return false;
    m_nWidth /= 2;  // integer division truncates toward zero
    m_nHeight /= 2;
    if (m_pEntityList) m_pEntityList->ScaleAll(0.5, 0.5);
    m_bFullScale = 0;
    return true;
}

void CVarnelDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteModel(ar, *this);
        return;
    }
    // Every load starts from a new model, so a file with another version
    // leaves exactly that behind.
    OnNewDocument();
    ReadModel(ar, *this);
}

std::vector<uint8_t> CVarnelDoc::Store() {
    CArchive ar;
    Serialize(ar);
    return ar.TakeBuffer();
}

void CVarnelDoc::Load(std::span<const uint8_t> bytes) {
    CArchive ar(bytes, ModelClassRegistry());
    try {
        Serialize(ar);
    } catch (...) {
        // A failed open leaves a new model, never a half-read one.
        OnNewDocument();
        throw;
    }
}

const CClassRegistry& ModelClassRegistry() {
    static const CClassRegistry registry = [] {
        CClassRegistry r;
        RegisterDiagramClasses(r);
        RegisterGraphClasses(r);
        return r;
    }();
    return registry;
}

namespace {

[[noreturn]] void CannotOpen(const char* what, const std::string& path, int error) {
    throw CFileError(FileErrorKind::CannotOpen,
                     std::string(what) + " \"" + path + "\": " + std::strerror(error) + ".");
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        CannotOpen("Cannot open the file", path, errno);
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed)
        CannotOpen("Cannot read the file", path, error);
    return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        CannotOpen("Cannot write the file", path, errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!closed && written)
        error = errno;
    if (!written || !closed)
        CannotOpen("Cannot write the file", path, error);
}
