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
    std::vector<std::string> programParts;  // the strings between the markers
};

// What every refusal of a file with another version says.
inline constexpr std::string_view kNotAModelMessage = "not a Varnel model";

// Reads a whole model into a document that already holds the defaults of a
// new model. A version other than exactly 1.0 is no model at all (another
// program's file, most often), so it throws CFileError NotAModel rather than
// yield an empty model that a save would write over the file. Fills pExtras
// when given. Throws CFileError.
void ReadModel(CArchive& ar, CVarnelDoc& doc, ModelFileExtras* pExtras = nullptr);

// Writes the whole model; the program goes out as the given pieces when
// pProgramParts is given, otherwise as the document's one string.
void WriteModel(CArchive& ar, const CVarnelDoc& doc,
                const std::vector<std::string>* pProgramParts = nullptr);
