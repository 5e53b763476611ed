// Controls by identifier, on Qt widgets placed at client coordinates.
#include "platform/controls.h"
#include "platform/qt/qt_internal.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QAbstractListModel>
#include <QTreeWidget>

#include <algorithm>
#include <map>

namespace platform {

namespace {

constexpr int maxShownEntries = 20;   // rows of an open drop-down list

enum class Kind { Frame, Text, Button, Option, CheckBox, TrackBar, ScrollBar, ImageView, List, DropDown, Address, Number, Link };

struct ControlRecord {
    QPointer<QWidget> widget;
    int window;
    Kind kind;
    int scrollMaximum = 0;   // the scroll bar's range as the program set it
    int scrollPage = 0;
};

struct ControlState {
    std::map<int, ControlRecord> controls;
    std::map<std::pair<int, int>, QPointer<QButtonGroup>> optionGroups;
    ScrollHook scrollHook = nullptr;
};

ControlState state;

// Hyperlink text: black and underlined, red under the mouse, a click is an event.
class LinkLabel : public QLabel {
public:
    LinkLabel(QWidget* parent, int window, int id) : QLabel(parent), window(window), id(id)
    {
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        setCursor(Qt::PointingHandCursor);
        paint(Qt::black);
    }

protected:
    void enterEvent(QEnterEvent*) override { paint(Qt::red); }
    void leaveEvent(QEvent*) override { paint(Qt::black); }
    void mouseReleaseEvent(QMouseEvent*) override { qt::pushEvent({EventKind::Control, window, id}); }

private:
    void paint(Qt::GlobalColor color)
    {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, color);
        setPalette(p);
    }
    int window, id;
};

// Entries made on demand: only the rows the list shows are ever formatted.
class LazyListModel : public QAbstractListModel {
public:
    LazyListModel(int count, std::function<std::string(int)> text, QObject* parent)
        : QAbstractListModel(parent), count(count), text(std::move(text))
    {
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= count || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return {};
        return qt::fromCp1252(text(index.row()));
    }

    // The first entry from `from` on that begins with `typed`, or -1.
    int firstBeginningWith(const std::string& typed, int from) const
    {
        for (int row = std::max(from, 0); row < count; ++row)
            if (beginsWith(text(row), typed))
                return row;
        return -1;
    }

    bool entryBeginsWith(int row, const std::string& typed) const
    {
        return row >= 0 && row < count && beginsWith(text(row), typed);
    }

private:
    // Letters A to Z in either case, as a person types them.
    static bool beginsWith(const std::string& entry, const std::string& typed)
    {
        return entry.size() >= typed.size() && qstrnicmp(entry.data(), typed.data(), typed.size()) == 0;
    }

    int count;
    std::function<std::string(int)> text;
};

// A drop-down list that selects as a person types, closed or open. The
// characters typed with pauses of less than a second make one text, and the
// first entry that begins with all of it is selected, unless the selected entry
// begins with it already. A blank is part of the text, not the key that opens
// the list. The open list moves its highlight to the selection.
class DropDownBox : public QComboBox {
public:
    explicit DropDownBox(QWidget* parent) : QComboBox(parent)
    {
        view()->installEventFilter(this);
    }

    void setEntries(int count, std::function<std::string(int)> entryText)
    {
        // The combo box deletes the model it replaces when it owns it, as it owns ours.
        setModel(new LazyListModel(count, std::move(entryText), this));
        startSearch();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!typeAhead(event))
            QComboBox::keyPressEvent(event);
    }

    // Keys typed into the open list.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == view() && event->type() == QEvent::KeyPress && typeAhead(static_cast<QKeyEvent*>(event)))
            return true;
        return QComboBox::eventFilter(watched, event);
    }

private:
    static constexpr qint64 pauseMs = 1000;   // a longer pause starts a new search

    void startSearch()
    {
        typed.clear();
        firstMatch = 0;
    }

    // False for keys that are no text: they keep their own meaning.
    bool typeAhead(QKeyEvent* event)
    {
        const QString text = event->text();
        if (text.isEmpty() || !text.at(0).isPrint()
            || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        if (!sinceLastKey.isValid() || sinceLastKey.elapsed() >= pauseMs)
            startSearch();
        sinceLastKey.start();
        typed += qt::toCp1252(text);
        auto* entries = dynamic_cast<LazyListModel*>(model());
        if (!entries)
            return true;
        // An entry that begins with the longer text also begins with the shorter:
        // the search goes on from where the last one stopped.
        if (firstMatch >= 0)
            firstMatch = entries->firstBeginningWith(typed, firstMatch);
        if (firstMatch >= 0 && !entries->entryBeginsWith(selectedRow(), typed))
            select(firstMatch);
        return true;
    }

    // The open list's highlight is what Enter would choose.
    int selectedRow() const
    {
        return view()->isVisible() ? view()->currentIndex().row() : currentIndex();
    }

    void select(int row)
    {
        setCurrentIndex(row);
        view()->setCurrentIndex(model()->index(row, 0));
        view()->scrollTo(view()->currentIndex());
        emit activated(row);   // as a choice with the mouse
    }

    std::string typed;
    int firstMatch = 0;   // no entry before it begins with `typed`; -1: none does
    QElapsedTimer sinceLastKey;
};

ControlRecord* find(int id)
{
    auto it = state.controls.find(id);
    if (it == state.controls.end() || !it->second.widget)
        return nullptr;
    return &it->second;
}

template <class T>
T* widgetAs(int id)
{
    ControlRecord* record = find(id);
    return record ? qobject_cast<T*>(record->widget.data()) : nullptr;
}

// Places a new control and registers it under `id`, replacing an old one.
template <class T>
T* place(int window, int id, Kind kind, T* widget, Rect r)
{
    if (ControlRecord* old = find(id))
        delete old->widget.data();
    widget->setGeometry(r.x, r.y, r.width, r.height);
    widget->show();
    state.controls[id] = ControlRecord{widget, window, kind};
    return widget;
}

void raiseOnClick(QAbstractButton* button, int window, int id)
{
    QObject::connect(button, &QAbstractButton::clicked, [window, id] {
        qt::pushEvent({EventKind::Control, window, id});
    });
}

Qt::Alignment alignmentOf(Align align)
{
    switch (align) {
    case Align::Left: return Qt::AlignLeft | Qt::AlignTop;
    case Align::Right: return Qt::AlignRight | Qt::AlignTop;
    case Align::Center: return Qt::AlignHCenter | Qt::AlignTop;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QString addressText(uint32_t address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address & 0xFF).arg(address >> 8 & 0xFF).arg(address >> 16 & 0xFF).arg(address >> 24 & 0xFF);
}

} // namespace

void createFrame(int window, int id, const std::string& caption, Rect r)
{
    auto* frame = place(window, id, Kind::Frame, new QGroupBox(qt::fromCp1252(caption), qt::clientOf(window)), r);
    frame->setAccessibleName(qt::fromCp1252(caption));
    frame->lower();   // frames are drawn behind the controls they group
}

void createText(int window, int id, const std::string& text, Rect r, Align align)
{
    auto* label = place(window, id, Kind::Text, new QLabel(qt::clientOf(window)), r);
    label->setAlignment(alignmentOf(align));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    setText(id, text);
}

void createButton(int window, int id, const std::string& text, Rect r)
{
    auto* button = place(window, id, Kind::Button, new QPushButton(qt::clientOf(window)), r);
    raiseOnClick(button, window, id);
    setText(id, text);
}

void createImageButton(int window, int id, int image, Rect r)
{
    auto* button = place(window, id, Kind::Button, new QPushButton(qt::clientOf(window)), r);
    raiseOnClick(button, window, id);
    setControlImage(id, image);
}

void createOption(int window, int id, const std::string& text, Rect r, int group)
{
    auto* option = place(window, id, Kind::Option, new QRadioButton(qt::clientOf(window)), r);
    option->setAutoExclusive(false);
    QPointer<QButtonGroup>& buttons = state.optionGroups[{window, group}];
    if (!buttons)
        buttons = new QButtonGroup(qt::clientOf(window));
    buttons->addButton(option);
    raiseOnClick(option, window, id);
    setText(id, text);
}

void setOptionChecked(int id, bool checked)
{
    if (auto* option = widgetAs<QRadioButton>(id))
        option->setChecked(checked);
}

bool optionChecked(int id)
{
    auto* option = widgetAs<QRadioButton>(id);
    return option && option->isChecked();
}

void createCheckBox(int window, int id, const std::string& text, Rect r)
{
    auto* box = place(window, id, Kind::CheckBox, new QCheckBox(qt::clientOf(window)), r);
    raiseOnClick(box, window, id);
    setText(id, text);
}

void setCheckBoxChecked(int id, bool checked)
{
    if (auto* box = widgetAs<QCheckBox>(id))
        box->setChecked(checked);
}

bool checkBoxChecked(int id)
{
    auto* box = widgetAs<QCheckBox>(id);
    return box && box->isChecked();
}

void createTrackBar(int window, int id, Rect r, int minimum, int maximum)
{
    auto* slider = place(window, id, Kind::TrackBar, new QSlider(Qt::Horizontal, qt::clientOf(window)), r);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setPageStep(1);
    slider->setRange(minimum, maximum);
    // Every change of the value is one event, whoever made it (the mouse, a key,
    // an assistive tool through the accessibility interface), except the
    // program's own. An action that leaves the value as it was (a click on the
    // handle, Home at the lowest position) is an event too: the program may show
    // a position that is not the level in force. An action that changes the
    // value is reported by the change, so it counts once.
    auto notify = [window, id] { qt::pushEvent({EventKind::Control, window, id}); };
    QObject::connect(slider, &QSlider::valueChanged, notify);
    QObject::connect(slider, &QSlider::actionTriggered, [slider, notify] {
        if (slider->sliderPosition() == slider->value())
            notify();
    });
    QObject::connect(slider, &QSlider::sliderReleased, notify);
}

void setTrackBarPosition(int id, int position)
{
    if (auto* slider = widgetAs<QSlider>(id)) {
        const QSignalBlocker programsOwn(slider);
        slider->setValue(position);
    }
}

int trackBarPosition(int id)
{
    auto* slider = widgetAs<QSlider>(id);
    return slider ? slider->value() : 0;
}

void createScrollBar(int window, int id, Rect r)
{
    auto* bar = place(window, id, Kind::ScrollBar, new QScrollBar(Qt::Horizontal, qt::clientOf(window)), r);
    bar->setSingleStep(1);
    bar->setTracking(true);
    QObject::connect(bar, &QScrollBar::valueChanged, [window, id] { qt::runScrollHook(window, id); });
}

void setScrollRange(int id, int minimum, int maximum, int page)
{
    ControlRecord* record = find(id);
    auto* bar = widgetAs<QScrollBar>(id);
    if (!bar)
        return;
    record->scrollMaximum = maximum;
    record->scrollPage = page;
    // Windows lets the position run to maximum - page + 1, never below minimum.
    int last = page > 0 ? maximum - page + 1 : maximum;
    bar->setRange(minimum, std::max(minimum, last));
    bar->setPageStep(std::max(page, 1));
}

void setScrollPosition(int id, int position)
{
    if (auto* bar = widgetAs<QScrollBar>(id))
        bar->setValue(position);
}

int scrollPosition(int id)
{
    auto* bar = widgetAs<QScrollBar>(id);
    return bar ? bar->value() : 0;
}

void setScrollHook(ScrollHook hook)
{
    state.scrollHook = hook;
}

void createImageView(int window, int id, Rect r)
{
    auto* view = place(window, id, Kind::ImageView, new QLabel(qt::clientOf(window)), r);
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void setControlImage(int id, int image)
{
    QImage* picture = qt::imageOf(image);
    if (!picture)
        return;
    if (auto* view = widgetAs<QLabel>(id)) {
        view->setPixmap(QPixmap::fromImage(*picture));
        view->resize(picture->size());
    } else if (auto* button = widgetAs<QPushButton>(id)) {
        button->setIcon(QIcon(QPixmap::fromImage(*picture)));
        button->setIconSize(picture->size());
    }
}

void createReportList(int window, int id, Rect r)
{
    auto* list = place(window, id, Kind::List, new QTreeWidget(qt::clientOf(window)), r);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFrameShadow(QFrame::Sunken);
    list->setAllColumnsShowFocus(true);
}

void setListColumns(int id, const std::vector<std::string>& titles, const std::vector<int>& widths)
{
    auto* list = widgetAs<QTreeWidget>(id);
    if (!list)
        return;
    QStringList labels;
    for (const std::string& title : titles)
        labels << qt::fromCp1252(title);
    list->setColumnCount(static_cast<int>(titles.size()));
    list->setHeaderLabels(labels);
    for (size_t i = 0; i < widths.size(); ++i)
        list->setColumnWidth(static_cast<int>(i), widths[i]);
}

void insertListRow(int id, int position, const std::string& cells)
{
    auto* list = widgetAs<QTreeWidget>(id);
    if (!list)
        return;
    auto* item = new QTreeWidgetItem(qt::fromCp1252(cells).split(QLatin1Char('\n')));
    list->insertTopLevelItem(std::clamp(position, 0, list->topLevelItemCount()), item);
}

void clearList(int id)
{
    if (auto* list = widgetAs<QTreeWidget>(id))
        list->clear();
}

void createDropDown(int window, int id, Rect r)
{
    auto* box = place(window, id, Kind::DropDown, new DropDownBox(qt::clientOf(window)), r);
    box->setEditable(false);
    // Never measure every entry: a list can hold a million record times.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(19);
    if (auto* view = qobject_cast<QListView*>(box->view()))
        view->setUniformItemSizes(true);
    // An open list shows at most 20 rows and scrolls, instead of a menu as tall
    // as the screen.
    box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    box->setMaxVisibleItems(maxShownEntries);
    QObject::connect(box, &QComboBox::activated, [window, id] {
        qt::pushEvent({EventKind::Control, window, id});
    });
}

void setDropDownEntries(int id, int count, std::function<std::string(int index)> entryText)
{
    if (auto* box = dynamic_cast<DropDownBox*>(widgetAs<QComboBox>(id)))
        box->setEntries(std::max(count, 0), std::move(entryText));
}

void selectDropDownEntry(int id, int index)
{
    if (auto* box = widgetAs<QComboBox>(id))
        box->setCurrentIndex(index);
}

int selectedDropDownEntry(int id)
{
    auto* box = widgetAs<QComboBox>(id);
    return box ? box->currentIndex() : -1;
}

void createAddressField(int window, int id, Rect r)
{
    auto* field = place(window, id, Kind::Address, new QLineEdit(qt::clientOf(window)), r);
    // Four fields of 0 to 255 separated by dots, as the address control of Windows.
    static const QRegularExpression dotted(
        QStringLiteral("^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])?\\.){0,3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])?$"));
    field->setValidator(new QRegularExpressionValidator(dotted, field));
    // A character that cannot make an address is refused where the user sees
    // it: the field keeps what it had and beeps.
    QObject::connect(field, &QLineEdit::inputRejected, [] { qt::beep(); });
    QObject::connect(field, &QLineEdit::textEdited, [window, id] {
        qt::pushEvent({EventKind::Control, window, id});
    });
}

void createNumberField(int window, int id, Rect r)
{
    auto* field = place(window, id, Kind::Number, new QLineEdit(qt::clientOf(window)), r);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{0,5}([.,][0-9]?)?$"));
    field->setValidator(new QRegularExpressionValidator(number, field));
    QObject::connect(field, &QLineEdit::inputRejected, [] { qt::beep(); });
    // The program writes numbers with a point in every locale, and so does the field.
    QObject::connect(field, &QLineEdit::textEdited, [field](const QString& typed) {
        if (!typed.contains(QLatin1Char(',')))
            return;
        const int cursor = field->cursorPosition();
        field->setText(QString(typed).replace(QLatin1Char(','), QLatin1Char('.')));
        field->setCursorPosition(cursor);
    });
}

// Where a line edit puts the top of its text line: centred in the contents
// rectangle of its frame, as the line edit paints it.
static int textTopOf(QLineEdit* field)
{
    QStyleOptionFrame panel;
    panel.initFrom(field);
    panel.rect = field->rect();
    panel.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, field) : 0;
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken;
    QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &panel, field);
    contents = contents.marginsRemoved(field->textMargins());
    return contents.y() + (contents.height() - field->fontMetrics().height() + 1) / 2;
}

void alignTextWithField(int labelId, int fieldId)
{
    auto* label = widgetAs<QLabel>(labelId);
    auto* field = widgetAs<QLineEdit>(fieldId);
    if (!label || !field)
        return;
    // Both in the same font, a label aligned to the top: equal text tops give
    // one baseline.
    int top = field->y() + textTopOf(field) - label->y();
    label->setContentsMargins(0, std::max(top, 0), 0, 0);
}

void setAddress(int id, uint32_t value)
{
    if (auto* field = widgetAs<QLineEdit>(id))
        field->setText(addressText(value));
}

uint32_t address(int id)
{
    auto* field = widgetAs<QLineEdit>(id);
    if (!field)
        return 0;
    QStringList parts = field->text().split(QLatin1Char('.'));
    uint32_t value = 0;
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        value |= (parts[i].toUInt() & 0xFF) << (8 * i);
    return value;
}

void createHyperlink(int window, int id, const std::string& text, Rect r)
{
    place(window, id, Kind::Link, new LinkLabel(qt::clientOf(window), window, id), r);
    setText(id, text);
}

void setText(int id, const std::string& text)
{
    ControlRecord* record = find(id);
    if (!record)
        return;
    QString value = qt::multiLine(text);
    QWidget* widget = record->widget;
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(QString(value).replace(QLatin1Char('&'), QLatin1String("&&")));
    else if (auto* frame = qobject_cast<QGroupBox*>(widget))
        frame->setTitle(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    if (record->kind != Kind::Address)
        widget->setAccessibleName(value);
}

std::string text(int id)
{
    ControlRecord* record = find(id);
    if (!record)
        return {};
    QWidget* widget = record->widget;
    QString value;
    if (auto* label = qobject_cast<QLabel*>(widget))
        value = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        value = button->text().replace(QLatin1String("&&"), QLatin1String("&"));
    else if (auto* frame = qobject_cast<QGroupBox*>(widget))
        value = frame->title();
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        value = edit->text();
    return qt::toCp1252(value);
}

void enableControl(int id, bool enabled)
{
    if (ControlRecord* record = find(id))
        record->widget->setEnabled(enabled);
}

bool controlEnabled(int id)
{
    ControlRecord* record = find(id);
    return record && record->widget->isEnabled();
}

void showControl(int id, bool visible)
{
    if (ControlRecord* record = find(id))
        record->widget->setVisible(visible);
}

bool controlVisible(int id)
{
    ControlRecord* record = find(id);
    return record && !record->widget->isHidden();
}

void moveControl(int id, Rect r)
{
    if (ControlRecord* record = find(id))
        record->widget->setGeometry(r.x, r.y, r.width, r.height);
}

Rect controlRect(int id)
{
    ControlRecord* record = find(id);
    if (!record)
        return {0, 0, 0, 0};
    QRect g = record->widget->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

bool controlExists(int id)
{
    return find(id) != nullptr;
}

void setAccessibleName(int id, const std::string& name)
{
    if (ControlRecord* record = find(id))
        record->widget->setAccessibleName(qt::fromCp1252(name));
}

namespace qt {

QWidget* controlWidget(int id)
{
    ControlRecord* record = find(id);
    return record ? record->widget.data() : nullptr;
}

int controlOfWidget(const QWidget* widget)
{
    for (auto& [id, record] : state.controls)
        if (widget && record.widget.data() == widget)
            return id;
    return -1;
}

void forgetControlsOf(int window)
{
    std::erase_if(state.controls, [window](const auto& entry) { return entry.second.window == window; });
    std::erase_if(state.optionGroups, [window](const auto& entry) { return entry.first.first == window; });
}

void forgetAllControls()
{
    state.controls.clear();
    state.optionGroups.clear();
}

void runScrollHook(int window, int scrollBar)
{
    if (state.scrollHook)
        state.scrollHook(window, scrollBar);
}

ScrollSettings scrollSettings(int id)
{
    ControlRecord* record = find(id);
    auto* bar = widgetAs<QScrollBar>(id);
    if (!bar)
        return {0, 0, 0, 0};
    return {bar->minimum(), record->scrollMaximum, record->scrollPage, bar->value()};
}

} // namespace qt

} // namespace platform
