#include "support/simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

extern char** environ;

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
    int pid = static_cast<int>(getpid());
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
    int64_t giveUp = nowMs() + startWaitMs;
    while (nowMs() < giveUp && output >= 0) {
        readOutput(100);
        for (const std::string& line : printed)
            if (line.rfind("listening on ", 0) == 0)
                return true;
    }
    return false;
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
    pending.append(buffer, static_cast<size_t>(got));
    size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
        printed.push_back(pending.substr(0, end));
        pending.erase(0, end + 1);
    }
}

bool Simulator::sawLine(const std::string& line)
{
    int64_t giveUp = nowMs() + lineWaitMs;
    for (;;) {
        if (std::find(printed.begin(), printed.end(), line) != printed.end())
            return true;
        if (nowMs() >= giveUp || output < 0)
            return false;
        readOutput(50);
    }
}

std::vector<std::string> Simulator::lines()
{
    readOutput(0);
    return printed;
}
