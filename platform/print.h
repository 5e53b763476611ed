// print.h: printing one page of images.
//
// printDialog lets the user choose and set up a printer. A job then runs
// startPrintJob, any number of drawPrintImage calls, and endPrintJob, which ends
// the page and the document. Sizes and positions are printer device pixels.
#pragma once

#include "platform/platform.h"

#include <string>

namespace platform {

// True when the user confirmed the dialog.
bool printDialog();
// Starts a document named `jobName` and its first page; false if it cannot.
bool startPrintJob(const std::string& jobName);
// Printable width and height of the page in device pixels.
Size printPageSize();
// Draws `image` (images.h) stretched to width x height with its top-left at (x, y).
void drawPrintImage(int image, int x, int y, int width, int height);
void endPrintJob();

} // namespace platform
