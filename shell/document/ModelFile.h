// The model file's layout around the object list: version, sheet size, scale
// flag, the list, and the program between its two markers. The document uses
// it as is; the command line's exact dump also keeps the program's pieces.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "shell/archive/Archive.h"

class CVarnelDoc;

inline constexpr double kModelFileVersion = 1.0;
inline constexpr std::string_view kProgramStartMarker = "~!~ Start Program ~!~";
inline constexpr std::string_view kProgramEndMarker = "~!~ End Program ~!~";

// Reads a whole model into a document that already holds the defaults of a
// new model. Returns false, reading nothing more, when the version is not
// exactly 1.0. When pProgramParts is given it receives the strings found
// between the markers, in file order. Throws CFileError.
bool ReadModel(CArchive& ar, CVarnelDoc& doc, std::vector<std::string>* pProgramParts = nullptr);

// Writes the whole model; the program goes out as the given pieces when
// pProgramParts is given, otherwise as the document's one string.
void WriteModel(CArchive& ar, const CVarnelDoc& doc,
                const std::vector<std::string>* pProgramParts = nullptr);
