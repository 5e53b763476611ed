// socket.h: TCP client connections over IPv4.
//
// A connection is an integer handle; noSocket (-1) means none. Nothing here waits
// without a bound: connect gives up after its time-out, pollSocket never waits and
// waitSocket waits at most its time-out. Every call may come from any thread, as
// long as one connection is used by one thread at a time.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

constexpr int noSocket = -1;

// Starts the sockets layer; false when it cannot start. Safe to call again.
bool startSockets();
// Closes every open connection and stops the layer.
void stopSockets();

// Connects to a dotted IPv4 address ("127.0.0.1") and port, giving up after
// timeoutMs milliseconds. Returns the handle, or noSocket on any failure.
int connectTcp(const std::string& address, int port, int timeoutMs);
// Sends all `size` bytes; false if the connection failed.
bool sendAll(int socket, const void* data, size_t size);

enum class PollResult { Nothing, DataWaiting, Closed };
// Tells without waiting whether data is waiting or the peer has closed.
PollResult pollSocket(int socket);
// The same, but waits up to timeoutMs milliseconds for data or a close.
PollResult waitSocket(int socket, int timeoutMs);
// Receives up to `max` waiting bytes; returns how many (0 when none or closed).
int receive(int socket, void* buffer, size_t max);
void closeSocket(int socket);

} // namespace platform
