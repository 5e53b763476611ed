// file.cpp: whole-file reading, reading in pieces and replacing with POSIX calls (MinGW's on Windows).
//
// replaceFile writes a temporary file beside the target (same directory, so the
// rename stays on one file system and is atomic) and renames it over the target.
// Any failure removes the temporary file and leaves the target as it was. The
// target of a symbolic link is the file the link points to.
//
// Windows differs in the calls kept in the section below: paths are UTF-8 and go
// to the wide-character calls, a file has no permission bits to carry over,
// rename() will not replace an existing file, a folder name ends with a
// backslash, and there are no links to follow.
#include "platform/file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#endif

namespace platform {

// ---------------------------------------------------------------------------
// Where Windows and POSIX differ
// ---------------------------------------------------------------------------
#ifdef _WIN32

constexpr char separator = '\\';

// Paths are UTF-8 on Windows; the wide-character calls take a name in any script.
static std::wstring widePath(const std::string& path)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), n);
    return wide;
}

static std::string utf8Path(const std::wstring& path)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

using FileInfo = struct _stat64;

static int statOf(const std::string& path, FileInfo& info)
{
    return _wstat64(widePath(path).c_str(), &info);
}

static int fstatOf(int fd, FileInfo& info)
{
    return _fstat64(fd, &info);
}

static FILE* openForReading(const std::string& path)
{
    return _wfopen(widePath(path).c_str(), L"rb");
}

static int openDescriptorForReading(const std::string& path)
{
    return _wopen(widePath(path).c_str(), O_RDONLY | O_BINARY);
}

static int openForWriting(const std::string& path)
{
    return _wopen(widePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_BINARY, _S_IREAD | _S_IWRITE);
}

static bool writable(const std::string& path)
{
    return _waccess(widePath(path).c_str(), W_OK) == 0;
}

// A new file at `pattern` with its trailing "XXXXXX" made unique; -1 when none.
static int makeTemporary(std::string& pattern)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring wide = widePath(pattern);
        if (_wmktemp_s(wide.data(), wide.size() + 1) != 0)
            return -1;
        int fd = _wopen(wide.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd >= 0 || errno != EEXIST) {
            pattern = utf8Path(wide);
            return fd;
        }
    }
    return -1;
}

static void removeFile(const std::string& path)
{
    _wunlink(widePath(path).c_str());
}

// "" when the folder cannot be named.
static std::string currentDirectory()
{
    wchar_t* dir = _wgetcwd(nullptr, 0);
    std::string result = dir ? utf8Path(dir) : std::string();
    std::free(dir);
    return result;
}

// Windows files carry only a read-only flag, and the temporary file is writable.
static bool copyMode(int, const std::string&)
{
    return true;
}

static bool renameOver(const std::string& from, const std::string& to)
{
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The program makes no links on Windows, and shortcuts are files of their own.
static std::string linkTarget(const std::string& path)
{
    return path;
}

#else

constexpr char separator = '/';

using FileInfo = struct stat;

static int statOf(const std::string& path, FileInfo& info)
{
    return stat(path.c_str(), &info);
}

static int fstatOf(int fd, FileInfo& info)
{
    return fstat(fd, &info);
}

static FILE* openForReading(const std::string& path)
{
    return std::fopen(path.c_str(), "rb");
}

static int openDescriptorForReading(const std::string& path)
{
    return open(path.c_str(), O_RDONLY);
}

static int openForWriting(const std::string& path)
{
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
}

static bool writable(const std::string& path)
{
    return access(path.c_str(), W_OK) == 0;
}

static int makeTemporary(std::string& pattern)
{
    return mkstemp(pattern.data());
}

static void removeFile(const std::string& path)
{
    unlink(path.c_str());
}

// "" when the folder cannot be named (it was removed).
static std::string currentDirectory()
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

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

// Where a chain of symbolic links ends, so that a save replaces the file the
// link points to and the link survives. A relative target counts from the
// link's folder. The path itself when it is no link; a loop gives up after as
// many steps as the kernel allows.
static std::string linkTarget(const std::string& path)
{
    std::string current = path;
    for (int step = 0; step < 40; ++step) {
        std::vector<char> buffer(4096);
        ssize_t n = readlink(current.c_str(), buffer.data(), buffer.size());
        if (n < 0 || static_cast<size_t>(n) >= buffer.size())
            return current;
        std::string target(buffer.data(), static_cast<size_t>(n));
        size_t slash = current.rfind('/');
        if (!target.empty() && target.front() != '/' && slash != std::string::npos)
            target = current.substr(0, slash + 1) + target;
        current = target;
    }
    return current;
}

#endif

bool fileExists(const std::string& path)
{
    FileInfo info;
    return statOf(path, info) == 0;
}

bool readFile(const std::string& path, std::string& bytes)
{
    FILE* file = openForReading(path);
    if (!file)
        return false;
    std::string content;
    // Room for a regular file at once: a large file is then never copied as the
    // text grows. Other files (pipes, devices) grow as they are read.
    FileInfo info;
    if (fstatOf(fileno(file), info) == 0 && S_ISREG(info.st_mode))
        content.reserve(static_cast<size_t>(info.st_size));
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

InputFile::InputFile(const std::string& path) : fd(openDescriptorForReading(path))
{
    FileInfo info;
    if (fd >= 0 && fstatOf(fd, info) == 0 && S_ISREG(info.st_mode))
        bytes = static_cast<long long>(info.st_size);
}

InputFile::~InputFile()
{
    if (fd >= 0)
        close(fd);
}

long long InputFile::read(char* buffer, size_t count)
{
    for (;;) {
        // One call of read() takes at most INT_MAX bytes on Windows.
        const ssize_t n = ::read(fd, buffer, static_cast<unsigned>(std::min<size_t>(count, 1u << 30)));
        if (n >= 0 || errno != EINTR)
            return n;
    }
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
    FileInfo old;
    if (statOf(path, old) != 0)
        return errno == ENOENT;
    return S_ISREG(old.st_mode) && (old.st_mode & 0222) != 0 && writable(path);
}

// Writes `bytes` into a new temporary file beside `path` and renames it over
// `path`. Returns -1 when no temporary file can be made there, 0 when the write
// or the rename failed (the temporary file is removed), 1 on success.
static int replaceThroughTemporary(const std::string& path, const std::string& bytes)
{
    std::string temp = path + ".tmp-XXXXXX";
    int fd = makeTemporary(temp);
    if (fd < 0)
        return -1;
    bool ok = copyMode(fd, path) && writeAll(fd, bytes);
    // close can report a write that failed late (a full disk, a network share).
    ok = close(fd) == 0 && ok;
    ok = ok && renameOver(temp, path);
    if (!ok)
        removeFile(temp);
    return ok ? 1 : 0;
}

bool replaceFileThrough(const std::string& path, const std::function<bool(const std::string& temporaryPath)>& write)
{
    std::string target = linkTarget(path);
    if (!mayReplace(target))
        return false;
    std::string temp = target + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = copyMode(fd, target);
    ok = close(fd) == 0 && ok;
    ok = ok && write(temp) && renameOver(temp, target);
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

// Truncates and writes the file where it is.
static bool writeInPlace(const std::string& path, const std::string& bytes)
{
    int fd = openForWriting(path);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes);
    return close(fd) == 0 && ok;
}

bool replaceFile(const std::string& path, const std::string& bytes)
{
    std::string target = linkTarget(path);
    return mayReplace(target) && replaceThroughTemporary(target, bytes) == 1;
}

bool rewriteFile(const std::string& path, const std::string& bytes)
{
    std::string target = linkTarget(path);
    if (!mayReplace(target))
        return false;
    int replaced = replaceThroughTemporary(target, bytes);
    return replaced == 1 || (replaced < 0 && writeInPlace(target, bytes));
}

// When the directory cannot be named (it was removed), "./" still means it.
std::string workingDirectory()
{
    std::string dir = currentDirectory();
    if (dir.empty())
        return "./";
    if (dir.back() != '/' && dir.back() != separator)
        dir += separator;
    return dir;
}

} // namespace platform
