#include "panel/PanelAccessibility.h"

#include "panel/CaptionLabel.h"
#include "panel/NumericBox.h"
#include "panel/UpDownButtons.h"
#include "panel/rules/HelpPositions.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Marks the line edit whose accessible face is a status line.
const char* const kStatusLineProperty = "statusLine";

// The message line as assistive technology sees it: a status line whose text is the latest
// progress line or result, readable as text like any one-line box.
class StatusLineAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit StatusLineAccessible(QLineEdit* line) : QAccessibleWidget(line, QAccessible::StatusBar) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return line()->text();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return line()->cursorPosition(); }
    void setCursorPosition(int position) override { line()->setCursorPosition(position); }
    QString text(int start, int end) const override { return line()->text().mid(start, end - start); }
    int characterCount() const override { return int(line()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint& point) const override {
        return line()->cursorPositionAt(line()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QLineEdit* line() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* statusLineFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QLineEdit") || !object->property(kStatusLineProperty).toBool())
        return nullptr;
    return new StatusLineAccessible(static_cast<QLineEdit*>(object));
}

void presentAsStatusLine(QLineEdit* line) {
    static const bool installed = [] {
        QAccessible::installFactory(statusLineFactory);
        return true;
    }();
    Q_UNUSED(installed);
    line->setProperty(kStatusLineProperty, true);
    line->setAccessibleName(QStringLiteral("Message line"));
    line->setAccessibleDescription(QStringLiteral("Status line"));
    // A screen reader already running may have asked for the line before it was marked.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(line);
    if (face && face->role() != QAccessible::StatusBar)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
}

// Marks a list with text whose accessible name stays its caption.
const char* const kNamedListProperty = "namedList";

// A list with text as a screen reader hears it: its caption as the name and the chosen entry as
// the value. (The toolkit's own face on this platform names the list by its current text, so
// the caption would be lost as soon as an entry is chosen.)
class NamedListAccessible : public QAccessibleWidget {
public:
    explicit NamedListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return widget()->accessibleName();
        if (kind == QAccessible::Value) return static_cast<QComboBox*>(widget())->currentText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* namedListFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QComboBox") || !object->property(kNamedListProperty).toBool())
        return nullptr;
    return new NamedListAccessible(static_cast<QComboBox*>(object));
}

void keepNameAsCaption(QComboBox* list) {
    static const bool installed = [] {
        QAccessible::installFactory(namedListFactory);
        return true;
    }();
    Q_UNUSED(installed);
    list->setProperty(kNamedListProperty, true);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(list);
    if (face && !dynamic_cast<NamedListAccessible*>(face))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
}

// Where a widget sits in the innermost grid of its parent's layout that holds it.
struct Cell {
    QGridLayout* grid = nullptr;
    int row = -1;
    int column = -1;
};

bool holds(QLayoutItem* item, const QWidget* widget) {
    if (item->widget() == widget) return true;
    if (QLayout* inner = item->layout())
        for (int i = 0; i < inner->count(); ++i)
            if (holds(inner->itemAt(i), widget)) return true;
    return false;
}

Cell cellIn(QLayout* layout, const QWidget* widget) {
    if (!layout) return {};
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (!holds(item, widget)) continue;
        if (Cell inner = cellIn(item->layout(), widget); inner.grid) return inner;
        auto* grid = qobject_cast<QGridLayout*>(layout);
        if (!grid) return {};
        Cell cell{grid};
        int rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &cell.row, &cell.column, &rowSpan, &columnSpan);
        return cell;
    }
    return {};
}

// The widget's cell, or that of the nearest container that sits in a grid (a row of choices).
Cell cellOf(QWidget* widget) {
    for (QWidget* w = widget; w && w->parentWidget(); w = w->parentWidget())
        if (Cell cell = cellIn(w->parentWidget()->layout(), w); cell.grid) return cell;
    return {};
}

QLabel* labelAt(const Cell& cell, int row, int column) {
    if (row < 0 || column < 0 || row >= cell.grid->rowCount() || column >= cell.grid->columnCount())
        return nullptr;
    QLayoutItem* item = cell.grid->itemAtPosition(row, column);
    return item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
}

// The caption left of a cell: on its own row, or for a column of choices under one caption, the
// nearest one above.
QLabel* captionOf(const Cell& cell) {
    if (!cell.grid) return nullptr;
    for (int row = cell.row; row >= 0; --row)
        if (QLabel* label = labelAt(cell, row, cell.column - 1)) return label;
    return nullptr;
}

// A caption as spoken: without its trailing colon and stray blanks ("DC OFFSET :" is "DC OFFSET"); a
// unit set apart by a run of blanks in the same caption follows a comma ("Cycle Time, ms").
// The blanks are walked by hand: a pattern compiled for each of some eighty captions cost more than
// the rest of the naming pass together, all before the window's first paint.
QString spoken(const QString& text) {
    const QString trimmed = text.trimmed();
    QString caption;
    caption.reserve(trimmed.size());
    for (qsizetype i = 0; i < trimmed.size();) {
        qsizetype run = 0;
        while (i + run < trimmed.size() && trimmed[i + run] == QLatin1Char(' '))
            ++run;
        if (run >= 2)
            caption += QStringLiteral(", ");
        else if (run == 1)
            caption += QLatin1Char(' ');
        else
            caption += trimmed[i];
        i += run ? run : 1;
    }
    caption = caption.simplified();
    while (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QLatin1Char(' ')))
        caption.chop(1);
    return caption;
}

void nameBox(NumericBox* box) {
    const Cell cell = cellOf(box);
    QLabel* caption = captionOf(cell);
    if (!caption) return;
    caption->setBuddy(box);
    QString name = spoken(caption->text());
    if (QLabel* unit = cell.grid ? labelAt(cell, cell.row, cell.column + 1) : nullptr)
        name += QStringLiteral(", ") + unit->text().trimmed();
    box->setAccessibleName(name);
    if (UpDownButtons* spin = box->upDown()) {
        const QString subject = spoken(caption->text());
        spin->setAccessibleName(subject);
        spin->upButton()->setAccessibleName(QStringLiteral("Increase ") + subject);
        spin->downButton()->setAccessibleName(QStringLiteral("Decrease ") + subject);
    }
}

// The title of the tab page a control sits on, empty above the tab control.
QString pageTitle(const Panel& p, const QWidget* control) {
    for (const QWidget* w = control; w; w = w->parentWidget())
        if (const int page = p.SSTabTrigger->indexOf(const_cast<QWidget*>(w)); page >= 0)
            return p.SSTabTrigger->tabText(page);
    return {};
}

// An option is heard with its page and group first, so the sources of the trigger, burst and
// gate pages ("Burst Setting, Source, Ext") never sound alike.
void nameOption(const Panel& p, QRadioButton* option) {
    QString group;
    if (auto* panel = qobject_cast<CaptionPanel*>(option->parentWidget()))
        group = panel->caption();
    else if (QLabel* caption = captionOf(cellOf(option)))
        group = caption->text();
    const QString own = option->text();
    QString name = group.isEmpty() ? own : spoken(group) + QStringLiteral(", ") + own;
    if (const QString page = pageTitle(p, option); !page.isEmpty()) name = page + QStringLiteral(", ") + name;
    option->setAccessibleName(name);
}

// The panel's scroll bars choose a value (a segment, a share), so the keys move it the way a value
// grows: Right and Up step up, Left and Down step down, Page Up and Page Down by the page step. A
// plain scroll bar turns Left and Right the other way round, as if scrolling content.
class ValueKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* bar = static_cast<QScrollBar*>(watched);
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Right:
        case Qt::Key_Up:
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Down:
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return true;
        case Qt::Key_PageUp:
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return true;
        case Qt::Key_PageDown:
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            return true;
        default:
            return false;
        }
    }
};

// A scroll bar takes Tab like a box (its place in the chain is where it was built, between its
// neighbours) and is named by its caption.
void reachAndName(QScrollBar* bar) {
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->installEventFilter(new ValueKeys(bar));
    if (QLabel* caption = captionOf(cellOf(bar))) {
        caption->setBuddy(bar);
        bar->setAccessibleName(spoken(caption->text()));
    }
}

} // namespace

void applyPanelAccessibility(QWidget& window, Panel& p, QLineEdit* txtMessage) {
    for (NumericBox* box : p.boxes())
        nameBox(box);
    // Every option, the connection frame's transport choice included (it has no group caption).
    for (QRadioButton* option : window.findChildren<QRadioButton*>())
        nameOption(p, option);
    reachAndName(p.HScrollSweep);
    reachAndName(p.HScroll1);
    presentAsStatusLine(txtMessage);

    // The connection frame's entries, named by the captions on their left.
    for (QWidget* entry :
         std::initializer_list<QWidget*>{p.cboComPort, p.cboBuadRate, p.txtGPIBAddr, p.txtCycleTime})
        if (QLabel* caption = captionOf(cellOf(entry))) {
            caption->setBuddy(entry);
            entry->setAccessibleName(spoken(caption->text()));
        }
    keepNameAsCaption(p.cboComPort);
    keepNameAsCaption(p.cboBuadRate);
    const QString cycleTime = p.txtCycleTime->accessibleName().section(QLatin1Char(','), 0, 0);
    p.UpDown1->upButton()->setAccessibleName(QStringLiteral("Increase ") + cycleTime);
    p.UpDown1->downButton()->setAccessibleName(QStringLiteral("Decrease ") + cycleTime);
}

int helpPositionFor(const Panel& p, const QWidget* control) {
    // An option group's caption panel, around the control.
    for (const QWidget* w = control; w; w = w->parentWidget())
        for (const HelpPassage& passage : kPanelPassages)
            if (p.SSPanel1[size_t(passage.index)] == w) return passage.clickPosition();
    // The caption left of the control (or of the row of choices it sits in).
    const QLabel* caption = control ? captionOf(cellOf(const_cast<QWidget*>(control))) : nullptr;
    for (const HelpPassage& passage : kLabelPassages)
        if (caption && p.Label1[size_t(passage.index)] == caption) return passage.clickPosition();
    return -1;
}
