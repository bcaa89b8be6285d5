// CVarnelDoc: new-model defaults, zoom, the file form through ModelFile and
// the class registry model files may name.
#include "document/VarnelDoc.h"

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
    // Every load starts from a new model, so nothing of the old one mixes in.
    OnNewDocument();
    ReadModel(ar, *this);
}

std::vector<uint8_t> CVarnelDoc::Store(std::vector<uint8_t> reuse) {
    reuse.reserve(m_nBytesSeen + m_nBytesSeen / 8);
    CArchive ar(std::move(reuse));
    Serialize(ar);
    std::vector<uint8_t> bytes = ar.TakeBuffer();
    m_nBytesSeen = bytes.size();
    return bytes;
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
    m_nBytesSeen = bytes.size();
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
