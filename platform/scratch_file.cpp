// scratch_file.cpp: replacing a file with what a library wrote to a file of its own.
//
// The library writes a scratch file in the system's temporary folder; its bytes
// then go through replaceFile, so the target is replaced exactly as every other
// file of the program is (temporary file beside it, rename).
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

bool replaceFileWithWritten(const std::string& path, const std::function<bool(const std::string& scratchPath)>& write)
{
    const std::string scratch = makeScratchFile();
    if (scratch.empty())
        return false;
    std::string bytes;
    bool ok = write(scratch) && readFile(scratch, bytes);
    unlink(scratch.c_str());
    return ok && replaceFile(path, bytes);
}

} // namespace platform
