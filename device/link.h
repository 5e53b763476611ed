// link.h: the one TCP connection to the logger, and the routine that receives its
// replies.
//
// The connection goes to port 80 of the address connectDevice is given. It is left open
// after each command and closed only when the next Download or Monitor start
// connects again (or when the platform layer shuts down).
//
// Use: connectDevice, then per exchange sendCommand, receiveReply for the size the
// reply should have, and copyReplyBlock to take it from receiveBuffer block by
// block into replyBytes for decoding (protocol.h).
//
// receiveReply polls every 50 ms and takes at most 1,000 bytes per poll, so a full
// dump (99,999 samples, 299,997 bytes) takes about 15 s. It gives up after 2 s
// without a byte, counted afresh after each chunk. It never stores more than it
// was asked for: bytes beyond that are read and dropped, so the buffer cannot
// overflow. A connection closed by the logger ends the receive at once and sets
// closedByDevice; the caller tells the user. Progress goes to the caller too,
// through a callback: nothing here shows anything. Sending on a closed connection
// never ends the program; it shows up as a closed connection at the next receive.
#pragma once

#include "platform/socket.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace device {

// Room for the largest dump, 99,999 samples of 3 bytes.
constexpr int32_t receiveBufferSize = 300000;
constexpr int devicePort = 80;
constexpr int connectTimeoutMs = 10000;

struct LinkState {
    // The open connection, or platform::noSocket.
    int deviceConnection = platform::noSocket;
    // Every reply is stored here from its first byte on; allocated once, zero-filled.
    std::vector<unsigned char> receiveBuffer;
    // Offset in receiveBuffer of the next block copyReplyBlock takes.
    int32_t receiveReadPos = 0;
    // Bytes stored by the last receive.
    int32_t receivedBytes = 0;
    // The last receive ended because the logger had closed the connection.
    bool closedByDevice = false;
    // The block being decoded: a query reply, or one sample at its start.
    unsigned char replyBytes[65] = {};
};

LinkState& linkState();

// Start-up: no connection, and receiveBuffer allocated (once) and zero-filled.
void startLink();

// Closes the connection left open by an earlier command, then connects to port 80
// of `address` (first octet in the low byte), giving up after 10 s. False when it
// could not connect; there is no connection then.
bool connectDevice(uint32_t address);

// Sends the 64-byte request for `command` on the connection, in one send.
void sendCommand(const std::string& command);

// Told the percentage of a reply received so far, 0 to 100.
using Progress = std::function<void(int percent)>;

// Receives up to `expected` bytes into receiveBuffer from its start, telling
// `progress` (when given) the percentage every 11th poll. Returns the number
// stored (also in receivedBytes); 0 at once for `expected` <= 0.
int32_t receiveReply(int32_t expected, const Progress& progress = {});

// Copies `size` bytes (64 or 3) from receiveBuffer at receiveReadPos to the start
// of replyBytes and advances receiveReadPos; copies nothing past the buffer's end.
void copyReplyBlock(int size);

} // namespace device
