// The lossless JSON form of a model file, shared by `varnel dump` and
// `varnel pack`. Texts are code page 1251 in the model and UTF-8 in JSON.
//
// Beyond the document's fields the JSON may carry what a file needs to be
// rebuilt byte for byte when it was not written the way this program writes:
// "programParts" (the program split over several strings), "trailing" (hex
// of bytes the loader never reads: after the end marker, or after a version
// other than 1.0) and "encoding" (longer string prefixes, six-byte counts,
// unusual class tags, by their ordinal in the file).
//
// With these every valid file comes back byte for byte except one whose
// negative point count or (CVGraphic) negative sample count loads as none:
// such a record is written back with the count 0. Dump says so on stderr.
#pragma once
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A JSON text that is not valid JSON or does not describe a valid model;
// the message names what is wrong.
class ModelJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws CFileError when the bytes are not a valid model file.
std::string ModelFileToJson(std::span<const uint8_t> fileBytes);
// Throws ModelJsonError.
std::vector<uint8_t> JsonToModelFile(std::string_view jsonText);
