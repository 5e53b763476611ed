// servers.h: the real servers of the serve tests (climadesk serve, Prometheus,
// InfluxDB), run as child processes on loopback.
//
// A Child is started with its output going to a file in the test's working
// directory and is ended by SIGTERM in its destructor (SIGKILL after 10 s), so
// no server outlives its test. Ports come from the kernel (freePort), and every
// wait is bounded.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Child {
public:
    // Starts `program` with `arguments`; its output goes to `logFile`.
    Child(const std::string& program, const std::vector<std::string>& arguments, const std::string& logFile);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return pid > 0; }
    int processId() const { return pid; }
    // Sends `signal`, waits up to `waitMs` for the end: the exit code, -1 when
    // it ended by a signal, -2 when it had not ended (it is killed then).
    int stop(int signal, int waitMs);
    // Waits up to `waitMs` for it to end by itself: the exit code as for stop.
    int finish(int waitMs) { return stop(0, waitMs); }
    // What the child has printed so far.
    std::string output() const;

private:
    int pid = -1;
    std::string log;
};

// The port a `climadesk serve --listen 127.0.0.1:0` child says it listens on,
// once it says so within 10 s; 0 when it does not.
int servePort(const Child& serve);
// A TCP port on 127.0.0.1 that nothing listens on just now.
int freePort();
// Where `program` is on PATH, or "" when it is not installed.
std::string programPath(const std::string& program);
// Calls `done` every 100 ms until it is true or `timeoutMs` have passed.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

// GET http://127.0.0.1:port/path; the body, or "" when no 200 came.
std::string httpGet(int port, const std::string& path);
// POST with `body`; true for a 2xx answer.
bool httpPost(int port, const std::string& path, const std::string& body, const std::string& contentType);
// `text` with what a URL query may not hold written as %XX.
std::string urlEncoded(const std::string& text);

// Starts Prometheus in `dir` with the configuration text `config` and the data
// folder dir/data, on a free loopback port (set in `port`), and waits until it
// is ready; nothing (and the reason in `why`) when it cannot start.
std::unique_ptr<Child> startPrometheus(const std::string& dir, const std::string& config,
                                       const std::vector<std::string>& flags, int& port, std::string& why);
// The value, as written, of the series with logger="NAME" in the answer of an
// instant query (Prometheus' JSON), or "" when it has none.
std::string promValue(const std::string& answer, const std::string& logger);
