// CVarnelDoc: the model. The diagram, the sheet size, the scale state and
// the program text, with new-model defaults and the .vrn file form.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "diagram/EntityList.h"
#include "shell/archive/Archive.h"

class CVarnelDoc {
public:
    std::unique_ptr<EntityList> m_pEntityList;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    std::string m_strProgram;
    int32_t m_bFullScale = 1;

    // Fresh empty diagram, 640 by 480, full scale, empty program; clears the
    // modified flag.
    bool OnNewDocument();
    void Serialize(CArchive& ar);

    // The whole file's bytes.
    std::vector<uint8_t> Store();
    // Loads a whole file. Throws CFileError (BadFormat or InternalData); the
    // document then holds the defaults of a new model.
    void Load(std::span<const uint8_t> bytes);

    void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }
    bool IsModified() const { return m_bModified; }

private:
    bool m_bModified = false;
};

// Every class a model file may name: the diagram's and the plot series.
const CClassRegistry& ModelClassRegistry();

// Whole-file helpers; both throw CFileError (CannotOpen for I/O failures).
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);
