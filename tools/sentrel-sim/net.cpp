#include "net.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sim::net {

#ifdef _WIN32

bool start()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) == 0)
        return true;
    std::fprintf(stderr, "sentrel-sim: Winsock does not start\n");
    return false;
}

Socket listener()
{
    return socket(AF_INET, SOCK_STREAM, 0);
}

Socket acceptFrom(Socket listener)
{
    Socket s = accept(listener, nullptr, nullptr);
    u_long on = 1;
    if (s != noSocket)
        ioctlsocket(s, FIONBIO, &on);
    return s;
}

void closeSocket(Socket s)
{
    closesocket(s);
}

int poll(PollEntry* entries, size_t count, int waitMs)
{
    return WSAPoll(entries, static_cast<ULONG>(count), waitMs);
}

long receive(Socket s, char* buffer, size_t size)
{
    return recv(s, buffer, static_cast<int>(size), 0);
}

long transmit(Socket s, const char* data, size_t size)
{
    return send(s, data, static_cast<int>(size), 0);
}

bool wouldBlock()
{
    int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK || error == WSAEINTR;
}

std::string lastError()
{
    return "Winsock error " + std::to_string(WSAGetLastError());
}

#else

bool start()
{
    return true;
}

Socket listener()
{
    return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

Socket acceptFrom(Socket listener)
{
    return accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}

void closeSocket(Socket s)
{
    close(s);
}

int poll(PollEntry* entries, size_t count, int waitMs)
{
    return ::poll(entries, count, waitMs);
}

long receive(Socket s, char* buffer, size_t size)
{
    return recv(s, buffer, size, MSG_DONTWAIT);
}

long transmit(Socket s, const char* data, size_t size)
{
    return send(s, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
}

bool wouldBlock()
{
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

std::string lastError()
{
    return std::strerror(errno);
}

#endif

} // namespace sim::net
