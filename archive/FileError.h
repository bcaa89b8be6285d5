// The one exception type for model-file failures: a kind the caller can act
// on and a message a user can read.
#pragma once
#include <stdexcept>
#include <string>

enum class FileErrorKind {
    BadFormat,      // the bytes do not follow the archive encoding
    InternalData,   // the program start marker is missing
    CannotOpen,     // the file could not be read or written
    NotAModel,      // the first eight bytes are not the version 1.0
};

class CFileError : public std::runtime_error {
public:
    CFileError(FileErrorKind kind, const std::string& message)
        : std::runtime_error(message), m_kind(kind) {}
    FileErrorKind Kind() const { return m_kind; }

private:
    FileErrorKind m_kind;
};
