// file.h: whole-file reading, reading in pieces, and safe replacing.
//
// Paths are the operating system's. replaceFile writes to a temporary file beside
// the target and renames it over the target, so a failed write never destroys
// what was there. Both writers follow symbolic links: the file a link points to
// is written and the link stays.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Reads the whole file into `bytes`; false when it cannot be opened or read.
bool readFile(const std::string& path, std::string& bytes);

// A file read from its start to its end in pieces, into the caller's buffer, so
// that a reader can refuse what has no end (a device, a pipe that is never
// closed) after a bounded number of bytes. Closed when the object goes.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    // False when the file could not be opened.
    bool isOpen() const { return fd >= 0; }
    // Bytes of a regular file; -1 for anything else (a pipe, a device).
    long long size() const { return bytes; }
    // Reads up to `count` bytes into `buffer`: how many, 0 at the end, -1 on a
    // read error (such as a directory opened as a file).
    long long read(char* buffer, size_t count);

private:
    int fd = -1;
    long long bytes = -1;
};
// Writes `bytes` as the new content of `path`; false (and the old file intact)
// when it cannot. Only a new file or an existing regular file with write
// permission is written: a read-only file, a directory or a device is refused.
bool replaceFile(const std::string& path, const std::string& bytes);
// As replaceFile, but when no temporary file can be made beside the target (a
// folder the user may not write to), the target is truncated and written in
// place. For small files written whole, whose loss would cost little.
bool rewriteFile(const std::string& path, const std::string& bytes);
// True when something (a file, a folder, ...) is at `path`.
bool fileExists(const std::string& path);
// The current working directory with a trailing separator.
std::string workingDirectory();

// For a writer that opens the file it writes itself (minizip): `write` is given
// the path of a new empty temporary file beside `path` (as replaceFile makes
// it) and returns whether it wrote it whole; that file is then renamed over
// `path`. False, and the old file intact, when no temporary file can be made,
// `write` fails or the rename fails; the temporary file is removed then.
bool replaceFileThrough(const std::string& path, const std::function<bool(const std::string& temporaryPath)>& write);

// A fresh empty file of our own in the system's temporary folder, for a library
// that writes to a file it names itself; removed when the object goes. `path` is
// "" when no file could be made.
struct ScratchFile {
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string path;
};

} // namespace platform

namespace platform {

// A file name as the program's display text (Windows-1252): the operating
// system's name decoded, characters Windows-1252 lacks shown as "?".
std::string displayName(const std::string& path);
// A display text (Windows-1252) as UTF-8, for the content of a file.
std::string utf8Of(const std::string& text);

} // namespace platform
