#include "device/device_window.h"

#include "app/ids.h"
#include "app/settings.h"
#include "assets/assets.h"
#include "platform/controls.h"
#include "platform/images.h"

namespace device {

void createPictureAndAddress()
{
    using namespace app;
    platform::createImageView(deviceWindow, pictureView, {0, 0, 400, 201});
    platform::setAccessibleName(pictureView, "Sentrel32 on the network");
    showDevicePicture();
    platform::createText(deviceWindow, addressLabel, "Sentrel32 IP Address: ", {0, 225, 200, 20}, platform::Align::Right);
    platform::createAddressField(deviceWindow, addressField, {200, 225, 100, 20});
    platform::alignTextWithField(addressLabel, addressField);
    platform::setAccessibleName(addressField, "Sentrel32 IP Address");
}

void showDevicePicture()
{
    assets::Blob picture = assets::deviceJpeg();
    platform::decodeJpeg(app::devicePicture, picture.data, picture.size);
    platform::setControlImage(app::pictureView, app::devicePicture);
}

void loadAddress()
{
    app::loadSettings(app::settingsFileName);
    platform::setAddress(app::addressField, app::settings().deviceAddress);
}

void takeAddress()
{
    app::settings().deviceAddress = platform::address(app::addressField);
}

} // namespace device
