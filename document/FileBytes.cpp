// Whole-file reading, and writing through a temporary file in the target's
// folder that replaces the target by one rename.
#include "document/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "archive/FileError.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void CannotOpen(const char* what, const std::string& path, int error) {
    throw CFileError(FileErrorKind::CannotOpen,
                     std::string(what) + " \"" + path + "\": " + std::strerror(error) + ".");
}

[[noreturn]] void CannotWrite(const std::string& path, int error) { CannotOpen("Cannot write the file", path, error); }

// The file a write lands in: through a symbolic link to the linked file, so
// replacing it keeps the link.
fs::path WriteTarget(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::path(path), error);
    return error ? fs::path(path) : resolved;
}

// A new, exclusively created file in the target's folder; a rename within
// one folder cannot cross file systems.
std::FILE* CreateTemporary(const fs::path& target, fs::path& temp, const std::string& path) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target;
        temp.replace_filename("." + target.filename().string() + "." + std::to_string(random()) + ".tmp");
        if (std::FILE* file = std::fopen(temp.string().c_str(), "wbx"))
            return file;
        if (errno != EEXIST)
            CannotWrite(path, errno);
    }
    CannotWrite(path, EEXIST);
}

// Writes, flushes and closes; the error number of the first failure, or 0.
int WriteAndClose(std::FILE* file, std::span<const uint8_t> bytes) {
    int error = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
        error = errno ? errno : EIO;
#ifndef _WIN32
    if (error == 0 && ::fsync(fileno(file)) != 0)
        error = errno;
#endif
    if (std::fclose(file) != 0 && error == 0)
        error = errno ? errno : EIO;
    return error;
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
    const fs::path target = WriteTarget(path);
    fs::path temp;
    std::FILE* file = CreateTemporary(target, temp, path);
    int error = WriteAndClose(file, bytes);
    std::error_code status;
    if (error == 0) {
        const fs::file_status existing = fs::status(target, status);
        if (!status && fs::is_regular_file(existing))
            fs::permissions(temp, existing.permissions(), status);
        fs::rename(temp, target, status);
        error = status.value();
    }
    if (error != 0) {
        fs::remove(temp, status);
        CannotWrite(path, error);
    }
}
