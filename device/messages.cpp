#include "device/messages.h"

#include "app/commands.h"
#include "app/settings.h"
#include "platform/dialogs.h"

namespace device {

namespace {

struct Box {
    const char* title;
    platform::MessageIcon icon;
};

Box boxOf(LinkFailure failure)
{
    using platform::MessageIcon;
    switch (failure) {
    case LinkFailure::Busy: return {"Busy", MessageIcon::Warning};
    case LinkFailure::ConnectionClosed: return {"Network Error", MessageIcon::None};
    default: return {"Error", MessageIcon::Error};
    }
}

} // namespace

std::string failureText(LinkFailure failure, uint32_t address)
{
    const std::string where = app::addressText(address);
    switch (failure) {
    case LinkFailure::CannotStartSockets: return "Can't initialize TCP/IP";
    case LinkFailure::CannotConnect: return "Can't connect to " + where;
    case LinkFailure::Busy: return "Sentrel32 connected but now is busy...\n\nPlease wait a moment then retry.";
    // Exactly this text, with no blank before "connected".
    case LinkFailure::NoDevice: return "No Sentrel32connected at " + where;
    case LinkFailure::IncompleteDump: return "Incomplete download from " + where;
    case LinkFailure::ConnectionClosed: return "Sentrel32 has closed the connection...";
    }
    return "";
}

void reportFailure(LinkFailure failure, uint32_t address)
{
    app::setBusyCursor(false);
    const Box box = boxOf(failure);
    platform::messageBox(box.title, failureText(failure, address), box.icon);
}

} // namespace device
