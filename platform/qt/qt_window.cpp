// Top-level windows, their menu bars and status bars, and the cursors.
//
// A window is a frame widget holding an optional menu bar above a client widget.
// Controls are children of the client at client coordinates; a status bar is a
// child of the client kept at its bottom edge, as on Windows.
#include "platform/controls.h"
#include "platform/qt/qt_internal.h"
#include "platform/seam.h"
#include "platform/testing.h"
#include "platform/window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QWindow>
#include <QVBoxLayout>

#include <map>
#include <vector>

namespace platform {

namespace {

// The frame turns the close box into a close request; closing is the program's
// decision.
class WindowFrame : public QWidget {
public:
    WindowFrame(int id, QWidget* owner, Qt::WindowFlags flags) : QWidget(owner, flags), id(id) {}

    // The button Enter presses; -1 where Enter and Escape mean nothing.
    int defaultButton = -1;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        qt::pushEvent({EventKind::CloseRequest, id, 0});
    }

    // Keys that no control took come here.
    void keyPressEvent(QKeyEvent* event) override
    {
        if (defaultButton < 0) {
            QWidget::keyPressEvent(event);
            return;
        }
        switch (event->key()) {
        case Qt::Key_Escape: qt::pushEvent({EventKind::CloseRequest, id, 0}); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: qt::pushEvent({EventKind::Control, id, pressedByEnter()}); break;
        default: QWidget::keyPressEvent(event); return;
        }
        event->accept();
    }

private:
    // As on Windows: the push button with the focus, else the default button.
    int pressedByEnter() const
    {
        QWidget* focus = QApplication::focusWidget();
        if (qobject_cast<QPushButton*>(focus) && focus->window() == this) {
            int control = qt::controlOfWidget(focus);
            if (control >= 0)
                return control;
        }
        return defaultButton;
    }

    int id;
};

// The client keeps its status bar at the bottom edge.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;
    QPointer<QWidget> statusBar;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (statusBar)
            statusBar->setGeometry(0, height() - statusBar->height(), width(), statusBar->height());
    }
};

struct WindowRecord {
    QPointer<WindowFrame> frame;
    ClientArea* client;
    QMenuBar* menuBar;
    int owner;
    int order;              // opening order: the highest is the innermost window
    Qt::WindowStates hiddenState;
    bool fixedSize;
};

struct StatusField {
    QLabel* label;
    QProgressBar* progress;
};

struct StatusBarRecord {
    QPointer<QFrame> bar;
    std::vector<StatusField> fields;
};

struct WindowState {
    std::map<int, WindowRecord> windows;
    std::map<int, QPointer<QAction>> menuItems;
    std::map<int, StatusBarRecord> statusBars;
    int openings = 0;
    bool waitCursor = false;
};

WindowState state;

constexpr int statusBarPixels = 22;
constexpr int fieldGap = 2;   // pixels between two status-bar fields

WindowRecord* find(int window)
{
    auto it = state.windows.find(window);
    if (it == state.windows.end() || !it->second.frame)
        return nullptr;
    return &it->second;
}

// An owned window is of the dialog type: only for such windows does the toolkit
// tell the window system who owns them (WM_TRANSIENT_FOR on X11, the owner on
// Windows), which keeps them above their owner and out of the taskbar.
Qt::WindowFlags flagsFor(unsigned style, bool owned)
{
    Qt::WindowFlags flags = (owned ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & StyleMinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & StyleMaximizeBox)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

int menuHeight(const WindowRecord& record)
{
    return record.menuBar ? record.menuBar->sizeHint().height() : 0;
}

// Sizes the frame so that the client area gets `client`.
void fitFrame(WindowRecord& record, Size client)
{
    QSize size(client.width, client.height + menuHeight(record));
    if (record.fixedSize)
        record.frame->setFixedSize(size);
    else
        record.frame->resize(size);
    // Place the parts now: a hidden window is laid out only when first shown.
    int top = menuHeight(record);
    if (record.menuBar)
        record.menuBar->setGeometry(0, 0, client.width, top);
    record.client->setGeometry(0, top, client.width, client.height);
}

void center(QWidget* frame)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect area = screen->availableGeometry();
    frame->move(area.center() - QPoint(frame->width() / 2, frame->height() / 2));
}

void forgetStatusBarsOf(QWidget* client)
{
    for (auto it = state.statusBars.begin(); it != state.statusBars.end();) {
        if (!it->second.bar || it->second.bar->parentWidget() == client)
            it = state.statusBars.erase(it);
        else
            ++it;
    }
}

void forgetMenuItems()
{
    for (auto it = state.menuItems.begin(); it != state.menuItems.end();) {
        if (!it->second)
            it = state.menuItems.erase(it);
        else
            ++it;
    }
}

// Maximises and lets the window system answer, so that the client area mostly
// has its maximised size before the caller lays anything out (a window manager
// may answer later; the main loop lays out again then). The geometry is left
// alone: it is what Restore gives back.
void showMaximizedNow(QWidget* frame)
{
    frame->showMaximized();
    QCoreApplication::processEvents();
}

// The innermost open window that `window` owns, directly or through others;
// -1 when it owns none.
int innermostOwnedBy(int window)
{
    int found = -1, order = 0;
    for (auto& [id, record] : state.windows) {
        int owner = record.owner;
        while (owner != noOwner && owner != window) {
            WindowRecord* up = find(owner);
            owner = up ? up->owner : noOwner;
        }
        if (record.frame && owner == window && record.order > order) {
            order = record.order;
            found = id;
        }
    }
    return found;
}

// A window that is no longer exposed was minimised by the window manager,
// whether or not the toolkit knows it.
bool minimized(QWidget* frame)
{
    QWindow* handle = frame->windowHandle();
    return frame->isMinimized() || (handle && !handle->isExposed());
}

// Restored if minimised, raised and activated.
void bringBack(QWidget* frame)
{
    if (minimized(frame))
        frame->showNormal();
    frame->raise();
    frame->activateWindow();
}

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::ContextMenu:
    case QEvent::WindowActivate:
        return true;
    default:
        return false;
    }
}

// While an owned window's loop runs, its owner takes no input: a click, a key
// or the wheel over it, or the owner becoming active, brings the owned window
// back instead, as Windows does for an owner it has disabled. Without this a
// click on the owner hides the owned window behind it and the program seems
// to hang. The owner's close box still reaches the program.
class OwnerGuard : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (!isUserInput(event->type()))
            return false;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget)
            return false;
        int window = qt::windowOfWidget(widget);
        int owned = window < 0 ? -1 : innermostOwnedBy(window);
        if (owned < 0)
            return false;
        QWidget* frame = state.windows[owned].frame;
        // The owner may become active when the user minimises the owned
        // window; only the user's own input on the owner brings it back then.
        if (event->type() == QEvent::WindowActivate) {
            if (!minimized(frame))
                bringBack(frame);
            return false;
        }
        bringBack(frame);
        return true;
    }
};

} // namespace

void openWindow(const WindowSpec& opening)
{
    if (find(opening.id))
        closeWindow(opening.id);
    WindowRecord* owner = opening.owner == noOwner ? nullptr : find(opening.owner);
    auto* frame = new WindowFrame(opening.id, owner ? owner->frame.data() : nullptr,
                                  flagsFor(opening.style, owner != nullptr));
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new ClientArea(frame);
    layout->addWidget(client);
    WindowRecord record{frame, client, nullptr, opening.owner, ++state.openings, Qt::WindowNoState,
                        (opening.style & StyleSizable) == 0};
    state.windows[opening.id] = record;
    setWindowTitle(opening.id, opening.title);
    fitFrame(state.windows[opening.id], opening.clientSize);
    if (opening.centered)
        center(frame);
    else
        frame->move(0, 0);
}

void showWindow(int window, WindowShow how)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    switch (how) {
    case WindowShow::Normal: record->frame->showNormal(); break;
    case WindowShow::Maximized: showMaximizedNow(record->frame); break;
    case WindowShow::Minimized: record->frame->showMinimized(); break;
    }
    // The control with the keyboard focus shows it from the start, not only
    // after the first Tab (showing a window clears this).
    record->frame->setAttribute(Qt::WA_KeyboardFocusChange, true);
}

void closeWindow(int window)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    std::vector<int> owned;
    for (auto& [id, other] : state.windows)
        if (other.owner == window && other.frame)
            owned.push_back(id);
    for (int id : owned)
        closeWindow(id);
    record = find(window);
    qt::forgetControlsOf(window);
    forgetStatusBarsOf(record->client);
    delete record->frame.data();
    state.windows.erase(window);
    forgetMenuItems();
}

bool windowExists(int window)
{
    return find(window) != nullptr;
}

void setWindowTitle(int window, const std::string& title)
{
    if (WindowRecord* record = find(window)) {
        record->frame->setWindowTitle(qt::fromCp1252(title));
        record->frame->setAccessibleName(qt::fromCp1252(title));
    }
}

std::string windowTitle(int window)
{
    WindowRecord* record = find(window);
    return record ? qt::toCp1252(record->frame->windowTitle()) : std::string();
}

Size clientSize(int window)
{
    WindowRecord* record = find(window);
    if (!record)
        return {0, 0};
    if (record->frame->isMinimized())
        return {0, 0};
    return {record->client->width(), record->client->height()};
}

void hideWindow(int window)
{
    if (WindowRecord* record = find(window)) {
        record->hiddenState = record->frame->windowState();
        record->frame->hide();
    }
}

void showAgain(int window)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    if (record->hiddenState & Qt::WindowMinimized)
        record->frame->showMinimized();
    else if (record->hiddenState & Qt::WindowMaximized)
        record->frame->showMaximized();
    else
        record->frame->showNormal();
}

void setDialogKeys(int window, int defaultButton)
{
    if (WindowRecord* record = find(window))
        record->frame->defaultButton = defaultButton;
}

void setMinimumClientSize(int window, Size client)
{
    if (WindowRecord* record = find(window))
        record->frame->setMinimumSize(client.width, client.height + menuHeight(*record));
}

void enableWindow(int window, bool enabled)
{
    if (WindowRecord* record = find(window))
        record->frame->setEnabled(enabled);
}

// The focus goes back to the control that had it, where there is one.
void focusWindow(int window)
{
    if (WindowRecord* record = find(window)) {
        record->frame->activateWindow();
        QWidget* last = record->frame->focusWidget();
        if (last && last != record->frame)
            last->setFocus(Qt::OtherFocusReason);
        else
            record->frame->setFocus();
    }
}

void activateWindow(int window)
{
    if (WindowRecord* record = find(window)) {
        record->frame->raise();
        record->frame->activateWindow();
    }
}

// ----- Menu bar -----

bool createMenuBar(int window, const std::vector<MenuEntry>& entries)
{
    WindowRecord* record = find(window);
    if (!record)
        return false;
    Size client = clientSize(window);
    auto* bar = new QMenuBar(record->frame);
    bar->setNativeMenuBar(false);
    QMenu* menu = nullptr;
    for (const MenuEntry& entry : entries) {
        QString text = qt::fromCp1252(entry.text).replace(QLatin1Char('&'), QLatin1String("&&"));
        if (entry.kind == MenuEntry::Menu) {
            menu = bar->addMenu(text);
            menu->setAccessibleName(text);
        } else if (menu && entry.kind == MenuEntry::Separator) {
            menu->addSeparator();
        } else if (menu) {
            QAction* action = menu->addAction(text);
            int id = entry.id;
            QObject::connect(action, &QAction::triggered, [window, id] {
                qt::pushEvent({EventKind::Menu, window, id});
            });
            state.menuItems[id] = action;
        }
    }
    static_cast<QVBoxLayout*>(record->frame->layout())->setMenuBar(bar);
    record->menuBar = bar;
    fitFrame(*record, client);
    return true;
}

void enableMenuItem(int item, bool enabled)
{
    auto it = state.menuItems.find(item);
    if (it != state.menuItems.end() && it->second)
        it->second->setEnabled(enabled);
}

bool menuItemEnabled(int item)
{
    auto it = state.menuItems.find(item);
    return it != state.menuItems.end() && it->second && it->second->isEnabled();
}

// ----- Status bar -----

void createStatusBar(int window, int id, const std::vector<int>& fieldWidths)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    auto* bar = new QFrame(record->client);
    bar->setAccessibleName(QStringLiteral("Status bar"));
    auto* layout = new QHBoxLayout(bar);
    // Each field's width includes the gap before it, so the fields end where
    // their widths add up to, inside a window of that width.
    layout->setContentsMargins(fieldGap, 2, 0, 2);
    layout->setSpacing(fieldGap);
    StatusBarRecord status{bar, {}};
    for (int width : fieldWidths) {
        auto* label = new QLabel(bar);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setFixedWidth(std::max(width - fieldGap, 0));
        auto* progress = new QProgressBar(bar);
        progress->setRange(0, 100);
        progress->setTextVisible(false);
        progress->setFixedWidth(std::max(width - fieldGap, 0));
        progress->hide();
        layout->addWidget(label);
        layout->addWidget(progress);
        status.fields.push_back({label, progress});
    }
    layout->addStretch(1);
    bar->setFixedHeight(statusBarPixels);
    record->client->statusBar = bar;
    bar->setGeometry(0, record->client->height() - statusBarPixels, record->client->width(), statusBarPixels);
    bar->show();
    state.statusBars[id] = status;
}

int statusBarHeight(int id)
{
    auto it = state.statusBars.find(id);
    return it != state.statusBars.end() && it->second.bar ? it->second.bar->height() : 0;
}

namespace {

StatusField* statusField(int id, int field)
{
    auto it = state.statusBars.find(id);
    if (it == state.statusBars.end() || !it->second.bar || field < 0
        || field >= static_cast<int>(it->second.fields.size()))
        return nullptr;
    return &it->second.fields[static_cast<size_t>(field)];
}

} // namespace

void setStatusText(int id, int field, const std::string& text)
{
    if (StatusField* f = statusField(id, field)) {
        f->progress->hide();
        f->label->show();
        f->label->setText(qt::fromCp1252(text));
    }
}

void setStatusProgress(int id, int field, int percent)
{
    if (StatusField* f = statusField(id, field)) {
        f->label->hide();
        f->progress->show();
        f->progress->setValue(percent);
    }
}

// ----- Cursors and the mouse -----

void showWaitCursor(bool on)
{
    if (on && !state.waitCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!on)
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    state.waitCursor = on;
}

Point mousePosition(int window)
{
    if (testing::active())
        return seam::scriptedMouse(window);
    WindowRecord* record = find(window);
    if (!record || !record->frame->isVisible())
        return {-1, -1};
    QPoint p = record->client->mapFromGlobal(QCursor::pos());
    if (!record->client->rect().contains(p))
        return {-1, -1};
    return {p.x(), p.y()};
}

// ----- For the rest of the layer -----

namespace qt {

QWidget* clientOf(int window)
{
    WindowRecord* record = find(window);
    return record ? record->client : nullptr;
}

QWidget* frameOf(int window)
{
    WindowRecord* record = find(window);
    return record ? record->frame.data() : nullptr;
}

int windowOfWidget(const QWidget* widget)
{
    const QWidget* top = widget ? widget->window() : nullptr;
    for (auto& [id, record] : state.windows)
        if (record.frame && record.frame.data() == top)
            return id;
    return -1;
}

int innermostWindow()
{
    int innermost = -1, order = 0;
    for (auto& [id, record] : state.windows)
        if (record.frame && record.order > order) {
            order = record.order;
            innermost = id;
        }
    return innermost;
}

void guardOwners()
{
    static OwnerGuard guard;
    QCoreApplication::instance()->installEventFilter(&guard);
}

// A dialog comes from the window whose loop runs: the innermost one.
QWidget* dialogParent()
{
    if (QWidget* innermost = frameOf(innermostWindow()))
        return innermost;
    return QApplication::activeWindow();
}

void closeAllWindows()
{
    while (!state.windows.empty()) {
        int id = state.windows.begin()->first;
        if (find(id))
            closeWindow(id);
        else
            state.windows.erase(id);
    }
    state.menuItems.clear();
    state.statusBars.clear();
}

std::string statusFieldText(int id, int field)
{
    StatusField* f = statusField(id, field);
    return f ? toCp1252(f->label->text()) : std::string();
}

Rect statusFieldRect(int id, int field)
{
    StatusField* f = statusField(id, field);
    if (!f)
        return {0, 0, 0, 0};
    QWidget* shown = f->progress->isHidden() ? static_cast<QWidget*>(f->label) : f->progress;
    QPoint at = shown->mapTo(shown->parentWidget()->parentWidget(), QPoint(0, 0));
    return {at.x(), at.y(), shown->width(), shown->height()};
}

int statusFieldProgress(int id, int field)
{
    StatusField* f = statusField(id, field);
    return f && !f->progress->isHidden() ? f->progress->value() : -1;
}

bool waitCursorShown()
{
    return state.waitCursor;
}

void triggerMenuItem(int item)
{
    auto it = state.menuItems.find(item);
    if (it != state.menuItems.end() && it->second)
        it->second->trigger();
}

void resizeClient(int window, Size client)
{
    if (WindowRecord* record = find(window)) {
        record->frame->setWindowState(Qt::WindowNoState);
        record->frame->setMinimumSize(0, 0);   // a window manager may ignore it
        fitFrame(*record, client);
        record->client->resize(client.width, client.height);
    }
}

} // namespace qt

} // namespace platform
