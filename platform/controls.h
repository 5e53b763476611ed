// controls.h: controls by identifier.
//
// A control id names one control at a time, whatever window it is in; creating
// an id that exists replaces the old control. Controls are created visible and
// enabled at client coordinates of their window. User actions on a control reach
// the event queue as control events (events.h); setting a value from the program
// raises no event, except scroll bars, whose hook sees every change of position.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class Align { Left, Right, Center };

// A frame with a caption (may be empty) that groups other controls.
void createFrame(int window, int id, const std::string& caption, Rect r);
// Static text; "\r\n" or "\n" break lines.
void createText(int window, int id, const std::string& text, Rect r, Align align);
void createButton(int window, int id, const std::string& text, Rect r);
// A push button that shows an image (images.h) instead of a text.
void createImageButton(int window, int id, int image, Rect r);
// Option (radio) buttons: options with the same `group` number exclude each other.
void createOption(int window, int id, const std::string& text, Rect r, int group);
void setOptionChecked(int id, bool checked);
bool optionChecked(int id);
// A check box with its caption to the right; each click by the user toggles it
// and raises a control event.
void createCheckBox(int window, int id, const std::string& text, Rect r);
void setCheckBoxChecked(int id, bool checked);
bool checkBoxChecked(int id);

// Track bar with tick marks.
void createTrackBar(int window, int id, Rect r, int minimum, int maximum);
void setTrackBarPosition(int id, int position);
int trackBarPosition(int id);

// Horizontal scroll bar with the position limited to
// minimum .. maximum - page + 1 (never below minimum). Arrow = 1, trough = page,
// dragging the thumb moves the position continuously.
void createScrollBar(int window, int id, Rect r);
void setScrollRange(int id, int minimum, int maximum, int page);
void setScrollPosition(int id, int position);
int scrollPosition(int id);
// Called on every change of a scroll bar's position, dragging and programmatic
// changes included, with the window and the scroll bar's id. One hook at a time;
// nullptr removes it.
using ScrollHook = void (*)(int window, int scrollBar);
void setScrollHook(ScrollHook hook);

// Image display: takes the size of the image put on it.
void createImageView(int window, int id, Rect r);
// Shows `image` (images.h) on an image display or an image button.
void setControlImage(int id, int image);

// Report-view list: single selection, selection always shown.
void createReportList(int window, int id, Rect r);
void setListColumns(int id, const std::vector<std::string>& titles, const std::vector<int>& widths);
// `cells` holds the row's cells separated by line feeds, column 0 first.
void insertListRow(int id, int position, const std::string& cells);
void clearList(int id);

// Drop-down list without typing. Its `count` entries are set in one operation;
// `entryText(i)` gives the text of entry i whenever the list shows it, so a list
// of a million entries costs neither the time nor the memory to build them all.
// Its text is never edited; keys typed into it, closed or open, select the first
// entry that begins with everything typed since the last pause of a second
// (the selected entry stays while it begins with it), a control event.
void createDropDown(int window, int id, Rect r);
void setDropDownEntries(int id, int count, std::function<std::string(int index)> entryText);
void selectDropDownEntry(int id, int index);
int selectedDropDownEntry(int id);   // -1 when none

// IPv4 address field: first octet in the low byte. Each edit raises a control event.
void createAddressField(int window, int id, Rect r);
// Moves the text of `label` down to stand on the baseline of the text in the
// edit field beside it.
void alignTextWithField(int label, int field);
void setAddress(int id, uint32_t address);
uint32_t address(int id);

// A number field: a one-line edit field, text right-aligned, for a number with
// at most one decimal ("-12.5"). It takes only a leading minus, up to five digits,
// one decimal point and one digit after it, and beeps at any other key; a comma
// typed becomes the point. What it holds (possibly empty or unfinished, "-") is
// read and set with text() and setText(); edits raise no event.
void createNumberField(int window, int id, Rect r);

// Hyperlink text: underlined, black, red while the mouse is over it, hand cursor;
// a click is a control event.
void createHyperlink(int window, int id, const std::string& text, Rect r);

void setText(int id, const std::string& text);
std::string text(int id);
void enableControl(int id, bool enabled);
bool controlEnabled(int id);
void showControl(int id, bool visible);
bool controlVisible(int id);
void moveControl(int id, Rect r);
Rect controlRect(int id);
bool controlExists(int id);
// The name screen readers announce for a control that has no caption of its own.
void setAccessibleName(int id, const std::string& name);

} // namespace platform
