#include "cli/run.h"

#include "support/quoting.h"

#include <cstdio>
#include <cstdlib>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

std::string contentOf(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    std::fclose(file);
    return text;
}

#ifdef _WIN32

HANDLE inheritable(std::FILE* file)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return handle;
}

// Runs the program with the three files as its standard streams: its exit code,
// or -1 when it cannot start.
int runWith(const std::string& program, const std::vector<std::string>& arguments, std::FILE* in, std::FILE* out,
            std::FILE* err, const RunSetting& setting)
{
    std::FILE* output = setting.outputPath.empty() ? nullptr : std::fopen(setting.outputPath.c_str(), "wb");
    std::string line = quotedArgument(program);
    for (const std::string& a : arguments)
        line += " " + quotedArgument(a);
    // The arguments are UTF-8: the wide command line carries every script.
    std::wstring wide(line.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide.data(), static_cast<int>(wide.size()))));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritable(in);
    startup.hStdOutput = inheritable(output ? output : out);
    startup.hStdError = inheritable(err);
    PROCESS_INFORMATION started = {};
    const bool started_ = CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                         nullptr, &startup, &started);
    if (output)
        std::fclose(output);
    if (!started_)
        return -1;
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return static_cast<int>(code);
}

#else

int runWith(const std::string& program, const std::vector<std::string>& arguments, std::FILE* in, std::FILE* out,
            std::FILE* err, const RunSetting& setting)
{
    const pid_t child = fork();
    if (child == 0) {
        dup2(fileno(in), 0);
        dup2(fileno(out), 1);
        dup2(fileno(err), 2);
        if (!setting.outputPath.empty())
            dup2(open(setting.outputPath.c_str(), O_WRONLY), 1);
        if (setting.dataLimit != 0) {
            const rlimit limit{setting.dataLimit, setting.dataLimit};
            setrlimit(RLIMIT_DATA, &limit);
        }
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("XDG_RUNTIME_DIR");
        std::vector<char*> argv = {const_cast<char*>(program.c_str())};
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

ProgramRun runChild(const std::string& program, const std::vector<std::string>& arguments, const std::string& input,
                    const RunSetting& setting)
{
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    std::fflush(nullptr);
    ProgramRun run;
    run.exitCode = runWith(program, arguments, in, out, err, setting);
    std::fclose(in);
    run.out = contentOf(out);
    run.err = contentOf(err);
    return run;
}

} // namespace

ProgramRun runClimadesk(const std::vector<std::string>& arguments, const RunSetting& setting)
{
    return runChild(CLIMADESK_EXE, arguments, "", setting);
}

#ifndef _WIN32
ProgramRun runPython(const std::string& script, const std::string& input)
{
    return runChild("python3", {"-c", script}, input, {});
}

ProgramRun runClimadeskOnTerminal(const std::vector<std::string>& arguments)
{
    // The program and its arguments come on standard input, split by zero bytes.
    const char* const script = "import os, pty, sys\n"
                               "argv = sys.stdin.buffer.read().decode().split('\\0')\n"
                               "pid, fd = pty.fork()\n"
                               "if pid == 0:\n"
                               "    os.execv(argv[0], argv)\n"
                               "out = b''\n"
                               "while True:\n"
                               "    try:\n"
                               "        data = os.read(fd, 4096)\n"
                               "    except OSError:\n"
                               "        break\n"
                               "    if not data:\n"
                               "        break\n"
                               "    out += data\n"
                               "status = os.waitpid(pid, 0)[1]\n"
                               "sys.stdout.buffer.write(out)\n"
                               "sys.exit(os.waitstatus_to_exitcode(status))\n";
    std::string input = CLIMADESK_EXE;
    for (const std::string& a : arguments)
        input += '\0' + a;
    return runPython(script, input);
}
#endif
