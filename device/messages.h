// messages.h: every message box of the device link, with its exact words.
//
// The Download and Monitor windows and the receive routine report failures as
// values of LinkFailure; this is the one place that turns them into text. Each
// message switches the wait cursor off first, so no box shows over a busy cursor.
#pragma once

#include <cstdint>

namespace device {

enum class LinkFailure {
    CannotStartSockets,   // "Error" / "Can't initialize TCP/IP", error icon
    CannotConnect,        // "Error" / "Can't connect to " + address, error icon
    Busy,                 // "Busy" / "Sentrel32 connected but now is busy...", warning icon
    NoDevice,             // "Error" / "No Sentrel32connected at " + address, error icon
    IncompleteDump,       // "Error" / "Incomplete download from " + address, error icon
    ConnectionClosed,     // "Network Error" / "Sentrel32 has closed the connection...", no icon
};

// Shows the message box for `failure`; `address` is the logger's address (first
// octet in the low byte) for the texts that name it.
void reportFailure(LinkFailure failure, uint32_t address);

} // namespace device
