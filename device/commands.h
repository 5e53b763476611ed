// commands.h: the File menu's "Download Records" and "Monitor".
#pragma once

namespace device {

// Opens the Download window; its button queries and dumps the device and loads
// the samples into the record store.
void downloadRecords();

// Opens the Monitor window; its button shows the device's current readings live
// until stopped.
void monitorDevice();

} // namespace device
