// socket.cpp: TCP client connections on BSD sockets.
//
// connectTcp connects without blocking and waits with poll() for at most its
// time-out, then puts the socket back into blocking mode for sendAll. Reading
// never blocks: pollSocket peeks, receive uses MSG_DONTWAIT.
//
// Every handle this module opened is kept in a set. Calls with any other handle
// fail as on a closed connection, so a stale handle (closed twice, or used after
// stopSockets) can never touch a descriptor that now belongs to something else.
//
// The calls are POSIX. For Windows only the start and stop of Winsock are
// written; the rest (closesocket, ioctlsocket, WSAPoll) would still have to be.
#include "platform/socket.h"

#ifdef _WIN32
#include <winsock2.h>
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
#include <set>

namespace platform {

namespace {

struct SocketState {
    bool started;
    std::set<int> open;
};

SocketState sockets;

bool isOpen(int socket)
{
    return sockets.open.count(socket) != 0;
}

bool setBlocking(int fd, bool blocking)
{
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return false;
    flags = blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK;
    return fcntl(fd, F_SETFL, flags) == 0;
}

// Waits until a connect in progress finishes or timeoutMs have passed; true
// when the connection was made.
bool finishConnect(int fd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry = {fd, POLLOUT, 0};
        int ready = poll(&entry, 1, static_cast<int>(left.count() > 0 ? left.count() : 0));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        int error = 0;
        socklen_t length = sizeof error;
        return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
}

// Starts a connection on a new socket; the descriptor when connected, else -1.
int openConnection(const sockaddr_in& peer, int timeoutMs)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    bool ok = setBlocking(fd, false);
    if (ok && connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
        ok = errno == EINPROGRESS && finishConnect(fd, timeoutMs);
    ok = ok && setBlocking(fd, true);
    if (!ok) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool startSockets()
{
#ifdef _WIN32
    if (!sockets.started) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return false;
    }
#endif
    sockets.started = true;
    return true;
}

void stopSockets()
{
    for (int fd : sockets.open)
        close(fd);
    sockets.open.clear();
#ifdef _WIN32
    if (sockets.started)
        WSACleanup();
#endif
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
    sockets.open.insert(fd);
    return fd;
}

bool sendAll(int socket, const void* data, size_t size)
{
    if (!isOpen(socket))
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        // MSG_NOSIGNAL: a peer that has gone must fail the call, not kill the program.
        ssize_t sent = send(socket, bytes, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
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
    if (!isOpen(socket))
        return PollResult::Closed;
    pollfd entry = {socket, POLLIN, 0};
    int ready = poll(&entry, 1, 0);
    if (ready < 0)
        return errno == EINTR ? PollResult::Nothing : PollResult::Closed;
    if (ready == 0)
        return PollResult::Nothing;
    // Data that arrived before a close is still delivered: peek before hang-up.
    if (entry.revents & POLLIN) {
        char byte;
        ssize_t got = recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (got > 0)
            return PollResult::DataWaiting;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
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
        ssize_t got = recv(socket, buffer, max, MSG_DONTWAIT);
        if (got < 0 && errno == EINTR)
            continue;
        return got > 0 ? static_cast<int>(got) : 0;
    }
}

void closeSocket(int socket)
{
    if (sockets.open.erase(socket) != 0)
        close(socket);
}

} // namespace platform
