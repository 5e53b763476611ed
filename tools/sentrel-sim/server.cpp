#include "server.h"

#include "net.h"

#ifndef _WIN32
#include <linux/sockios.h>
#include <sys/ioctl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace sim {

namespace {

constexpr size_t requestSize = 64;
// How often a connection due for its reset looks whether its bytes have arrived.
constexpr int64_t resetCheckMs = 5;

struct Connection {
    net::Socket fd;
    int number;
    std::string in;            // request bytes not yet handled
    std::string out;           // reply bytes not yet sent, from `sent` on
    size_t sent = 0;
    int64_t nextSendMs = 0;    // --delay: the next piece waits until then
    bool hangUpWhenSent = false;
    bool resetWhenDelivered = false;   // --reset-after: once the cut dump has arrived
    bool done = false;
#ifdef _WIN32
    int64_t emptiedMs = 0;     // when the last reply byte was sent
#endif
};

struct ServerState {
    const Options& options;
    const Logger& logger;
    net::Socket listener = net::noSocket;
    int connections = 0;
    int busyLeft = 0;
    int queries = 0;   // answered so far, over all connections
    std::vector<Connection> open;
};

int64_t steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void finish(Connection& c, const char* how)
{
    say(std::string(how) + " " + std::to_string(c.number));
    net::closeSocket(c.fd);
    c.done = true;
}

bool startListening(ServerState& s)
{
    sockaddr_in where = {};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<uint16_t>(s.options.port));
    inet_pton(AF_INET, s.options.address.c_str(), &where.sin_addr);
    s.listener = net::listener();
    int yes = 1;
    if (s.listener == net::noSocket
        || setsockopt(s.listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes) != 0
        || bind(s.listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 || listen(s.listener, 16) != 0) {
        std::fprintf(stderr, "sentrel-sim: cannot listen on %s:%d: %s\n", s.options.address.c_str(), s.options.port,
                     net::lastError().c_str());
        return false;
    }
    say("listening on " + s.options.address + ":" + std::to_string(s.options.port));
    return true;
}

void acceptOne(ServerState& s)
{
    net::Socket fd = net::acceptFrom(s.listener);
    if (fd == net::noSocket)
        return;
    // Pieces must leave one by one, not gathered up by Nagle's algorithm.
    int yes = 1;
    if (s.options.chunkBytes > 0)
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes), sizeof yes);
    Connection c{fd, ++s.connections, {}, {}, 0, 0, false, false, false};
    say("connection " + std::to_string(c.number));
    s.open.push_back(std::move(c));
}

Status queryStatus(ServerState& s)
{
    if (s.busyLeft > 0) {
        --s.busyLeft;
        return Status::Busy;
    }
    return s.options.garbled ? Status::Garbled : Status::Ok;
}

void handleRequest(ServerState& s, Connection& c, const std::string& request)
{
    const std::string command = request.substr(0, 5);
    const std::string number = std::to_string(c.number);
    if (command == "QX51C") {
        say("query " + number);
        if (s.options.silent)
            return;
        c.out += s.logger.queryReply(queryStatus(s), wallSeconds(), s.queries++);
        c.hangUpWhenSent = s.options.closeAfterQuery;
    } else if (command == "QX51D") {
        say("dump " + number);
        if (!s.options.silent) {
            c.out += s.logger.dumpReply();
            c.resetWhenDelivered = s.options.resetAfter >= 0;
        }
    } else {
        say("unknown " + number);
    }
}

void readFrom(ServerState& s, Connection& c)
{
    char buffer[4096];
    long got = net::receive(c.fd, buffer, sizeof buffer);
    if (got < 0 && net::wouldBlock())
        return;
    if (got <= 0) {
        finish(c, "closed");
        return;
    }
    c.in.append(buffer, static_cast<size_t>(got));
    while (c.in.size() >= requestSize && !c.hangUpWhenSent && !c.resetWhenDelivered) {
        handleRequest(s, c, c.in.substr(0, requestSize));
        c.in.erase(0, requestSize);
    }
}

void writeTo(ServerState& s, Connection& c)
{
    size_t left = c.out.size() - c.sent;
    size_t piece = s.options.chunkBytes > 0 ? std::min(left, static_cast<size_t>(s.options.chunkBytes)) : left;
    long sent = net::transmit(c.fd, c.out.data() + c.sent, piece);
    if (sent < 0) {
        if (!net::wouldBlock())
            finish(c, "closed");
        return;
    }
    c.sent += static_cast<size_t>(sent);
    if (s.options.chunkBytes > 0)
        c.nextSendMs = steadyMs() + s.options.chunkDelayMs;
    if (c.sent < c.out.size())
        return;
    c.out.clear();
    c.sent = 0;
#ifdef _WIN32
    c.emptiedMs = steadyMs();
#endif
    if (c.hangUpWhenSent)
        finish(c, "hung up");
}

bool hasOutput(const Connection& c)
{
    return c.sent < c.out.size();
}

// True when the peer has acknowledged every byte sent: a reset now cannot take
// back any of them. Winsock cannot tell how much is unacknowledged: there a
// loopback peer is given a fifth of a second.
bool delivered(const Connection& c)
{
#ifdef _WIN32
    return steadyMs() - c.emptiedMs >= 200;
#else
    int queued = 0;
    return ioctl(c.fd, SIOCOUTQ, &queued) != 0 || queued == 0;
#endif
}

bool resetDue(const Connection& c)
{
    return c.resetWhenDelivered && !hasOutput(c);
}

// Closes with SO_LINGER at 0, which sends a reset (RST) instead of an orderly end.
void resetConnection(Connection& c)
{
    linger abort = {1, 0};
    setsockopt(c.fd, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    finish(c, "reset");
}

#ifdef _WIN32
// Winsock cannot poll standard input: a thread waits for its end instead.
void exitWhenStdinEnds()
{
    std::thread([] {
        char buffer[256];
        while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
        }
        std::exit(0);
    }).detach();
}
#else
// True when standard input has ended (or failed).
bool stdinEnded()
{
    char buffer[256];
    ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    return got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN);
}
#endif

// One poll() over the listener, every connection and (when watched) standard
// input, then what it found.
void servePass(ServerState& s)
{
    // Standard input comes last, so connection i is entry i + 1.
    std::vector<net::PollEntry> entries{{s.listener, POLLIN, 0}};
    const int64_t now = steadyMs();
    int64_t wait = -1;
    for (const Connection& c : s.open) {
        short events = POLLIN;
        if (hasOutput(c) && now >= c.nextSendMs)
            events |= POLLOUT;
        else if (hasOutput(c))
            wait = wait < 0 ? c.nextSendMs - now : std::min(wait, c.nextSendMs - now);
        if (resetDue(c))
            wait = wait < 0 ? resetCheckMs : std::min(wait, resetCheckMs);
        entries.push_back({c.fd, events, 0});
    }
#ifndef _WIN32
    if (s.options.untilStdinCloses)
        entries.push_back({STDIN_FILENO, POLLIN, 0});
#endif
    if (net::poll(entries.data(), entries.size(), static_cast<int>(std::min<int64_t>(wait, INT_MAX))) < 0)
        return;
    const size_t polled = s.open.size();
    for (size_t i = 0; i < polled; ++i) {
        Connection& c = s.open[i];
        short found = entries[i + 1].revents;
        if (found & (POLLIN | POLLHUP | POLLERR))
            readFrom(s, c);
        if (!c.done && (found & POLLOUT))
            writeTo(s, c);
        if (!c.done && resetDue(c) && delivered(c))
            resetConnection(c);
    }
    std::erase_if(s.open, [](const Connection& c) { return c.done; });
    if (entries[0].revents & POLLIN)
        acceptOne(s);
#ifndef _WIN32
    if (s.options.untilStdinCloses && entries.back().revents != 0 && stdinEnded())
        std::exit(0);
#endif
}

} // namespace

int serve(const Options& options, const Logger& logger)
{
    ServerState s{options, logger, net::noSocket, 0, options.busyReplies, 0, {}};
    if (!startListening(s))
        return 1;
#ifdef _WIN32
    if (options.untilStdinCloses)
        exitWhenStdinEnds();
#endif
    for (;;)
        servePass(s);
}

} // namespace sim
