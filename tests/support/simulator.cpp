#include "support/simulator.h"

#include "support/quoting.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include <algorithm>
#include <chrono>

namespace {

constexpr int startWaitMs = 10000;
constexpr int lineWaitMs = 10000;

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

// 127.A.B.C: A.B from the process id, C counting up from 1 through 254.
std::string nextAddress()
{
    static int count = 0;
#ifdef _WIN32
    int pid = static_cast<int>(GetCurrentProcessId());
#else
    int pid = static_cast<int>(getpid());
#endif
    int last = count++ % 254 + 1;
    return "127." + std::to_string(pid >> 8 & 0xFF) + "." + std::to_string(pid & 0xFF) + "." + std::to_string(last);
}

} // namespace

Simulator::Simulator(const std::vector<std::string>& options)
{
    // An address taken by a simulator that another process left behind makes the
    // start fail; the next address is tried then.
    for (int attempt = 0; attempt < 3 && !listening; ++attempt)
        listening = start(options);
}

Simulator::~Simulator()
{
    stop();
}

std::string Simulator::unusedAddress()
{
    return nextAddress();
}

bool Simulator::start(const std::vector<std::string>& options)
{
    stop();
    where = nextAddress();
    std::vector<std::string> args = {SENTREL_SIM, "--address", where, "--until-stdin-closes"};
    args.insert(args.end(), options.begin(), options.end());
    if (!spawn(args))
        return false;
    int64_t giveUp = nowMs() + startWaitMs;
    while (nowMs() < giveUp && running()) {
        readOutput(100);
        for (const std::string& line : printed)
            if (line.rfind("listening on ", 0) == 0)
                return true;
    }
    return false;
}

#ifdef _WIN32

bool Simulator::spawn(std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& arg : args)
        line += (line.empty() ? "" : " ") + quotedArgument(arg);
    // Its output comes back through one pipe; the other is its input, which ends
    // when this process ends, however it ends, and takes the simulator with it.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, inRead, inWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0))
        return false;
    if (!CreatePipe(&inRead, &inWrite, &inherit, 0)) {
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return false;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    bool ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                             &startup, &started);
    CloseHandle(outWrite);
    CloseHandle(inRead);
    output = outRead;
    input = inWrite;
    if (!ok)
        return false;
    CloseHandle(started.hThread);
    process = started.hProcess;
    return true;
}

void Simulator::stop()
{
    if (process) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    if (output)
        CloseHandle(output);
    if (input)
        CloseHandle(input);
    process = output = input = nullptr;
    pending.clear();
    printed.clear();
}

bool Simulator::running() const
{
    return output != nullptr;
}

// Up to `size` bytes of the pipe, waiting at most `waitMs`: the count, 0 once it
// has ended, -1 when nothing came in time.
static long readSome(HANDLE output, char* buffer, size_t size, int waitMs)
{
    // Anonymous pipes cannot be waited on: look every few milliseconds.
    int64_t giveUp = nowMs() + waitMs;
    for (;;) {
        DWORD ready = 0;
        if (!PeekNamedPipe(output, nullptr, 0, nullptr, &ready, nullptr))
            return 0;
        if (ready > 0)
            break;
        if (nowMs() >= giveUp)
            return -1;
        Sleep(5);
    }
    DWORD got = 0;
    if (!ReadFile(output, buffer, static_cast<DWORD>(size), &got, nullptr))
        return 0;
    return static_cast<long>(got);
}

void Simulator::readOutput(int waitMs)
{
    if (!output)
        return;
    char buffer[4096];
    long got = readSome(output, buffer, sizeof buffer, waitMs);
    if (got < 0)
        return;
    if (got == 0) {
        // The simulator has ended.
        CloseHandle(output);
        output = nullptr;
        return;
    }
    appendOutput(buffer, static_cast<size_t>(got));
}

#else

bool Simulator::spawn(std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    // Its output comes back through one pipe; the other is its input, which ends
    // when this process ends, however it ends, and takes the simulator with it.
    int pipeEnds[2], inputEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return false;
    if (pipe2(inputEnds, O_CLOEXEC) != 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, inputEnds[0], STDIN_FILENO);
    pid_t child = -1;
    int failed = posix_spawn(&child, SENTREL_SIM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    close(inputEnds[0]);
    output = pipeEnds[0];
    input = inputEnds[1];
    if (failed != 0)
        return false;
    pid = child;
    return true;
}

void Simulator::stop()
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    if (output >= 0)
        close(output);
    if (input >= 0)
        close(input);
    pid = -1;
    output = -1;
    input = -1;
    pending.clear();
    printed.clear();
}

void Simulator::readOutput(int waitMs)
{
    if (output < 0)
        return;
    pollfd entry = {output, POLLIN, 0};
    if (poll(&entry, 1, waitMs) <= 0)
        return;
    char buffer[4096];
    ssize_t got = read(output, buffer, sizeof buffer);
    if (got <= 0) {
        // The simulator has ended.
        close(output);
        output = -1;
        return;
    }
    appendOutput(buffer, static_cast<size_t>(got));
}

bool Simulator::running() const
{
    return output >= 0;
}

#endif

void Simulator::appendOutput(const char* bytes, size_t size)
{
    pending.append(bytes, size);
    size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
        size_t length = end > 0 && pending[end - 1] == '\r' ? end - 1 : end;
        printed.push_back(pending.substr(0, length));
        pending.erase(0, end + 1);
    }
}

bool Simulator::sawLine(const std::string& line)
{
    int64_t giveUp = nowMs() + lineWaitMs;
    for (;;) {
        if (std::find(printed.begin(), printed.end(), line) != printed.end())
            return true;
        if (nowMs() >= giveUp || !running())
            return false;
        readOutput(50);
    }
}

std::vector<std::string> Simulator::lines()
{
    readOutput(0);
    return printed;
}
