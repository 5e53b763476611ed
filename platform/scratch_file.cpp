// scratch_file.cpp: files of our own in the system's temporary folder, for
// libraries that write to a file they name themselves.
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

} // namespace platform
