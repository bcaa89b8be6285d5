// Whole-file reading and writing for the command line and the render
// commands. Writing never leaves a half-written file where a model was.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Both throw CFileError (CannotOpen) naming the path and the system's reason.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes to a new file beside the target and renames it over the target
// only once every byte is on disk, so a full disk or any other failure
// leaves an existing file as it was. The target keeps its permissions.
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);
