// qt_internal.h: state shared by the qt_*.cpp files of the platform layer.
// Never included outside platform/.
#pragma once

#include "platform/events.h"
#include "platform/platform.h"
#include "platform/window.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <string>

namespace platform::qt {

// ----- Text (qt_text.cpp) -----
QString fromCp1252(const std::string& text);
std::string toCp1252(const QString& text);
// "\r\n" and "\n" both become one line break.
QString multiLine(const std::string& text);
// File paths: the operating system's bytes.
QString fromPath(const std::string& path);
std::string toPath(const QString& path);

// ----- Windows (qt_window.cpp) -----
// The widget holding the client area of `window`, or nullptr.
QWidget* clientOf(int window);
QWidget* frameOf(int window);
// The window id whose client or frame contains `widget`, or -1.
int windowOfWidget(const QWidget* widget);
// Keeps every owner from taking input while a window it owns is open. Install
// it after every other filter: the last one installed sees events first.
void guardOwners();
// Turns the input of the control watchPointer names into events (qt_input.cpp).
void installInputWatcher();
// The innermost open window (the most recently opened one still open), or -1.
int innermostWindow();
// The widget dialogs should be modal to.
QWidget* dialogParent();
void closeAllWindows();
std::string statusFieldText(int id, int field);
int statusFieldProgress(int id, int field);   // -1 when no bar shows
Rect statusFieldRect(int id, int field);      // in client coordinates
bool waitCursorShown();
void triggerMenuItem(int item);      // as if chosen; nothing while disabled
void resizeClient(int window, Size client);

// ----- Controls (qt_controls.cpp) -----
QWidget* controlWidget(int id);
// The control id of `widget`, or -1 when it is none of the program's controls.
int controlOfWidget(const QWidget* widget);
// Beeps, or counts the beep in test mode.
void beep();
void forgetControlsOf(int window);
void forgetAllControls();
void runScrollHook(int window, int scrollBar);
// A scroll bar's range as the program set it, and its position.
struct ScrollSettings {
    int minimum, maximum, page, position;
};
ScrollSettings scrollSettings(int id);

// ----- Images (qt_image.cpp) -----
QImage* imageOf(int id);
void forgetAllImages();

// ----- Events (qt_app.cpp) -----
void pushEvent(Event event);
// Wakes a waiting loop without an event (mouse moves).
void wake();

} // namespace platform::qt
