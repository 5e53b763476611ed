// net.h: the socket headers and the few calls of sentrel-sim that differ between
// POSIX sockets and Winsock. Sockets are non-blocking once accepted.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <string>

namespace sim::net {

#ifdef _WIN32
using Socket = SOCKET;
using PollEntry = WSAPOLLFD;
constexpr Socket noSocket = INVALID_SOCKET;
#else
using Socket = int;
using PollEntry = pollfd;
constexpr Socket noSocket = -1;
#endif

// Readies the socket library; false (said on standard error) when it cannot.
bool start();
Socket listener();
// The next waiting connection, non-blocking, or noSocket.
Socket acceptFrom(Socket listener);
void closeSocket(Socket s);
int poll(PollEntry* entries, size_t count, int waitMs);
// recv and send without blocking or signals: bytes moved, or -1.
long receive(Socket s, char* buffer, size_t size);
long transmit(Socket s, const char* data, size_t size);
// True when the last call failed only for want of data or room, or an interrupt.
bool wouldBlock();
std::string lastError();

} // namespace sim::net
