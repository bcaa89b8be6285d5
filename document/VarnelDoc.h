// CVarnelDoc: the model. The diagram, the sheet size, the scale state and
// the program text, with new-model defaults and the .vrn file form.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "diagram/EntityList.h"
#include "document/FileBytes.h"

class CVarnelDoc {
public:
    CVarnelDoc() = default;
    CVarnelDoc(CVarnelDoc&&) = default;
    // Takes over another model's content and modified flag; the listener
    // stays this document's and hears of the flag when it changes.
    CVarnelDoc& operator=(CVarnelDoc&& other) noexcept;

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
    // The model file's bytes; `reuse` lends the room of an earlier buffer,
    // so that storing again and again does not fault in fresh pages.
    std::vector<uint8_t> Store(std::vector<uint8_t> reuse = {});
    // Loads a whole file. Throws CFileError (BadFormat, InternalData or NotAModel); the
    // document then holds the defaults of a new model.
    void Load(std::span<const uint8_t> bytes);

    void SetModifiedFlag(bool bModified = true);
    bool IsModified() const { return m_bModified; }
    // Called with the new state each time the modified flag changes; one
    // listener (the window that shows the flag in its title).
    void SetModifiedListener(std::function<void(bool)> listener) { m_modifiedListener = std::move(listener); }

    // The two scales: zooming in doubles the sheet and every object and is
    // possible only at half scale; zooming out halves them, only at full
    // scale. False when the document was already at that scale.
    bool ZoomIn();
    bool ZoomOut();

private:
    bool m_bModified = false;
    // The size of the model's bytes when last loaded or stored: the room a
    // new store asks for at once, instead of growing into it step by step.
    size_t m_nBytesSeen = 0;
    std::function<void(bool)> m_modifiedListener;
};

// Every class a model file may name: the diagram's and the plot series.
const CClassRegistry& ModelClassRegistry();
