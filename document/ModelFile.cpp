// Reading and writing the model file's layout (see ModelFile.h).
#include "document/ModelFile.h"

#include "base/Messages.h"

#include "document/VarnelDoc.h"

namespace {

void ReadProgram(CArchive& ar, CVarnelDoc& doc, std::vector<std::string>* pProgramParts) {
    if (ar.ReadString() != kProgramStartMarker)
        throw CFileError(FileErrorKind::InternalData, MessageText(EMessage::FileInternalData));
    for (std::string part = ar.ReadString(); part != kProgramEndMarker; part = ar.ReadString()) {
        doc.m_strProgram += part;
        if (pProgramParts)
            pProgramParts->push_back(std::move(part));
    }
}

}  // namespace

void ReadModel(CArchive& ar, CVarnelDoc& doc, ModelFileExtras* pExtras) {
    if (ar.ReadDouble() != kModelFileVersion)
        throw CFileError(FileErrorKind::NotAModel, std::string(kNotAModelMessage));
    doc.m_nWidth = ar.ReadInt32();
    doc.m_nHeight = ar.ReadInt32();
    doc.m_bFullScale = ar.ReadInt32();
    doc.m_pEntityList->Serialize(ar);
    ReadProgram(ar, doc, pExtras ? &pExtras->programParts : nullptr);
}

void WriteModel(CArchive& ar, const CVarnelDoc& doc, const std::vector<std::string>* pProgramParts) {
    ar.WriteDouble(kModelFileVersion);
    ar.WriteInt32(doc.m_nWidth);
    ar.WriteInt32(doc.m_nHeight);
    ar.WriteInt32(doc.m_bFullScale);
    if (doc.m_pEntityList)
        doc.m_pEntityList->Serialize(ar);
    ar.WriteString(std::string(kProgramStartMarker));
    if (pProgramParts) {
        for (const std::string& part : *pProgramParts)
            ar.WriteString(part);
    } else {
        ar.WriteString(doc.m_strProgram);
    }
    ar.WriteString(std::string(kProgramEndMarker));
}
