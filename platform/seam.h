// seam.h: the toolkit-free half of the test seam, shared by both backends: the
// script of steps, the scripted dialog answers, the records and the scripted
// mouse. Each backend keeps only what touches its toolkit. Never included
// outside platform/.
#pragma once

#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/window.h"

#include <optional>
#include <string>

namespace platform::seam {

// Test scripts: runScriptStep delivers the next step, onto the event queue
// (platform/queue.h) when it is an event; scriptExhausted reports a loop that
// waits after the script has ended and asks `innermostWindow` (when >= 0) to
// close, so no test hangs.
void runScriptStep();
bool scriptEmpty();
void scriptExhausted(int innermostWindow);

// A path cut after its last "\" or "/": the folder keeps the separator.
struct SplitPath {
    std::string folder;
    std::string fileName;
};
SplitPath splitPath(const std::string& path);

// Scripted dialog answers; a dialog without its answer is a test failure.
FileChoice scriptedFileChoice(const char* kind, const std::string& title, const SplitPath& proposal,
                              const std::string& patterns);
std::optional<Color> scriptedColor();
// The file to print to, or nothing when the dialog is cancelled.
std::optional<std::string> scriptedPrint();

// Records for the tests.
void recordMessage(const std::string& title, const std::string& text, MessageIcon icon);
void recordWebAddress(const std::string& url);
void countBeep();

// The mouse position a test set for `window`, {-1, -1} when none.
void setScriptedMouse(int window, Point p);
Point scriptedMouse(int window);

} // namespace platform::seam
