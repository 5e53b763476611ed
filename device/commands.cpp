#include "device/commands.h"

namespace device {

void downloadRecords() {}
void monitorDevice() {}

} // namespace device
