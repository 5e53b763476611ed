#include "device/messages.h"

#include "app/commands.h"
#include "app/settings.h"
#include "platform/dialogs.h"

#include <string>

namespace device {

void reportFailure(LinkFailure failure, uint32_t address)
{
    using platform::MessageIcon;
    const std::string where = app::addressText(address);
    app::setBusyCursor(false);
    switch (failure) {
    case LinkFailure::CannotStartSockets:
        platform::messageBox("Error", "Can't initialize TCP/IP", MessageIcon::Error);
        break;
    case LinkFailure::CannotConnect:
        platform::messageBox("Error", "Can't connect to " + where, MessageIcon::Error);
        break;
    case LinkFailure::Busy:
        platform::messageBox("Busy", "Sentrel32 connected but now is busy...\n\nPlease wait a moment then retry.",
                             MessageIcon::Warning);
        break;
    case LinkFailure::NoDevice:
        // Exactly this text, with no blank before "connected".
        platform::messageBox("Error", "No Sentrel32connected at " + where, MessageIcon::Error);
        break;
    case LinkFailure::IncompleteDump:
        platform::messageBox("Error", "Incomplete download from " + where, MessageIcon::Error);
        break;
    case LinkFailure::ConnectionClosed:
        platform::messageBox("Network Error", "Sentrel32 has closed the connection...", MessageIcon::None);
        break;
    }
}

} // namespace device
