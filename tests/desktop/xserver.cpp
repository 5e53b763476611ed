#include "desktop/xserver.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace desktop {

namespace {

pid_t server = 0;
pid_t windowManager = 0;

// Starts a program with its output discarded; `reportFd`, when not -1, becomes
// its descriptor 3.
pid_t spawn(const std::vector<std::string>& words, int reportFd = -1)
{
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (reportFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, reportFd, 3);
    pid_t pid = 0;
    int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? 0 : pid;
}

// Starts Xvfb on a display it picks itself, so that tests running at the same
// time never share one; the display's number, or -1.
int startServer()
{
    int report[2];
    if (pipe(report) != 0)
        return -1;
    server = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"},
                   report[1]);
    close(report[1]);
    std::string digits;
    pollfd wait{report[0], POLLIN, 0};
    char c = 0;
    while (server && poll(&wait, 1, 5000) > 0 && read(report[0], &c, 1) == 1 && c != '\n')
        digits += c;
    close(report[0]);
    return digits.empty() ? -1 : std::atoi(digits.c_str());
}

void stop(pid_t& pid)
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    pid = 0;
}

// Waits up to five seconds for `ready`.
template <class Ready>
bool waitFor(Ready ready)
{
    for (int i = 0; i < 100; ++i) {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::vector<unsigned long long> hexNumbers(const std::string& text)
{
    std::vector<unsigned long long> numbers;
    for (size_t at = text.find("0x"); at != std::string::npos; at = text.find("0x", at + 2))
        numbers.push_back(std::strtoull(text.c_str() + at, nullptr, 16));
    return numbers;
}

int numberAfter(const std::string& text, const std::string& label)
{
    size_t at = text.find(label);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + label.size());
}

} // namespace

bool startDesktop(std::string& why)
{
    int display = startServer();
    if (display < 0) {
        why = "no X server could start (is Xvfb installed? scripts/setup installs it)";
        stopDesktop();
        return false;
    }
    std::string name = ":" + std::to_string(display);
    setenv("DISPLAY", name.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    windowManager = spawn({"openbox", "--sm-disable"});
    if (!windowManager || !waitFor([] { return x11("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos; })) {
        why = "openbox did not start on the X server";
        stopDesktop();
        return false;
    }
    return true;
}

void stopDesktop()
{
    stop(windowManager);
    stop(server);
}

std::string x11(const std::string& command)
{
    std::string output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return output;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, got);
    pclose(pipe);
    return output;
}

std::vector<unsigned long long> stacking()
{
    return hexNumbers(x11("xprop -root _NET_CLIENT_LIST_STACKING"));
}

unsigned long long activeWindow()
{
    std::vector<unsigned long long> ids = hexNumbers(x11("xprop -root _NET_ACTIVE_WINDOW"));
    return ids.empty() ? 0 : ids.front();
}

unsigned long long transientFor(unsigned long long window)
{
    std::vector<unsigned long long> ids = hexNumbers(x11("xprop -id " + std::to_string(window) + " WM_TRANSIENT_FOR"));
    return ids.empty() ? 0 : ids.front();
}

Frame frameOf(unsigned long long window)
{
    std::string id = std::to_string(window);
    std::string info = x11("xwininfo -id " + id);
    std::string extents = x11("xprop -id " + id + " _NET_FRAME_EXTENTS");
    int left = 0, top = 0;
    size_t equals = extents.find('=');
    if (equals != std::string::npos)
        std::sscanf(extents.c_str() + equals + 1, " %d, %*d, %d", &left, &top);
    return {numberAfter(info, "Absolute upper-left X:") - left, numberAfter(info, "Absolute upper-left Y:") - top,
            numberAfter(info, "Width:"), numberAfter(info, "Height:")};
}

} // namespace desktop
