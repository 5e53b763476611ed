// process.cpp: the running program's folder and execv.
#include "platform/process.h"

#include <climits>
#include <unistd.h>

namespace platform {

std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof path)
        return {};
    const std::string file(path, static_cast<size_t>(length));
    return file.substr(0, file.find_last_of('/'));
}

void replaceProcess(const std::string& path, char** argv)
{
    execv(path.c_str(), argv);
}

} // namespace platform
