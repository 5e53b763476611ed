// scratch_file.cpp: files of our own in the system's temporary folder, for
// libraries that write to a file they name themselves.
//
// A library writes a scratch file; its bytes then go through replaceFile, so the
// target is replaced exactly as every other file of the program is (temporary
// file beside it, rename).
#include "platform/file.h"

#include <filesystem>
#include <stdlib.h>
#include <system_error>
#include <unistd.h>

namespace platform {

namespace {

// A new empty file of our own in the temporary folder; "" when none can be made.
std::string makeScratchFile()
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::string path = (folder / "climadesk-XXXXXX").string();
    int fd = mkstemp(path.data());
    if (fd < 0)
        return {};
    close(fd);
    return path;
}

} // namespace

ScratchFile::ScratchFile() : path(makeScratchFile()) {}

ScratchFile::~ScratchFile()
{
    if (!path.empty())
        unlink(path.c_str());
}

namespace {

// What `write` wrote, read back; the scratch file is gone before the target is
// written, so a nearly full disk has its room back.
bool writtenBytes(const std::function<bool(const std::string& scratchPath)>& write, std::string& bytes)
{
    const ScratchFile scratch;
    return !scratch.path.empty() && write(scratch.path) && readFile(scratch.path, bytes);
}

} // namespace

bool replaceFileWithWritten(const std::string& path, const std::function<bool(const std::string& scratchPath)>& write)
{
    std::string bytes;
    return writtenBytes(write, bytes) && replaceFile(path, bytes);
}

} // namespace platform
