// The groups' rules as the window runs them. The rules' values have their own tests; a row here shows
// that a box runs its own rule (with its group's variant) on its event, what it marks white or orange,
// asks, opens in help, focuses, copies to other boxes and writes into the record.
#include "rules_window.h"

#include <map>
#include <stdexcept>

namespace {
using F = RecordField;
// clang-format off
const std::map<QString, F> kFields = {{"MainFreq", F::MainFreq}, {"AMRate", F::AMRate}, {"FMRate", F::FMRate}, {"AMDepth", F::AMDepth},
    {"FMSpan", F::FMSpan}, {"AMSymmetry", F::AMSymmetry}, {"FMSymmetry", F::FMSymmetry}, {"TriggerRate", F::TriggerRate},
    {"SweepStart", F::SweepStart}, {"SweepStop", F::SweepStop}, {"TriggerPhase", F::TriggerPhase}};
// Boxes shown together, their texts joined by blanks.
const std::map<QString, QStringList> kGroups = {{"rates", {"txtSweepRate", "txtModRate", "txtTrgRate", "txtBurstPeriod", "txtGatePeriod"}},
    {"syms", {"txtSweepSymmetry", "txtModSymmetry", "txtTrgSymmetry"}}, {"sweep", {"txtSweepStartFreq", "txtSweepStopFreq", "txtSweepSpan", "txtSweepCenterFreq"}}};

QString question(const char* edge, const char* bound) {
    return QString("Sweep %1 Freq. is %2 bound the Current Sweep Segment.\r\nPlease switch Segment.\r\nDo you need help?").arg(edge, bound); }
const QString kSuggest = "Please Change a Modulation Depth. Do you need a suggest value?", kTooLong = "Please Change value of Burst Count. Do you need help?";
const QString kNotShorter = "Gate period should greater than Open Gate time\r\nDo you need help?";
const QString kBurst = "txtBurstCount=;txtMainFreq=1000.0;txtBurstPeriod=100;optTriggerType_0=on;HScroll1=10;txtTrgSymmetry=33;lblSymmetry=";
const QString kGate = "txtMainFreq=1000.0;txtGatePeriod=100;optTriggerType_0=on;txtTrgSymmetry=33;lblOpenGatePeriod= Sec";

// presets: "name=text;..." set in order: a box's text (and step after '/') accepted, a label's text, a bar's
// value, an option or tick "on"/"off", a record field "@Field" ("@" alone clears the record).
// act: 'e' typed and Enter, 't' typed only, 'p' pasted, 'k' typed at the start, 'm' the bar moved, 'c' clicked.
// expected: "name=text;..." as presets, " orange" for a box waiting for Enter, the step after '/' where it is
// the point, "caret" the target's caret. help: the question answered Yes and the help it opens (-1: none),
// 0: answered No. focus: where the focus ends, the target box unless given.
struct Row { QString presets; char act; const char *target, *input, *expected; QString message = ""; int help = 0; const char* focus = nullptr; };
const Row kRows[] = {
    // main setting: amplitude and offset read each other's text without reformatting it
    {"", 'e', "txtMainFreq", "150015", "txtMainFreq=150020/10;@MainFreq=150020"},
    {"txtMainDCOffset=3", 'e', "txtMainAmp", "5", "txtMainAmp=4.00;txtMainDCOffset=3"},
    {"txtMainAmp=5", 'e', "txtMainDCOffset", "7", "txtMainDCOffset=2.50;txtMainAmp=5"},
    {"", 'e', "txtMainDuty", "80.5", "txtMainDuty=80"},
    // modulation: the kind chosen decides the field written and the value shown on switching
    {"@AMRate=kept;@FMRate=kept", 'e', "txtModRate", "101", "txtModRate=200/100;@AMRate=200;@FMRate=kept"},
    {"optModAM=on;@;@AMDepth=40;@FMSpan=20", 'c', "optModFM", "", "txtModSpanDepth=15"},
    {"optModFM=on;@", 'c', "optModAM", "", "txtModSpanDepth="}, // never written
    {"optModFM=on;@AMDepth=40;@FMSpan=7.5", 'c', "optModAM", "", "txtModSpanDepth=40    ;txtModRate=200;txtModSymmetry=50"},
    {"", 'e', "txtModSpanDepth", "33.6", "txtModSpanDepth=34/1;@AMDepth=34"},
    {"", 'e', "txtModSymmetry", "95", "txtModSymmetry=90;@AMSymmetry=90"},
    {"optModFM=on;@AMRate=kept", 'e', "txtModRate", "2500", "txtModRate=2500/100;@FMRate=2500;@AMRate=kept"},
    {"txtMainFreq=10000", 'e', "txtModSpanDepth", "7.46", "txtModSpanDepth=7.5/0.1;@FMSpan=7.5"},
    {"", 'e', "txtModSymmetry", "33", "txtModSymmetry=33;@FMSymmetry=33;@AMSymmetry=90"},
    {"txtMainFreq=14000000", 'e', "txtModSpanDepth", "10", "txtModSpanDepth=7.1;@FMSpan=7.1", kSuggest, -1},
    {"txtMainFreq=14000000", 'e', "txtModSpanDepth", "10", "txtModSpanDepth=10.0;@FMSpan=10.0", kSuggest},
    {"txtMainFreq=20000000", 'e', "txtModSpanDepth", "10", "txtModSpanDepth=10.0"}, // inside no segment
    {"txtMainFreq=", 'e', "txtModSpanDepth", "20", "txtModSpanDepth=15;@FMSpan=15", "Please Input the Freqence value of Main Setting"},
    // rate bands, unticked; the burst rate sets the trigger rate accepted, the gate rate leaves it orange
    {"chkSyncRateSym=off;txtSweepRate=1000.0/1", 'e', "txtSweepRate", "0.010", "txtSweepRate=0.010/1"},
    {"", 'e', "txtTrgRate", "0.010", "txtTrgRate=0.01/0.01;@TriggerRate=0.01"},
    {"", 'e', "txtTrgSymmetry", "33.4", "txtTrgSymmetry=33"},
    {"", 'e', "txtBurstPeriod", "1", "txtBurstPeriod=1.00/0.01;lblBurstPeriodSec=1.0000sec;txtTrgRate=1.00"},
    {"", 'e', "txtGatePeriod", "1", "txtGatePeriod=1/1;lblGatePeriod=1.000sec;txtTrgRate=1 orange"},
    // the copies between the groups while ticked; they keep the receivers' steps and write no record
    {"chkSyncRateSym=on;optModAM=on;@AMRate=kept", 'e', "txtModRate", "2500", "rates=2500 2500 2500 2500 2500;@AMRate=2500"},
    {"", 'e', "txtSweepRate", "101", "rates=200 200 200 200 200;@AMRate=2500"},
    {"txtSweepSymmetry=50;txtTrgSymmetry=50", 'e', "txtModSymmetry", "95", "syms=90 90 90"},
    {"chkSyncRateSym=off", 'e', "txtModRate", "7", "rates=200 7 200 200 200"},
    {"chkSyncRateSym=on", 'e', "txtTrgRate", "260", "rates=300 300 300 200 200"},
    {"", 'e', "txtBurstPeriod", "20", "rates=20/100 20/1 20/100 20/1 20/1"},
    {"", 'e', "txtTrgSymmetry", "33.4", "syms=33 33 33"},
    {"chkSyncRateSym=off", 'e', "txtSweepSymmetry", "", "syms=10 33 33"},
    // the trigger source is one choice in three tabs
    {"", 'c', "optBurstExt", "", "optTriggerExt=on;optGateExt=on"}, {"", 'c', "optBurstInt", "", "optTriggerInt=on;optGateInt=on"},
    {"", 'c', "optGateExt", "", "optTriggerExt=on;optBurstExt=on"}, {"", 'c', "optGateInt", "", "optTriggerInt=on;optBurstInt=on"},
    {"", 'c', "optTriggerExt", "", "optBurstExt=on;optGateExt=on"}, {"", 'c', "optTriggerInt", "", "optBurstInt=on;optGateInt=on"},
    // sweep: the chooser sets the four boxes (no steps), start and stop set span and center with their step
    {"HScrollSweep=1", 'm', "HScrollSweep", "5", "lblSweepSegNo=5;sweep=150/0.01 15000/0.01 14850/0.01 7575/0.01"},
    {"", 'm', "HScrollSweep", "9", "lblSweepSegNo=8;sweep=150000 15000000 14850000 7575000"},
    {"", 'e', "txtSweepStartFreq", "1500050", "sweep=1500100/100 15000000/0.01 13499900/100 8250100/100;@SweepStart=1500100"},
    {"HScrollSweep=6", 'e', "txtSweepStartFreq", "200000", "sweep=1500.00 150000 148500.00 75750.00;@SweepStart=1500.00", question("Start", "over than the upper"), 3771},
    {"HScrollSweep=5", 'e', "txtSweepStopFreq", "150", "sweep=150 15000.0 14850.0 7575.0;@SweepStop=15000.0", question("Stop", "less than the lower")},
    {"", 'e', "txtSweepStopFreq", "15001", "sweep=150 15000.0 14850.0 7575.0", question("Stop", "over than the upper"), 3771},
    // typing marks the pair; a zero start waits, a zero stop accepts both
    {"", 'e', "txtSweepStartFreq", "0", "txtSweepStartFreq=0 orange;txtSweepStopFreq=15000.0 orange"},
    {"", 'e', "txtSweepStopFreq", "0", "txtSweepStartFreq=0;txtSweepStopFreq=0"},
    {"HScrollSweep=1;HScrollSweep=5;txtSweepSpan=14850/0.01", 't', "txtSweepCenterFreq", "5000", "txtSweepSpan=14850 orange;txtSweepCenterFreq=5000 orange"},
    {"", 'e', "txtSweepSpan", "2000", "sweep=4000.00 6000.00 2000 5000", "", 0, "txtSweepCenterFreq"},
    {"", 'e', "txtSweepCenterFreq", "3000", "sweep=2000.00 4000.00 2000 3000"},
    {"txtSweepCenterFreq=100", 'e', "txtSweepSpan", "1000", "sweep=2000.00 4000.00 1000 orange 100 orange", question("Start", "less than the lower"), 4405, "txtSweepCenterFreq"},
    {"", 'e', "txtSweepCenterFreq", "100", "sweep=2000.00 4000.00 1000 orange 100 orange", "Please change the value of Center Freq"},
    // burst count on every change: its share becomes the trigger symmetry and bar, more than one cycle Multi
    {kBurst, 'p', "txtBurstCount", "5", "txtBurstCount=5;txtTrgSymmetry=50;lblSymmetry=50;HScroll1=50;optTriggerType_1=on"},
    {kBurst + ";txtMainFreq=10000.0", 'p', "txtBurstCount", "1", "txtTrgSymmetry=10;lblSymmetry=;optTriggerType_1=off"},
    {kBurst, 'p', "txtBurstCount", "11", "txtBurstCount=0;txtTrgSymmetry=33;HScroll1=10", kTooLong, 10177},
    {kBurst, 'p', "txtBurstCount", "25.5", "txtBurstCount=0", kTooLong}, // asked once, for the rounded count
    {kBurst + ";txtMainFreq=0", 'p', "txtBurstCount", "5", "txtBurstCount=5;txtTrgSymmetry=33", "Please set Main Frequence Value first!", 0, "txtMainFreq"},
    {kBurst + ";txtBurstPeriod=", 'p', "txtBurstCount", "5", "txtTrgSymmetry=33", "Please set Burst Period Value first!", 0, "txtBurstPeriod"},
    {kBurst, 'p', "txtBurstCount", "-3", "txtBurstCount=0;txtTrgSymmetry=33;optTriggerType_1=off"},
    {kBurst + ";txtMainFreq=10000.0;txtBurstCount=12", 'k', "txtBurstCount", "0", "txtBurstCount=12;caret=1;HScroll1=12"},
    // the fine-tuning bar: the symmetry waits for its Enter
    {"txtMainFreq=1000.0;txtBurstPeriod=100;HScroll1=20", 'm', "HScroll1", "35", "txtTrgSymmetry=35 orange;lblSymmetry=35"},
    {"txtMainFreq=;HScroll1=20;txtTrgSymmetry=33;lblSymmetry=", 'm', "HScroll1", "35", "txtTrgSymmetry=33;lblSymmetry=", "Please give the Main Frequence value first. (information)"},
    {"txtMainFreq=1000.0;txtBurstPeriod=;HScroll1=20;txtTrgSymmetry=33", 'm', "HScroll1", "35", "txtTrgSymmetry=33", "Please give the Burst Period value first. (information)"},
    // the open gate's share of the gate period becomes the trigger symmetry, the type Multi
    {kGate, 'e', "txtOpenGatePeriod", "1000", "txtOpenGatePeriod=1000/100;lblOpenGatePeriod=0.0010sec;txtTrgSymmetry=10;optTriggerType_1=on"},
    {kGate, 'e', "txtOpenGatePeriod", "0.0015", "txtOpenGatePeriod=100/0.001;lblOpenGatePeriod=0.0100sec;txtTrgSymmetry=33;optTriggerType_1=off", kNotShorter, 12213},
    {kGate + ";txtGatePeriod=", 'e', "txtOpenGatePeriod", "400", "txtOpenGatePeriod=400/100;lblOpenGatePeriod= Sec", "Please input the Gate Period Value first", 0, "txtGatePeriod"},
    {kGate, 'e', "txtOpenGatePeriod", "-5", "txtOpenGatePeriod=0.01/0.01;lblOpenGatePeriod= Sec"},
    {kGate + ";txtMainFreq=", 'e', "txtOpenGatePeriod", "400", "lblOpenGatePeriod=0.0025sec;txtTrgSymmetry=33;optTriggerType_1=on", "Please input the Main Frequence Value first", 0, "txtMainFreq"},
    // the trigger phase on every change; the caret stays where the key was typed
    {"", 'p', "txtTrgPhase", "12.7", "txtTrgPhase=13/1;@TriggerPhase=13"},
    {"txtTrgPhase=45", 'k', "txtTrgPhase", "1", "txtTrgPhase=80;caret=1"},
};
// clang-format on

class RuleRows : public RulesWindow {
protected:
    QWidget* widget(const QString& name) {
        if (auto* found = window().findChild<QWidget*>(name)) return found;
        throw std::runtime_error("no widget " + name.toStdString());
    }
    void set(const QString& name, const QString& value) {
        if (name == "@") return window().record.clear();
        if (name.startsWith('@')) return window().record.setText(kFields.at(name.mid(1)), value);
        QWidget* w = widget(name);
        if (auto* box = qobject_cast<NumericBox*>(w))
            return preset(box, value.section('/', 0, 0),
                          value.contains('/') ? value.section('/', 1) : QString());
        if (auto* label = qobject_cast<QLabel*>(w)) return label->setText(value);
        if (auto* bar = qobject_cast<QScrollBar*>(w)) return bar->setValue(value.toInt());
        qobject_cast<QAbstractButton*>(w)->setChecked(value == "on");
    }
    QString shown(QWidget* w, bool steps) {
        if (auto* box = qobject_cast<NumericBox*>(w)) return steps ? state(box) : look(box);
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* bar = qobject_cast<QScrollBar*>(w)) return QString::number(bar->value());
        return qobject_cast<QAbstractButton*>(w)->isChecked() ? "on" : "off";
    }
    // The expected items as the window shows them now.
    QString shown(const Row& row) {
        QStringList items;
        for (const QString& item : QString(row.expected).split(';')) {
            const QString name = item.section('=', 0, 0);
            QStringList texts;
            if (name == "caret") {
                texts << QString::number(qobject_cast<NumericBox*>(widget(row.target))->cursorPosition());
            } else if (name.startsWith('@')) {
                const F field = kFields.at(name.mid(1));
                const SettingsRecord& record = window().record;
                texts << (field == F::AMSymmetry ? QString::number(record.integer(field))
                                                 : record.text(field).trimmed());
            } else {
                for (const QString& each : kGroups.contains(name) ? kGroups.at(name) : QStringList{name})
                    texts << shown(widget(each), item.contains('/'));
            }
            items << name + "=" + texts.join(' ');
        }
        return items.join(';');
    }
    void act(const Row& row) {
        QWidget* w = widget(row.target);
        auto* box = qobject_cast<NumericBox*>(w);
        for (QWidget* up = w; up; up = up->parentWidget()) // its tab page in front, so it can take the focus
            if (const int page = panel().SSTabTrigger->indexOf(up); page >= 0)
                panel().SSTabTrigger->setCurrentIndex(page);
        if (row.act == 'm') qobject_cast<QScrollBar*>(w)->setValue(QString(row.input).toInt());
        if (row.act == 'c') qobject_cast<QAbstractButton*>(w)->click();
        if (row.act == 'p') paste(box, row.input);
        if (row.act == 'e' || row.act == 't') type(box, row.input);
        if (row.act == 'e') confirm(box);
        if (row.act == 'k') box->setFocus(), box->setCursorPosition(0), QTest::keyClicks(box, row.input);
        settle();
    }
};

} // namespace

TEST_F(RuleRows, EachBoxRunsItsRuleOnItsEvent) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - kRows << ": " << row.target << " " << row.input);
        for (const QString& preset : row.presets.split(';', Qt::SkipEmptyParts))
            set(preset.section('=', 0, 0), preset.section('=', 1));
        settle();
        dialogs().messages.clear();
        dialogs().helpRequests.clear();
        dialogs().answers = {row.help ? UserDialogs::Answer::Yes : UserDialogs::Answer::No};
        act(row);
        EXPECT_EQ(shown(row), QString(row.expected));
        QStringList messages;
        for (const ScriptedDialogs::Shown& m : dialogs().messages)
            messages << m.text + (m.icon == UserDialogs::Icon::Information ? " (information)" : "");
        EXPECT_EQ(messages.join('|'), row.message);
        EXPECT_EQ(dialogs().helpRequests, row.help > 0 ? std::vector<int>{row.help} : std::vector<int>{});
        if (row.focus || (row.act != 'm' && row.act != 'c')) {
            EXPECT_EQ(focused(), QString(row.focus ? row.focus : row.target));
        }
    }
}
