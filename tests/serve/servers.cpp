#include "serve/servers.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

extern char** environ;

Child::Child(const std::string& program, const std::vector<std::string>& arguments, const std::string& logFile)
    : log(logFile)
{
    std::vector<std::string> args = {program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t child = -1;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0)
        pid = child;
    posix_spawn_file_actions_destroy(&actions);
}

Child::~Child()
{
    if (pid > 0)
        stop(SIGTERM, 10000);
}

int Child::stop(int signal, int waitMs)
{
    if (pid <= 0)
        return -2;
    kill(pid, signal);
    int status = 0;
    const bool ended = waitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, waitMs);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    pid = -1;
    if (!ended)
        return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Child::output() const
{
    std::ifstream in(log, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int servePort(const Child& serve)
{
    std::smatch match;
    std::string out;
    const std::regex listening("listening on http://127\\.0\\.0\\.1:([0-9]+)/");
    if (!waitUntil([&] { return std::regex_search(out = serve.output(), match, listening); }, 10000))
        return 0;
    return std::stoi(match[1]);
}

int freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

std::string programPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

std::string httpGet(int port, const std::string& path)
{
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(2);
    client.set_read_timeout(10);
    const httplib::Result result = client.Get(path.c_str());
    return result && result->status == 200 ? result->body : "";
}

bool httpPost(int port, const std::string& path, const std::string& body, const std::string& contentType)
{
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(2);
    client.set_read_timeout(60);
    client.set_write_timeout(60);
    const httplib::Result result = client.Post(path.c_str(), body, contentType.c_str());
    return result && result->status / 100 == 2;
}

std::string urlEncoded(const std::string& text)
{
    std::string out;
    const char* hex = "0123456789ABCDEF";
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::unique_ptr<Child> startPrometheus(const std::string& dir, const std::string& config,
                                       const std::vector<std::string>& flags, int& port, std::string& why)
{
    const std::string program = programPath("prometheus");
    if (program.empty()) {
        why = "prometheus is not installed (scripts/setup installs it)";
        return nullptr;
    }
    std::ofstream(dir + "/prometheus.yml") << config;
    port = freePort();
    std::vector<std::string> args = {"--config.file=" + dir + "/prometheus.yml", "--storage.tsdb.path=" + dir + "/data",
                                     "--web.listen-address=127.0.0.1:" + std::to_string(port)};
    args.insert(args.end(), flags.begin(), flags.end());
    auto child = std::make_unique<Child>(program, args, dir + "/prometheus.out");
    if (!child->started() || !waitUntil([&] { return httpGet(port, "/-/ready").find("Ready") != std::string::npos; }, 30000)) {
        why = "prometheus did not start: " + child->output().substr(0, 2000);
        return nullptr;
    }
    return child;
}

std::string promValue(const std::string& answer, const std::string& logger)
{
    const size_t at = answer.find("\"logger\":\"" + logger + "\"");
    if (at == std::string::npos)
        return "";
    const size_t value = answer.find("\"value\":[", at);
    const size_t open = value == std::string::npos ? value : answer.find(",\"", value);
    if (open == std::string::npos)
        return "";
    const size_t close = answer.find('"', open + 2);
    return close == std::string::npos ? "" : answer.substr(open + 2, close - open - 2);
}
