// The model file's layout around the object list: version, sheet size, scale
// flag, the list, and the program between its two markers. The document uses
// it as is; the command line's exact dump also keeps the program's pieces.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "archive/Archive.h"

class CVarnelDoc;

inline constexpr double kModelFileVersion = 1.0;
inline constexpr std::string_view kProgramStartMarker = "~!~ Start Program ~!~";
inline constexpr std::string_view kProgramEndMarker = "~!~ End Program ~!~";

// What a file holds beyond the document's fields, for an exact copy.
struct ModelFileExtras {
    double dVersion = kModelFileVersion;
    std::vector<std::string> programParts;  // the strings between the markers
};

// Reads a whole model into a document that already holds the defaults of a
// new model. Returns false, reading nothing more, when the version is not
// exactly 1.0. Fills pExtras when given. Throws CFileError.
bool ReadModel(CArchive& ar, CVarnelDoc& doc, ModelFileExtras* pExtras = nullptr);

// Writes the whole model; the program goes out as the given pieces when
// pProgramParts is given, otherwise as the document's one string.
void WriteModel(CArchive& ar, const CVarnelDoc& doc,
                const std::vector<std::string>* pProgramParts = nullptr);
