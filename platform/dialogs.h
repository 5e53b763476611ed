// dialogs.h: the modal system dialogs and message boxes.
//
// Each function opens its dialog over the active window and returns when the user
// has answered. Under platform::testing none of them opens: each takes the next
// scripted answer (testing.h), and message boxes are recorded.
//
// Pattern lists are written "Name (*.ext)|*.ext|All files (*.*)|*.*"; the first
// entry is selected when the dialog opens. A proposed path is split at its last
// "\" or "/" into the starting folder and the file name.
#pragma once

#include "platform/platform.h"

#include <optional>
#include <string>

namespace platform {

struct FileChoice {
    std::string path;   // empty when the user cancelled
    int pattern;        // index of the pattern entry selected at the end
};

FileChoice openFileDialog(const std::string& title, const std::string& proposedPath, const std::string& patterns);
// No overwrite prompt and no extension added to a name typed without one.
FileChoice saveFileDialog(const std::string& title, const std::string& proposedPath, const std::string& patterns);

// Colour chooser preset to `preset`; no value when cancelled.
std::optional<Color> chooseColor(Color preset);

enum class MessageIcon { None, Error, Warning };
// A message box with an OK button.
void messageBox(const std::string& title, const std::string& text, MessageIcon icon);

// The system's alert sound, once.
void beep();

// Opens a web address in the default browser; failures are not reported.
void openWebAddress(const std::string& url);

} // namespace platform
