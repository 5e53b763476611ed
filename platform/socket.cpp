// socket.cpp: TCP client connections on BSD sockets.
//
// connectTcp connects without blocking and waits with poll() (select() on
// Windows) for at most its time-out, then puts the socket back into blocking mode
// for sendAll. Reading never blocks: pollSocket peeks, receive takes only what
// is waiting.
//
// Every handle this module opened is kept in a set, guarded by a mutex so that
// threads that each hold connections of their own can share the module. Calls with any other handle
// fail as on a closed connection, so a stale handle (closed twice, or used after
// stopSockets) can never touch a descriptor that now belongs to something else.
//
// The calls are BSD sockets; where Winsock differs, a small function in the
// section "Where Winsock and POSIX differ" hides it, so the logic is written once.
// Handles stay ints on Windows too: a Winsock socket is a kernel handle, which
// fits 32 bits, and one that would not is closed and counts as a failure.
#include "platform/socket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <climits>
#include <cstdint>
#include <mutex>
#include <set>

namespace platform {

namespace {

// ---------------------------------------------------------------------------
// Where Winsock and POSIX differ
// ---------------------------------------------------------------------------
#ifdef _WIN32

SOCKET native(int fd)
{
    return static_cast<SOCKET>(fd);
}

// A new TCP socket that child processes do not inherit; -1 on failure.
int openSocket()
{
    SOCKET s = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET)
        return -1;
    if (s > static_cast<SOCKET>(INT_MAX)) {
        closesocket(s);
        return -1;
    }
    return static_cast<int>(s);
}

void closeNative(int fd)
{
    closesocket(native(fd));
}

bool setBlocking(int fd, bool blocking)
{
    u_long nonBlocking = blocking ? 0 : 1;
    return ioctlsocket(native(fd), FIONBIO, &nonBlocking) == 0;
}

bool interrupted()
{
    return WSAGetLastError() == WSAEINTR;
}

// A non-blocking connect that has started but not finished.
bool connectPending()
{
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

bool wouldBlock()
{
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

// Waits at most timeoutMs for `events` (POLLIN or POLLOUT) on the socket and sets
// `happened` to those that came, POLLERR for a failed connect. select() rather
// than WSAPoll, which on many Windows versions never reports a refused connect.
// The number of ready sockets (0 or 1), or -1 on failure.
int waitFor(int fd, short events, int timeoutMs, short& happened)
{
    fd_set wanted;
    fd_set failed;
    FD_ZERO(&wanted);
    FD_ZERO(&failed);
    FD_SET(native(fd), &wanted);
    FD_SET(native(fd), &failed);
    timeval wait = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    bool reading = (events & POLLIN) != 0;
    int ready = select(0, reading ? &wanted : nullptr, reading ? nullptr : &wanted, &failed, &wait);
    happened = 0;
    if (ready > 0 && FD_ISSET(native(fd), &wanted))
        happened |= events;
    if (ready > 0 && FD_ISSET(native(fd), &failed))
        happened |= POLLERR;
    return ready > 0 ? 1 : ready;
}

// Sends what it can of `size` bytes; the count sent, or -1.
int sendSome(int fd, const char* bytes, size_t size)
{
    return send(native(fd), bytes, static_cast<int>(size < INT_MAX ? size : INT_MAX), 0);
}

// The next byte without taking it, after waitFor found the socket readable.
int peekByte(int fd, char& byte)
{
    return recv(native(fd), &byte, 1, MSG_PEEK);
}

// Receives without waiting; -1 with wouldBlock() when nothing is waiting.
int receiveNow(int fd, void* buffer, size_t max)
{
    short happened;
    int ready = waitFor(fd, POLLIN, 0, happened);
    if (ready <= 0) {
        if (ready == 0)
            WSASetLastError(WSAEWOULDBLOCK);
        return -1;
    }
    return recv(native(fd), static_cast<char*>(buffer), static_cast<int>(max), 0);
}

bool startSystem()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void stopSystem()
{
    WSACleanup();
}

#else

int native(int fd)
{
    return fd;
}

// A new TCP socket that child processes do not inherit; -1 on failure.
int openSocket()
{
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

void closeNative(int fd)
{
    close(fd);
}

bool setBlocking(int fd, bool blocking)
{
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return false;
    flags = blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK;
    return fcntl(fd, F_SETFL, flags) == 0;
}

bool interrupted()
{
    return errno == EINTR;
}

// A non-blocking connect that has started but not finished.
bool connectPending()
{
    return errno == EINPROGRESS;
}

bool wouldBlock()
{
    return errno == EAGAIN || errno == EWOULDBLOCK;
}

// Waits at most timeoutMs for `events` on the socket and sets `happened` to the
// events poll() reported. The number of ready sockets (0 or 1), or -1 on failure.
int waitFor(int fd, short events, int timeoutMs, short& happened)
{
    pollfd entry = {fd, events, 0};
    int ready = poll(&entry, 1, timeoutMs);
    happened = entry.revents;
    return ready;
}

// Sends what it can of `size` bytes; the count sent, or -1. MSG_NOSIGNAL: a peer
// that has gone must fail the call, not kill the program.
ssize_t sendSome(int fd, const char* bytes, size_t size)
{
    return send(fd, bytes, size, MSG_NOSIGNAL);
}

// The next byte without taking it and without waiting.
ssize_t peekByte(int fd, char& byte)
{
    return recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
}

// Receives without waiting; -1 with wouldBlock() when nothing is waiting.
ssize_t receiveNow(int fd, void* buffer, size_t max)
{
    return recv(fd, buffer, max, MSG_DONTWAIT);
}

bool startSystem()
{
    return true;
}

void stopSystem() {}

#endif

// ---------------------------------------------------------------------------
// Connections
// ---------------------------------------------------------------------------
struct SocketState {
    bool started;
    std::set<int> open;
    std::mutex guard;
};

SocketState sockets;

bool isOpen(int socket)
{
    std::lock_guard<std::mutex> lock(sockets.guard);
    return sockets.open.count(socket) != 0;
}

// Waits until a connect in progress finishes or timeoutMs have passed; true
// when the connection was made.
bool finishConnect(int fd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        short happened;
        int ready = waitFor(fd, POLLOUT, static_cast<int>(left.count() > 0 ? left.count() : 0), happened);
        if (ready < 0 && interrupted())
            continue;
        if (ready <= 0)
            return false;
        int error = 0;
        socklen_t length = sizeof error;
        return getsockopt(native(fd), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) == 0
            && error == 0;
    }
}

// Starts a connection on a new socket; the descriptor when connected, else -1.
int openConnection(const sockaddr_in& peer, int timeoutMs)
{
    int fd = openSocket();
    if (fd < 0)
        return -1;
    bool ok = setBlocking(fd, false);
    if (ok && connect(native(fd), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
        ok = connectPending() && finishConnect(fd, timeoutMs);
    ok = ok && setBlocking(fd, true);
    if (!ok) {
        closeNative(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool startSockets()
{
    std::lock_guard<std::mutex> lock(sockets.guard);
    if (!sockets.started && !startSystem())
        return false;
    sockets.started = true;
    return true;
}

void stopSockets()
{
    std::lock_guard<std::mutex> lock(sockets.guard);
    for (int fd : sockets.open)
        closeNative(fd);
    sockets.open.clear();
    if (sockets.started)
        stopSystem();
    sockets.started = false;
}

int connectTcp(const std::string& address, int port, int timeoutMs)
{
    sockaddr_in peer = {};
    peer.sin_family = AF_INET;
    if (port < 1 || port > 65535 || inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1)
        return noSocket;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    // A negative time-out would make poll() wait forever.
    int fd = openConnection(peer, timeoutMs > 0 ? timeoutMs : 0);
    if (fd < 0)
        return noSocket;
    std::lock_guard<std::mutex> lock(sockets.guard);
    sockets.open.insert(fd);
    return fd;
}

bool sendAll(int socket, const void* data, size_t size)
{
    if (!isOpen(socket))
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        auto sent = sendSome(socket, bytes, size);
        if (sent < 0 && interrupted())
            continue;
        if (sent <= 0)
            return false;
        bytes += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

PollResult pollSocket(int socket)
{
    return waitSocket(socket, 0);
}

PollResult waitSocket(int socket, int timeoutMs)
{
    if (!isOpen(socket))
        return PollResult::Closed;
    short happened;
    int ready = waitFor(socket, POLLIN, timeoutMs > 0 ? timeoutMs : 0, happened);
    if (ready < 0)
        return interrupted() ? PollResult::Nothing : PollResult::Closed;
    if (ready == 0)
        return PollResult::Nothing;
    // Data that arrived before a close is still delivered: peek before hang-up.
    if (happened & POLLIN) {
        char byte;
        auto got = peekByte(socket, byte);
        if (got > 0)
            return PollResult::DataWaiting;
        if (got < 0 && (wouldBlock() || interrupted()))
            return PollResult::Nothing;
        return PollResult::Closed;
    }
    return PollResult::Closed;
}

int receive(int socket, void* buffer, size_t max)
{
    if (!isOpen(socket) || max == 0)
        return 0;
    if (max > INT_MAX)
        max = INT_MAX;
    for (;;) {
        auto got = receiveNow(socket, buffer, max);
        if (got < 0 && interrupted())
            continue;
        return got > 0 ? static_cast<int>(got) : 0;
    }
}

void closeSocket(int socket)
{
    std::lock_guard<std::mutex> lock(sockets.guard);
    if (sockets.open.erase(socket) != 0)
        closeNative(socket);
}

} // namespace platform
