// messages.h: every failure of the device link, with its exact words.
//
// The download and the monitor report failures as values of LinkFailure; this is
// the one place that turns them into text. The windows show the text in a message
// box (reportFailure), the command line prints it (failureText). Each message box
// switches the wait cursor off first, so no box shows over a busy cursor.
#pragma once

#include <cstdint>
#include <string>

namespace device {

enum class LinkFailure {
    CannotStartSockets,   // "Error" / "Can't initialize TCP/IP", error icon
    CannotConnect,        // "Error" / "Can't connect to " + address, error icon
    Busy,                 // "Busy" / "Sentrel32 connected but now is busy...", warning icon
    NoDevice,             // "Error" / "No Sentrel32connected at " + address, error icon
    IncompleteDump,       // "Error" / "Incomplete download from " + address, error icon
    ConnectionClosed,     // "Network Error" / "Sentrel32 has closed the connection...", no icon
};

// The text of `failure`; `address` is the logger's address (first octet in the
// low byte) for the texts that name it.
std::string failureText(LinkFailure failure, uint32_t address);

// Shows the message box for `failure`: its title, failureText and its icon.
void reportFailure(LinkFailure failure, uint32_t address);

} // namespace device
