// device_window.h: the parts the Download and Monitor windows share.
//
// Both windows are deviceWindow (never open together) and show the logger's
// picture on top, with the address label and address field below it.
#pragma once

namespace device {

// Creates pictureView, addressLabel and addressField in deviceWindow.
void createPictureAndAddress();

// Decodes the logger's picture afresh into devicePicture and shows it in pictureView.
void showDevicePicture();

// Reloads the settings file and shows the address in addressField.
void loadAddress();

// Takes addressField's address into settings().deviceAddress.
void takeAddress();

} // namespace device
