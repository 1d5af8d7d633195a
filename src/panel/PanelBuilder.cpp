// Builds the panel: the groups from top to bottom, every box with its spin control and unit, the
// option groups in their caption panels, the tab control, the message line and the hidden
// connection frame. Sizes come from the panel's twip measures at the screen's logical DPI.
#include "panel/BoxTable.h"
#include "panel/CaptionLabel.h"
#include "panel/DesignUnits.h"
#include "panel/NumericBox.h"
#include "panel/Panel.h"
#include "panel/PanelWiring.h"
#include "panel/UpDownButtons.h"
#include "panel/rules/HelpPositions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// Platform colour values (see PlatformColor.h).
constexpr int ColorCaptionRed = 255;
constexpr int ColorDisplayBack = 14737632;
constexpr int ColorDisplayText = 12582912;
constexpr int ColorMessageBack = 12648384;

constexpr int ClientWidthTwips = 8670;
constexpr int ClientHeightTwips = 7635;

constexpr int TabHeightTwips = 2535;
constexpr int MessageHeightTwips = 345;
constexpr int MessageCaptionWidthTwips = 1020 - 30;

// A group of settings above the tab control: its frame, title and height from the top down; the
// layout shares the panel's height in these proportions.
struct GroupSpec {
    int frame;
    const char* title;
    int heightTwips;
};
constexpr GroupSpec kMainGroup{0, "Main Setting", 1275};
constexpr GroupSpec kSweepGroup{1, "Sweep Setting", 1635};
constexpr GroupSpec kModulationGroup{2, "Modulation Setting", 1635};

// A group's On/Off switch in its caption panel; every group starts Off.
struct ModeSwitchSpec {
    std::array<QRadioButton*, 2> Panel::*options;
    const char* name;
    PanelCaption panel;
};
constexpr ModeSwitchSpec kSweepSwitch{&Panel::optSweep, "optSweep", SweepFunctionPanel};
constexpr ModeSwitchSpec kModulationSwitch{&Panel::optModulation, "optModulation", ModulationFunctionPanel};
constexpr ModeSwitchSpec kTriggerSwitch{&Panel::optTrigger, "optTrigger", TriggerFunctionPanel};
constexpr ModeSwitchSpec kBurstSwitch{&Panel::optBurst, "optBurst", BurstFunctionPanel};
constexpr ModeSwitchSpec kGateSwitch{&Panel::optGate, "optGate", GateFunctionPanel};
constexpr ModeSwitchSpec kCounterSwitch{&Panel::optExternal, "optExternal", CounterFunctionPanel};

// The Int/Ext source of a tab in its caption panel; Int starts chosen.
struct SourceSpec {
    PanelCaption panel;
    const char* group;
    QRadioButton* Panel::*internal;
    const char* internalName;
    QRadioButton* Panel::*external;
    const char* externalName;
};
constexpr SourceSpec kTriggerSource{TriggerSourcePanel, "optTriggerSource",    &Panel::optTriggerInt,
                                    "optTriggerInt",    &Panel::optTriggerExt, "optTriggerExt"};
constexpr SourceSpec kBurstSource{BurstSourcePanel, "optBurstSource",    &Panel::optBurstInt,
                                  "optBurstInt",    &Panel::optBurstExt, "optBurstExt"};
constexpr SourceSpec kGateSource{GateSourcePanel, "optGateSource",    &Panel::optGateInt,
                                 "optGateInt",    &Panel::optGateExt, "optGateExt"};

// A special function's tab page: its mode switch and source on the left, its boxes on the right,
// the warning line at the bottom. The trigger page chooses Single or Multi between its switch and
// its source; the burst page fine-tunes its count under its boxes.
struct FunctionPageSpec {
    int frame;
    const char* tabTitle;
    ModeSwitchSpec mode;
    SourceSpec source;
    BoxGroup boxes;
    bool triggerType;
    bool countFineTuning;
};
constexpr FunctionPageSpec kFunctionPages[] = {
    {3, "Trigger Setting", kTriggerSwitch, kTriggerSource, BoxGroup::Trigger, true, false},
    {4, "Burst Setting", kBurstSwitch, kBurstSource, BoxGroup::Burst, false, true},
    {5, "Gate Setting", kGateSwitch, kGateSource, BoxGroup::Gate, false, false},
};

const char* const kWarning =
    "Warning: Main frequency must under 10MHz(1MHz for Specification) in this Function!";

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

class Builder {
public:
    Builder(QMainWindow& window, Panel& panel, QLineEdit* txtMessage)
        : m_window(window), m_panel(panel), m_txtMessage(txtMessage) {
        m_logicalDpi = window.logicalDpiY();
    }

    void build();

private:
    int px(int twips) const { return twipsToPixels(twips, m_logicalDpi); }

    CaptionLabel* captionLabel(int index, QWidget* parent);
    CaptionPanel* captionPanel(int index, QWidget* parent, Qt::Orientation orientation = Qt::Horizontal);
    QRadioButton* option(const QString& name, const char* caption, QButtonGroup* group, QWidget* parent);
    QButtonGroup* optionGroup(const char* name);
    template <size_t N>
    void optionArray(std::array<QRadioButton*, N>& options, const char* name,
                     const std::array<const char*, N>& captions, QWidget* holder, QLayout* into, int chosen);
    template <size_t N>
    void optionArray(std::array<QRadioButton*, N>& options, const char* name,
                     const std::array<const char*, N>& captions, CaptionPanel* holder, int chosen) {
        optionArray(options, name, captions, holder, holder->contentLayout(), chosen);
    }
    // A row of choices that sits beside its caption label.
    QWidget* choiceRow(const char* name, QWidget* parent);
    QScrollBar* scrollBar(const char* name, int minimum, int maximum, int pageStep, int value,
                          QWidget* parent);
    // The main, sweep and modulation groups: a titled frame holding one row.
    QHBoxLayout* settingGroup(const GroupSpec& spec);
    CaptionPanel* modeSwitch(const ModeSwitchSpec& spec, QWidget* parent);
    // A caption, box, spin control, unit and seconds label on one row of a grid.
    void boxRow(const BoxSpec& spec, QGridLayout* grid);
    // Lays out the group's rows of the box table into its grids, in reading order.
    void boxRows(BoxGroup group, std::initializer_list<QGridLayout*> grids);
    QLabel* displayLabel(const char* name, QWidget* parent);
    QLabel* plainLabel(const char* name, const QString& text, QWidget* parent);
    QGridLayout* boxGrid();
    QLabel* warningLine(QWidget* parent);

    QGridLayout* boxColumn(QHBoxLayout* row);
    CaptionPanel* sourcePanel(const SourceSpec& spec, QWidget* page);

    QWidget* mainGroup();
    QWidget* sweepGroup();
    QWidget* modulationGroup();
    QWidget* tabs();
    QWidget* functionPage(const FunctionPageSpec& spec);
    // The trigger type's caption and choices, on the second row of the page's mode grid.
    void triggerType(QGridLayout* modes, QWidget* page);
    // The burst count's fine-tuning caption, bar and display under the boxes.
    void countFineTuning(QGridLayout* boxes, QWidget* page);
    QWidget* counterPage();
    QWidget* messageLine();
    void connectionFrame(QWidget* area);

    QMainWindow& m_window;
    Panel& m_panel;
    QLineEdit* m_txtMessage;
    // The panel's area. Every group is made inside it, so each control takes the area's face when
    // it is made rather than being laid out again when the group is put in place.
    QWidget* m_area = nullptr;
    // The tab widget's page stack, where the pages are made for the same reason.
    QWidget* m_pages = nullptr;
    int m_logicalDpi = 96;
};

CaptionLabel* Builder::captionLabel(int index, QWidget* parent) {
    auto* label = new CaptionLabel(QString::fromLatin1(kLabelPassages[size_t(index)].caption), parent);
    label->setObjectName(indexed("Label1", index));
    m_panel.Label1[size_t(index)] = label;
    return label;
}

CaptionPanel* Builder::captionPanel(int index, QWidget* parent, Qt::Orientation orientation) {
    auto* panel =
        new CaptionPanel(QString::fromLatin1(kPanelPassages[size_t(index)].caption), parent, orientation);
    panel->setObjectName(indexed("SSPanel1", index));
    panel->setCursor(Qt::WhatsThisCursor);
    m_panel.SSPanel1[size_t(index)] = panel;
    return panel;
}

QButtonGroup* Builder::optionGroup(const char* name) {
    // Each option group is exclusive on its own, whatever widget its choices sit in.
    auto* group = new QButtonGroup(&m_window);
    group->setObjectName(QLatin1String(name) + QLatin1String("Group"));
    group->setExclusive(true);
    return group;
}

QRadioButton* Builder::option(const QString& name, const char* caption, QButtonGroup* group,
                              QWidget* parent) {
    auto* button = new QRadioButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    button->setCursor(Qt::ArrowCursor);
    group->addButton(button);
    return button;
}

template <size_t N>
void Builder::optionArray(std::array<QRadioButton*, N>& options, const char* name,
                          const std::array<const char*, N>& captions, QWidget* holder, QLayout* into,
                          int chosen) {
    QButtonGroup* group = optionGroup(name);
    for (size_t i = 0; i < N; ++i) {
        options[i] = option(indexed(name, int(i)), captions[i], group, holder);
        into->addWidget(options[i]);
    }
    options[size_t(chosen)]->setChecked(true);
}

QWidget* Builder::choiceRow(const char* name, QWidget* parent) {
    auto* row = new QWidget(parent);
    row->setObjectName(QLatin1String(name));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    return row;
}

QScrollBar* Builder::scrollBar(const char* name, int minimum, int maximum, int pageStep, int value,
                               QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(pageStep);
    bar->setValue(value);
    return bar;
}

QHBoxLayout* Builder::settingGroup(const GroupSpec& spec) {
    auto* frame = new QGroupBox(QString::fromLatin1(spec.title), m_area);
    frame->setObjectName(indexed("Frame1", spec.frame));
    m_panel.Frame1[size_t(spec.frame)] = frame;
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(px(240));
    return row;
}

QGridLayout* Builder::boxGrid() {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    return grid;
}

void Builder::boxRow(const BoxSpec& spec, QGridLayout* grid) {
    QWidget* parent = grid->parentWidget();
    CaptionLabel* caption = captionLabel(spec.caption, parent);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* box = new NumericBox(spec, parent);
    box->setDesignDefault(QString::fromLatin1(spec.designText));
    box->setFixedWidth(px(1050));
    auto* spin = new UpDownButtons(parent);
    spin->setObjectName(QStringLiteral("UpDown") + QString::fromLatin1(spec.name + 3));
    spin->setFixedHeight(box->sizeHint().height());
    box->setUpDown(spin);
    grid->addWidget(caption, spec.row, spec.column);
    auto* boxAndSpin = new QHBoxLayout;
    boxAndSpin->setSpacing(0);
    boxAndSpin->addWidget(box);
    boxAndSpin->addWidget(spin);
    grid->addLayout(boxAndSpin, spec.row, spec.column + 1);
    if (spec.unit) {
        auto* unitLabel = new QLabel(QString::fromLatin1(spec.unit), parent);
        unitLabel->setObjectName(QString::fromLatin1(spec.name + 3) + QStringLiteral("Unit"));
        grid->addWidget(unitLabel, spec.row, spec.column + 2);
    }
    m_panel.*spec.box = box;
    if (const SecondsLabel& seconds = spec.seconds; seconds.label) {
        QLabel* label = plainLabel(seconds.name, QString::fromLatin1(seconds.text), parent);
        if (seconds.minimumWidthTwips) label->setMinimumWidth(px(seconds.minimumWidthTwips));
        m_panel.*seconds.label = label;
        grid->addWidget(label, spec.row, 3);
    }
}

void Builder::boxRows(BoxGroup group, std::initializer_list<QGridLayout*> grids) {
    std::vector<const BoxSpec*> rows;
    for (const BoxSpec& spec : kBoxTable)
        if (spec.group == group) rows.push_back(&spec);
    std::ranges::sort(rows, {},
                      [](const BoxSpec* spec) { return std::tuple(spec->grid, spec->row, spec->column); });
    for (const BoxSpec* spec : rows)
        boxRow(*spec, grids.begin()[spec->grid]);
}

CaptionPanel* Builder::modeSwitch(const ModeSwitchSpec& spec, QWidget* parent) {
    CaptionPanel* function = captionPanel(spec.panel, parent);
    optionArray(m_panel.*spec.options, spec.name, {"On", "Off"}, function, 1);
    return function;
}

QLabel* Builder::displayLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameShape(QFrame::Box);
    label->setFrameShadow(QFrame::Plain);
    label->setLineWidth(1);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignCenter);
    QPalette colors = label->palette();
    colors.setColor(QPalette::Window, platformColor(ColorDisplayBack));
    colors.setColor(QPalette::WindowText, platformColor(ColorDisplayText));
    label->setPalette(colors);
    label->setMinimumWidth(px(450));
    return label;
}

QLabel* Builder::plainLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel* Builder::warningLine(QWidget* parent) {
    auto* line = new QLabel(QString::fromLatin1(kWarning), parent);
    line->setObjectName("lblWarning");
    keepColourReadable(line, platformColor(ColorCaptionRed));
    return line;
}

QWidget* Builder::mainGroup() {
    QHBoxLayout* row = settingGroup(kMainGroup);
    QWidget* frame = m_panel.Frame1[size_t(kMainGroup.frame)];

    // Function: the three waveforms beside their caption.
    auto* function = new QGridLayout;
    function->setVerticalSpacing(0);
    function->addWidget(captionLabel(FunctionCaption, frame), 0, 0, Qt::AlignTop);
    QButtonGroup* group = optionGroup("optMainFunc");
    const std::array<const char*, 3> waves = {"Sine", "Triangle", "Square"};
    for (int i = 0; i < 3; ++i) {
        m_panel.optMainFunc[size_t(i)] = option(indexed("optMainFunc", i), waves[size_t(i)], group, frame);
        function->addWidget(m_panel.optMainFunc[size_t(i)], i, 1);
    }
    m_panel.optMainFunc[0]->setChecked(true);
    row->addLayout(function);

    auto* left = boxGrid();
    auto* right = boxGrid();
    row->addLayout(left);
    row->addLayout(right);
    row->addStretch(1);
    boxRows(BoxGroup::Main, {left, right});
    return frame;
}

QWidget* Builder::sweepGroup() {
    QHBoxLayout* row = settingGroup(kSweepGroup);
    QWidget* frame = m_panel.Frame1[size_t(kSweepGroup.frame)];

    auto* modes = new QGridLayout;
    modes->setVerticalSpacing(2);
    modes->addWidget(modeSwitch(kSweepSwitch, frame), 0, 0, 1, 3);

    modes->addWidget(captionLabel(SweepModelCaption, frame), 1, 0);
    QWidget* model = choiceRow("SweepModelChoices", frame);
    optionArray(m_panel.optSweepModel, "optSweepModel", {"Lin", "Log"}, model, model->layout(), 0);
    modes->addWidget(model, 1, 1, 1, 2);

    modes->addWidget(captionLabel(SweepSegmentCaption, frame), 2, 0);
    m_panel.HScrollSweep = scrollBar("HScrollSweep", 1, 8, 1, 5, frame);
    m_panel.HScrollSweep->setMinimumWidth(px(1100));
    modes->addWidget(m_panel.HScrollSweep, 2, 1);
    m_panel.lblSweepSegNo = displayLabel("lblSweepSegNo", frame);
    m_panel.lblSweepSegNo->setText("5");
    modes->addWidget(m_panel.lblSweepSegNo, 2, 2);
    row->addLayout(modes);

    auto* boxes = boxGrid();
    row->addLayout(boxes);
    row->addStretch(1);
    boxRows(BoxGroup::Sweep, {boxes});
    return frame;
}

QWidget* Builder::modulationGroup() {
    QHBoxLayout* row = settingGroup(kModulationGroup);
    QWidget* frame = m_panel.Frame1[size_t(kModulationGroup.frame)];

    auto* modes = new QGridLayout;
    modes->setVerticalSpacing(2);
    modes->addWidget(modeSwitch(kModulationSwitch, frame), 0, 0, 1, 2);

    modes->addWidget(captionLabel(ModModelCaption, frame), 1, 0);
    QWidget* kind = choiceRow("ModKindChoices", frame);
    QButtonGroup* kindGroup = optionGroup("optModKind");
    m_panel.optModAM = option("optModAM", "AM", kindGroup, kind);
    m_panel.optModFM = option("optModFM", "FM", kindGroup, kind);
    kind->layout()->addWidget(m_panel.optModAM);
    kind->layout()->addWidget(m_panel.optModFM);
    m_panel.optModAM->setChecked(true);
    modes->addWidget(kind, 1, 1, Qt::AlignLeft);
    modes->setColumnStretch(1, 1);

    CaptionPanel* source = captionPanel(ModSourcePanel, frame);
    optionArray(m_panel.optModSource, "optModSource", {"Sine", "Triangle", "Square", "Ext"}, source, 0);
    modes->addWidget(source, 2, 0, 1, 2);
    row->addLayout(modes);

    auto* boxes = boxGrid();
    row->addLayout(boxes);
    row->addStretch(1);
    boxRows(BoxGroup::Modulation, {boxes});
    return frame;
}

QGridLayout* Builder::boxColumn(QHBoxLayout* row) {
    QGridLayout* boxes = boxGrid();
    boxes->setVerticalSpacing(4);
    row->addLayout(boxes);
    row->addStretch(1);
    return boxes;
}

CaptionPanel* Builder::sourcePanel(const SourceSpec& spec, QWidget* page) {
    CaptionPanel* source = captionPanel(spec.panel, page);
    QButtonGroup* sourceGroup = optionGroup(spec.group);
    QRadioButton*& intOption = m_panel.*spec.internal;
    QRadioButton*& extOption = m_panel.*spec.external;
    intOption = option(spec.internalName, "Int", sourceGroup, source);
    extOption = option(spec.externalName, "Ext", sourceGroup, source);
    source->contentLayout()->addWidget(intOption);
    source->contentLayout()->addWidget(extOption);
    intOption->setChecked(true);
    return source;
}

QWidget* Builder::functionPage(const FunctionPageSpec& spec) {
    auto* page = new QWidget(m_pages);
    page->setObjectName(indexed("Frame1", spec.frame));
    m_panel.Frame1[size_t(spec.frame)] = page;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 4, 6, 2);
    auto* row = new QHBoxLayout;
    row->setSpacing(px(240));
    column->addLayout(row);

    if (spec.triggerType) {
        auto* modes = new QGridLayout;
        modes->setVerticalSpacing(4);
        modes->addWidget(modeSwitch(spec.mode, page), 0, 0, 1, 2);
        triggerType(modes, page);
        modes->addWidget(sourcePanel(spec.source, page), 2, 0, 1, 2);
        row->addLayout(modes);
    } else {
        auto* modes = new QVBoxLayout;
        modes->setSpacing(4);
        modes->addWidget(modeSwitch(spec.mode, page));
        modes->addWidget(sourcePanel(spec.source, page));
        modes->addStretch(1);
        row->addLayout(modes);
    }

    QGridLayout* boxes = boxColumn(row);
    boxRows(spec.boxes, {boxes});
    if (spec.countFineTuning) countFineTuning(boxes, page);

    column->addStretch(1);
    column->addWidget(warningLine(page));
    return page;
}

void Builder::triggerType(QGridLayout* modes, QWidget* page) {
    modes->addWidget(captionLabel(TriggerTypeCaption, page), 1, 0);
    QWidget* type = choiceRow("TriggerTypeChoices", page);
    optionArray(m_panel.optTriggerType, "optTriggerType", {"Single", "Multi"}, type, type->layout(), 0);
    modes->addWidget(type, 1, 1, Qt::AlignLeft);
    modes->setColumnStretch(1, 1);
}

void Builder::countFineTuning(QGridLayout* boxes, QWidget* page) {
    boxes->addWidget(captionLabel(CountFineTuningCaption, page), 2, 0);
    m_panel.HScroll1 = scrollBar("HScroll1", 10, 90, 10, 10, page);
    boxes->addWidget(m_panel.HScroll1, 2, 1);
    m_panel.lblSymmetry = displayLabel("lblSymmetry", page);
    boxes->addWidget(m_panel.lblSymmetry, 2, 2, 1, 2, Qt::AlignLeft);
}

QWidget* Builder::counterPage() {
    auto* page = new QWidget(m_pages);
    page->setObjectName("Frame2");
    m_panel.Frame2 = page;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 4, 6, 2);
    column->setSpacing(6);
    CaptionPanel* function = modeSwitch(kCounterSwitch, page);
    CaptionPanel* gateTime = captionPanel(GateTimePanel, page);
    optionArray(m_panel.optGateTimeExt, "optGateTimeExt", {"0.01S", "0.1S", "1S", "10S"}, gateTime, 0);
    for (CaptionPanel* panel : {function, gateTime}) {
        auto* line = new QHBoxLayout;
        line->addWidget(panel);
        line->addStretch(1);
        column->addLayout(line);
    }
    column->addStretch(1);
    return page;
}

QWidget* Builder::tabs() {
    m_panel.SSTabTrigger = new QTabWidget(m_area);
    m_pages = m_panel.SSTabTrigger->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    m_panel.SSTabTrigger->setObjectName("SSTabTrigger");
    // The first page added is shown at once, which would lay it out at a size it never has; it
    // is laid out with the rest of the window instead.
    for (const FunctionPageSpec& spec : kFunctionPages) {
        QWidget* page = functionPage(spec);
        const bool first = m_panel.SSTabTrigger->count() == 0;
        if (first) page->layout()->setEnabled(false);
        m_panel.SSTabTrigger->addTab(page, spec.tabTitle);
        if (first) page->layout()->setEnabled(true);
    }
    m_panel.SSTabTrigger->addTab(counterPage(), "External Counter Setting");
    m_panel.SSTabTrigger->setCurrentIndex(0);
    return m_panel.SSTabTrigger;
}

QWidget* Builder::messageLine() {
    auto* line = new QWidget(m_area);
    line->setObjectName("MessageLine");
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(px(30));
    auto* caption = new CaptionPanel("Message:", line);
    caption->setObjectName("SSPanelMessage");
    caption->setFixedWidth(px(MessageCaptionWidthTwips));
    row->addWidget(caption);
    QLineEdit* message = m_txtMessage;
    message->setParent(line);
    QPalette colors = message->palette();
    colors.setColor(QPalette::Base, platformColor(ColorMessageBack));
    colors.setColor(QPalette::Text, platformColor(ColorCaptionRed));
    message->setPalette(colors);
    message->setFocusPolicy(Qt::ClickFocus);
    row->addWidget(message, 1);
    // How far a send has come, shown beside its step lines while it runs.
    m_panel.sendProgress = new QProgressBar(line);
    m_panel.sendProgress->setObjectName("sendProgress");
    m_panel.sendProgress->setFormat(QStringLiteral("%v / %m"));
    m_panel.sendProgress->setAccessibleName(QStringLiteral("Send progress"));
    m_panel.sendProgress->setFixedWidth(px(1100));
    m_panel.sendProgress->hide();
    row->addWidget(m_panel.sendProgress);
    return line;
}

void Builder::connectionFrame(QWidget* area) {
    auto* frame = new QFrame(area);
    frame->setObjectName("fraComm");
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setLineWidth(2);
    frame->setAutoFillBackground(true);
    m_panel.fraComm = frame;

    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(12, 8, 12, 10);
    column->setSpacing(6);
    m_panel.Label5 = plainLabel("Label5", "DXS-4820 RS232 Interface Setting", frame);
    QFont titleFont = m_panel.Label5->font();
    titleFont.setBold(true);
    m_panel.Label5->setFont(titleFont);
    m_panel.Label5->setAlignment(Qt::AlignCenter);
    column->addWidget(m_panel.Label5);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    QButtonGroup* transport = optionGroup("optTransport");
    m_panel.Option1 = option("Option1", "RS232", transport, frame);
    m_panel.Option2 = option("Option2", "GPIB", transport, frame);
    m_panel.Option1->setChecked(true);
    grid->addWidget(m_panel.Option1, 0, 0, 1, 2);
    grid->addWidget(m_panel.Option2, 0, 2);

    CaptionLabel* comCaption = captionLabel(ComPortCaption, frame);
    comCaption->setObjectName(indexed("Label1", ComPortCaption));
    grid->addWidget(comCaption, 1, 0);
    m_panel.cboComPort = new QComboBox(frame);
    m_panel.cboComPort->setObjectName("cboComPort");
    grid->addWidget(m_panel.cboComPort, 1, 1);

    m_panel.Label6 = plainLabel("Label6", "Buad Rate:", frame);
    grid->addWidget(m_panel.Label6, 2, 0);
    m_panel.cboBuadRate = new QComboBox(frame);
    m_panel.cboBuadRate->setObjectName("cboBuadRate");
    grid->addWidget(m_panel.cboBuadRate, 2, 1);

    m_panel.Label9 = plainLabel("Label9", "GPIB: PrimaryAddress   ", frame);
    grid->addWidget(m_panel.Label9, 3, 0);
    m_panel.txtGPIBAddr = new QLineEdit("4", frame);
    m_panel.txtGPIBAddr->setObjectName("txtGPIBAddr");
    grid->addWidget(m_panel.txtGPIBAddr, 3, 1);

    m_panel.Label7 =
        plainLabel("Label7", QStringLiteral("Cycle Time") + QString(13, ' ') + QStringLiteral("ms"), frame);
    grid->addWidget(m_panel.Label7, 4, 0);
    m_panel.txtCycleTime = new QLineEdit("100", frame);
    m_panel.txtCycleTime->setObjectName("txtCycleTime");
    grid->addWidget(m_panel.txtCycleTime, 4, 1);
    m_panel.UpDown1 = new UpDownButtons(frame);
    m_panel.UpDown1->setObjectName("UpDown1");
    grid->addWidget(m_panel.UpDown1, 4, 2);

    m_panel.chkSkipCommand = new QCheckBox("Skip  Sending Commands with the Same Value", frame);
    m_panel.chkSkipCommand->setObjectName("chkSkipCommand");
    m_panel.chkSkipCommand->setChecked(true);
    grid->addWidget(m_panel.chkSkipCommand, 5, 0, 1, 3);
    m_panel.chkSyncRateSym = new QCheckBox("Sync. Rate && SYM Value", frame);
    m_panel.chkSyncRateSym->setObjectName("chkSyncRateSym");
    m_panel.chkSyncRateSym->setChecked(true);
    grid->addWidget(m_panel.chkSyncRateSym, 6, 0, 1, 3);
    column->addLayout(grid);
    column->addStretch(1);

    auto* buttons = new QHBoxLayout;
    m_panel.OKButton = new QPushButton("OK", frame);
    m_panel.OKButton->setObjectName("OKButton");
    m_panel.cmdTestConnect = new QPushButton("Connection Test", frame);
    m_panel.cmdTestConnect->setObjectName("cmdTestConnect");
    m_panel.cmdHelp = new QPushButton("Help", frame);
    m_panel.cmdHelp->setObjectName("cmdHelp");
    for (QPushButton* button : {m_panel.OKButton, m_panel.cmdTestConnect, m_panel.cmdHelp}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    column->addLayout(buttons);

    // The GPIB choice and the advanced settings stay out of sight; they still take part in OK and
    // the connection test with their values.
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             m_panel.Option2, m_panel.Label9, m_panel.txtGPIBAddr, m_panel.Label7, m_panel.txtCycleTime,
             m_panel.UpDown1, m_panel.chkSkipCommand, m_panel.chkSyncRateSym})
        hidden->hide();

    frame->setGeometry(px(2085), px(1350), px(4500), px(2700));
    frame->hide();
}

void Builder::build() {
    auto* area = new QWidget(&m_window);
    area->setObjectName("PanelArea");
    area->setFixedSize(px(ClientWidthTwips), px(ClientHeightTwips));
    // A compact face, as on the instrument's own panel; points scale with the screen's DPI.
    QFont face = area->font();
    face.setPointSizeF(8);
    // Captions, units and numbers need no text shaping; laying them out without it takes a fraction
    // of the time at start-up (a script that needs shaping still gets it).
    face.setStyleStrategy(QFont::PreferNoShaping);
    area->setFont(face);
    m_window.setCentralWidget(area);
    m_area = area;

    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(px(60), px(30), px(60), px(30));
    column->setSpacing(px(45));
    column->addWidget(mainGroup(), kMainGroup.heightTwips);
    column->addWidget(sweepGroup(), kSweepGroup.heightTwips);
    column->addWidget(modulationGroup(), kModulationGroup.heightTwips);
    column->addWidget(tabs(), TabHeightTwips);
    column->addWidget(messageLine(), MessageHeightTwips);

    // Caption labels in red, with the help pointer; the connection frame's port caption is plain.
    for (CaptionLabel* label : m_panel.Label1) {
        if (!label || label == m_panel.Label1[ComPortCaption]) continue;
        keepColourReadable(label, platformColor(ColorCaptionRed));
        label->setCursor(Qt::WhatsThisCursor);
    }

    connectionFrame(area);
    m_window.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace

void buildPanel(QMainWindow& window, Panel& panel, QLineEdit* txtMessage) {
    Builder(window, panel, txtMessage).build();
}
