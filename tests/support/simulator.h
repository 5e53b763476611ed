// simulator.h: runs sentrel-sim as a child process for a device test.
//
// Each Simulator listens on port 80 of a loopback address of its own,
// 127.A.B.C with A.B from the test process's id and C counting up, so tests that
// run at the same time never meet; tests run as root, which port 80 needs. The
// constructor returns once the simulator listens (or has failed: see started());
// the destructor kills it, and it ends by itself should the test process die. Its output lines ("connection 1", "query 1",
// "closed 1", ...) can be awaited with sawLine.
#pragma once

#include <string>
#include <vector>

class Simulator {
public:
    // Starts sentrel-sim with `options` (see sentrel-sim --help) besides the address.
    explicit Simulator(const std::vector<std::string>& options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // True once it printed "listening on ...".
    bool started() const { return listening; }
    // The loopback address it listens on, e.g. "127.23.5.1".
    const std::string& address() const { return where; }
    // True when it has printed `line`, waiting up to 10 s for it to come.
    bool sawLine(const std::string& line);
    // Every line it has printed so far.
    std::vector<std::string> lines();

    // A loopback address of this test process that nobody listens on.
    static std::string unusedAddress();

private:
    bool start(const std::vector<std::string>& options);
    void stop();
    // Starts the process with its output and input on pipes of ours.
    bool spawn(std::vector<std::string>& args);
    // Reads what the simulator printed, waiting at most `waitMs` for more.
    void readOutput(int waitMs);
    // Splits what it printed into lines ("\n" or "\r\n").
    void appendOutput(const char* bytes, size_t size);
    // False once its output has ended.
    bool running() const;

#ifdef _WIN32
    void* process = nullptr;   // HANDLEs
    void* output = nullptr;
    void* input = nullptr;
#else
    int pid = -1;
    int output = -1;
    int input = -1;
#endif
    bool listening = false;
    std::string where;
    std::string pending;
    std::vector<std::string> printed;
};
