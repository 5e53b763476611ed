// file.cpp: whole-file reading and replacing with POSIX calls (MinGW's on Windows).
//
// replaceFile writes a temporary file beside the target (same directory, so the
// rename stays on one file system and is atomic) and renames it over the target.
// Any failure removes the temporary file and leaves the target as it was.
//
// Windows differs in three calls, kept in the section below: a file has no
// permission bits to carry over, rename() will not replace an existing file, and
// a folder name ends with a backslash.
#include "platform/file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

// ---------------------------------------------------------------------------
// Where Windows and POSIX differ
// ---------------------------------------------------------------------------
#ifdef _WIN32

constexpr char separator = '\\';

// Windows files carry only a read-only flag, and the temporary file is writable.
static bool copyMode(int, const std::string&)
{
    return true;
}

static bool renameOver(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

#else

constexpr char separator = '/';

// The permissions the new file gets: those of the file it replaces, or the
// usual ones for a new file. mkstemp alone would leave it readable by the
// owner only.
static mode_t modeFor(const std::string& path)
{
    struct stat old;
    if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

static bool copyMode(int fd, const std::string& path)
{
    return fchmod(fd, modeFor(path)) == 0;
}

static bool renameOver(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

#endif

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool readFile(const std::string& path, std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string content;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    // ferror catches read failures, such as a directory opened as a file.
    bool ok = !std::ferror(file);
    std::fclose(file);
    if (ok)
        bytes.swap(content);
    return ok;
}

// Writes all of `bytes` to the descriptor; false on any write error.
static bool writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Only a regular file that may be written is replaced. Renaming over anything
// else would destroy it: a device node such as /dev/full, or a file the user
// made read-only (root may write it, and rename ignores its mode anyway).
static bool mayReplace(const std::string& path)
{
    struct stat old;
    if (stat(path.c_str(), &old) != 0)
        return errno == ENOENT;
    return S_ISREG(old.st_mode) && (old.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
}

bool replaceFile(const std::string& path, const std::string& bytes)
{
    if (!mayReplace(path))
        return false;
    std::string temp = path + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = copyMode(fd, path) && writeAll(fd, bytes);
    // close can report a write that failed late (a full disk, a network share).
    ok = close(fd) == 0 && ok;
    ok = ok && renameOver(temp, path);
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

// When the directory cannot be named (it was removed), "./" still means it.
std::string workingDirectory()
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return "./";
        buffer.resize(buffer.size() * 2);
    }
    std::string dir = buffer.data();
    if (dir.empty() || (dir.back() != '/' && dir.back() != separator))
        dir += separator;
    return dir;
}

} // namespace platform
