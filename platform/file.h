// file.h: whole-file reading and safe replacing.
//
// Paths are the operating system's. replaceFile writes to a temporary file beside
// the target and renames it over the target, so a failed write never destroys
// what was there.
#pragma once

#include <string>

namespace platform {

// Reads the whole file into `bytes`; false when it cannot be opened or read.
bool readFile(const std::string& path, std::string& bytes);
// Writes `bytes` as the new content of `path`; false (and the old file intact)
// when it cannot. Only a new file or an existing regular file with write
// permission is written: a read-only file, a directory or a device is refused.
bool replaceFile(const std::string& path, const std::string& bytes);
// True when something (a file, a folder, ...) is at `path`.
bool fileExists(const std::string& path);
// The current working directory with a trailing separator.
std::string workingDirectory();

} // namespace platform

namespace platform {

// A file name as the program's display text (Windows-1252): the operating
// system's name decoded, characters Windows-1252 lacks shown as "?".
std::string displayName(const std::string& path);

} // namespace platform
