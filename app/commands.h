// commands.h: the shell's own commands and helpers shared by the others.
#pragma once

namespace app {

// File > Close: empties the store, refreshes, and titles the window "Brackwell".
void closeRecords();

// Shows the wait cursor over the program while a long operation runs (on), and
// the arrow again at its end (off).
void setBusyCursor(bool on);

// The enabling rule: the commands that need records are enabled exactly while
// the store holds records. The scroll bar follows its own rule (setupScrollBar).
void applyEnabling();

} // namespace app
