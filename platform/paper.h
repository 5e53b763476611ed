// paper.h: the paper size the user's system prints on, for documents the
// program makes itself (the PDF report).
#pragma once

namespace platform {

// True when the system's paper is US Letter, false for A4 (and when unknown).
// Linux: the LC_PAPER category of the environment's locale; Windows: the
// user's locale setting.
bool paperIsLetter();

} // namespace platform
