// socket.h: TCP client connections over IPv4.
//
// A connection is an integer handle; noSocket (-1) means none. Nothing here waits
// without a bound: connect gives up after its time-out, and pollSocket never waits.
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
// Receives up to `max` waiting bytes; returns how many (0 when none or closed).
int receive(int socket, void* buffer, size_t max);
void closeSocket(int socket);

} // namespace platform
