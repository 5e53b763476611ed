// The test seam on Qt: acting as the user, and readers. The script, answers and
// records are the shared ones of platform/seam.cpp.
#include "platform/testing.h"

#include "platform/controls.h"
#include "platform/images.h"
#include "platform/qt/qt_internal.h"
#include "platform/seam.h"
#include "platform/window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTreeWidget>
#include <QWheelEvent>

namespace platform::testing {

namespace {

QString toQt(const std::string& text)
{
    return qt::fromCp1252(text);
}

} // namespace

// ----- Acting as the user -----

void click(int control)
{
    QWidget* widget = qt::controlWidget(control);
    if (!widget || !widget->isEnabled())
        return;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->click();
    else if (qobject_cast<QLabel*>(widget))
        qt::pushEvent({EventKind::Control, qt::windowOfWidget(widget), control});
}

void chooseMenu(int item)
{
    qt::triggerMenuItem(item);
}

void requestClose(int window)
{
    if (QWidget* frame = qt::frameOf(window))
        frame->close();
}

void moveTrackBar(int control, int position)
{
    auto* slider = qobject_cast<QSlider*>(qt::controlWidget(control));
    if (!slider || !slider->isEnabled())
        return;
    // As the mouse does it: press the handle, move it, let go.
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

namespace {

Qt::Key qtKey(Key key)
{
    switch (key) {
    case Key::Left: return Qt::Key_Left;
    case Key::Right: return Qt::Key_Right;
    case Key::Home: return Qt::Key_Home;
    case Key::End: return Qt::Key_End;
    case Key::PageUp: return Qt::Key_PageUp;
    case Key::PageDown: return Qt::Key_PageDown;
    case Key::Enter: return Qt::Key_Return;
    case Key::Escape: return Qt::Key_Escape;
    case Key::Plus: return Qt::Key_Plus;
    case Key::Minus: return Qt::Key_Minus;
    case Key::F4: return Qt::Key_F4;
    }
    return Qt::Key_unknown;
}

// The key a character is typed with: its own code for printable ASCII (the
// blank is the space bar), none for the rest.
Qt::Key keyOfCharacter(char c)
{
    if (c < ' ' || c > '~')
        return Qt::Key_unknown;
    return static_cast<Qt::Key>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// Presses and releases a key on `widget`, focused first as the user's key
// would find it; while a popup is open (a drop-down's list) the key goes to
// the popup, as the window system sends it.
void sendKeyTo(QWidget* widget, Qt::Key key, const QString& text = QString())
{
    QWidget* target = widget;
    if (QWidget* popup = QApplication::activePopupWidget())
        target = popup->focusWidget() ? popup->focusWidget() : popup;
    else
        widget->setFocus(Qt::OtherFocusReason);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

} // namespace

void sendKey(int control, Key key)
{
    if (QWidget* widget = qt::controlWidget(control))
        sendKeyTo(widget, qtKey(key));
}

namespace {

// Puts the scripted mouse where a pointer event at `local` of `widget` happens.
void moveMouseTo(QWidget* widget, QPoint local)
{
    int window = qt::windowOfWidget(widget);
    QWidget* client = qt::clientOf(window);
    if (!client)
        return;
    QPoint p = widget->mapTo(client, local);
    seam::setScriptedMouse(window, {p.x(), p.y()});
}

} // namespace

void sendWheel(int control, int x, int y, int delta, unsigned modifiers, WheelAxis axis)
{
    QWidget* widget = qt::controlWidget(control);
    if (!widget)
        return;
    moveMouseTo(widget, {x, y});
    QPointF local(x, y);
    QPoint angle = axis == WheelVertical ? QPoint(0, delta) : QPoint(delta, 0);
    Qt::KeyboardModifiers held;
    if (modifiers & ModifierShift)
        held |= Qt::ShiftModifier;
    if (modifiers & ModifierControl)
        held |= Qt::ControlModifier;
    QWheelEvent wheel(local, widget->mapToGlobal(local), QPoint(), angle, Qt::NoButton, held, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &wheel);
}

void sendMouse(int control, MouseStep step, int x, int y)
{
    QWidget* widget = qt::controlWidget(control);
    if (!widget)
        return;
    moveMouseTo(widget, {x, y});
    QPointF local(x, y);
    QPointF global = widget->mapToGlobal(local);
    QEvent::Type type = step == MouseStep::Press ? QEvent::MouseButtonPress
        : step == MouseStep::Move                ? QEvent::MouseMove
                                                 : QEvent::MouseButtonRelease;
    Qt::MouseButton button = step == MouseStep::Move ? Qt::NoButton : Qt::LeftButton;
    Qt::MouseButtons held = step == MouseStep::Release ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void pumpFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

unsigned long long nativeWindowId(int window)
{
    QWidget* frame = qt::frameOf(window);
    return frame ? static_cast<unsigned long long>(frame->winId()) : 0;
}

void typeText(int control, const std::string& text)
{
    if (QWidget* widget = qt::controlWidget(control))
        for (char c : text)
            sendKeyTo(widget, keyOfCharacter(c), toQt(std::string(1, c)));
}

void retypeText(int control, const std::string& text)
{
    if (auto* field = qobject_cast<QLineEdit*>(qt::controlWidget(control)))
        field->selectAll();
    typeText(control, text);
}

int focusedControl()
{
    return qt::controlOfWidget(QApplication::focusWidget());
}

bool focusShown()
{
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

int openDropDownRows(int control)
{
    auto* box = qobject_cast<QComboBox*>(qt::controlWidget(control));
    if (!box)
        return 0;
    box->showPopup();
    QAbstractItemView* view = box->view();
    int row = view->sizeHintForRow(0);
    int rows = row > 0 ? view->viewport()->height() / row : 0;
    box->hidePopup();
    return rows;
}

void setValueAccessibly(int control, int value)
{
    QWidget* widget = qt::controlWidget(control);
    QAccessibleInterface* accessible = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    if (QAccessibleValueInterface* values = accessible ? accessible->valueInterface() : nullptr)
        values->setCurrentValue(value);
}

OpenList openList(int control)
{
    auto* box = qobject_cast<QComboBox*>(qt::controlWidget(control));
    if (!box || !box->view()->isVisible())
        return {-1, -1, -1};
    QAbstractItemView* view = box->view();
    QRect shown = view->viewport()->rect();
    QModelIndex top = view->indexAt(shown.topLeft());
    QModelIndex bottom = view->indexAt(QPoint(0, shown.bottom()));
    int last = bottom.isValid() ? bottom.row() : box->count() - 1;
    return {view->currentIndex().row(), top.row(), last};
}

void dragScrollBar(int control, int position)
{
    auto* bar = qobject_cast<QScrollBar*>(qt::controlWidget(control));
    if (bar && bar->isEnabled())
        bar->setValue(position);
}

void typeAddress(int control, const std::string& text)
{
    auto* edit = qobject_cast<QLineEdit*>(qt::controlWidget(control));
    if (!edit || !edit->isEnabled() || edit->isHidden())
        return;
    edit->setText(toQt(text));
    emit edit->textEdited(edit->text());
}

void chooseDropDownEntry(int control, int index)
{
    auto* box = qobject_cast<QComboBox*>(qt::controlWidget(control));
    if (!box || !box->isEnabled())
        return;
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void resizeWindow(int window, Size client)
{
    qt::resizeClient(window, client);
}

void setMousePosition(int window, int x, int y)
{
    seam::setScriptedMouse(window, {x, y});
    qt::wake();
}

// ----- Readers -----

std::vector<std::string> listRows(int control)
{
    std::vector<std::string> rows;
    auto* list = qobject_cast<QTreeWidget*>(qt::controlWidget(control));
    if (!list)
        return rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < item->columnCount(); ++c)
            cells << item->text(c);
        rows.push_back(qt::toCp1252(cells.join(QLatin1Char('\n'))));
    }
    return rows;
}

std::vector<std::string> listColumnTitles(int control)
{
    std::vector<std::string> titles;
    auto* list = qobject_cast<QTreeWidget*>(qt::controlWidget(control));
    if (!list)
        return titles;
    for (int c = 0; c < list->columnCount(); ++c)
        titles.push_back(qt::toCp1252(list->headerItem()->text(c)));
    return titles;
}

std::vector<std::string> dropDownEntries(int control)
{
    std::vector<std::string> entries;
    auto* box = qobject_cast<QComboBox*>(qt::controlWidget(control));
    if (!box)
        return entries;
    for (int i = 0; i < box->count(); ++i)
        entries.push_back(qt::toCp1252(box->itemText(i)));
    return entries;
}

std::string statusText(int statusBar, int field)
{
    return qt::statusFieldText(statusBar, field);
}

int statusProgress(int statusBar, int field)
{
    return qt::statusFieldProgress(statusBar, field);
}

ScrollInfo scrollInfo(int control)
{
    qt::ScrollSettings s = qt::scrollSettings(control);
    return {s.minimum, s.maximum, s.page, s.position};
}

std::string accessibleName(int control)
{
    QWidget* widget = qt::controlWidget(control);
    return widget ? qt::toCp1252(widget->accessibleName()) : std::string();
}

std::string windowAccessibleName(int window)
{
    QWidget* frame = qt::frameOf(window);
    return frame ? qt::toCp1252(frame->accessibleName()) : std::string();
}

bool windowVisible(int window)
{
    QWidget* frame = qt::frameOf(window);
    return frame && frame->isVisible();
}

bool windowEnabled(int window)
{
    QWidget* frame = qt::frameOf(window);
    return frame && frame->isEnabled();
}

bool waitCursorShown()
{
    return qt::waitCursorShown();
}

bool hasIcon(int window)
{
    QWidget* frame = qt::frameOf(window);
    return frame && !frame->windowIcon().isNull();
}

bool saveImagePng(int image, const std::string& path)
{
    QImage* picture = qt::imageOf(image);
    return picture && picture->save(qt::fromPath(path), "PNG");
}

bool loadImagePng(int image, const std::string& path)
{
    QImage picture;
    freeImage(image);
    if (!picture.load(qt::fromPath(path), "PNG"))
        return false;
    createImage(image, picture.width(), picture.height());
    QImage* target = qt::imageOf(image);
    *target = picture.convertToFormat(target->format());
    return true;
}

bool saveWindowPng(int window, const std::string& path)
{
    QWidget* frame = qt::frameOf(window);
    return frame && frame->grab().save(qt::fromPath(path), "PNG");
}

void grabClient(int window, int image)
{
    QWidget* client = qt::clientOf(window);
    if (!client)
        return;
    freeImage(image);
    createImage(image, client->width(), client->height());
    if (QImage* target = qt::imageOf(image))
        *target = client->grab().toImage().convertToFormat(target->format());
}

Rect statusFieldRect(int statusBar, int field)
{
    return qt::statusFieldRect(statusBar, field);
}

} // namespace platform::testing

namespace platform::qt {

void beep()
{
    if (testing::active())
        seam::countBeep();
    else
        QApplication::beep();
}

} // namespace platform::qt
