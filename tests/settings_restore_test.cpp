// Loading a setting file into the real panel: which fields reach which boxes and options, and the
// rules for empty texts, codes out of range and the modulation kind.
#include "operations/Operations.h"
#include "operations/record/RecordFile.h"
#include "panel/NumericBox.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <functional>
#include <random>
#include <vector>

namespace {

// Puts raw bytes into a text field, as a hand-made file would hold them.
void setRaw(SettingsRecord& record, RecordField field, const QByteArray& raw) {
    const RecordFieldLayout& row = SettingsRecord::layout(field);
    QByteArray bytes = record.bytes();
    bytes.replace(row.offset, row.width, raw.leftJustified(row.width, '\0', true));
    record.setBytes(bytes);
}

class SettingsRestore : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_NE(window().panel.txtMainFreq, nullptr);
    }
    Panel& panel() { return m_window->panel; }
    // Writes the record to a file and loads it through the File menu.
    void load(const SettingsRecord& record, const QString& name = "hand-made.Log") {
        const QString path = QDir(folder()).filePath(name);
        ASSERT_TRUE(recordfile::writeRecord(path, record));
        dialogs().files.push_back(path);
        m_window->LoadFile->trigger();
    }
    // A box holding an edited (orange) text, to see whether restoring touches it.
    static void edit(NumericBox* box, const QString& text) {
        box->setText(text);
        box->markEdited();
    }
};

} // namespace

TEST_F(SettingsRestore, TextFieldsLoseTheirBlanksEndAtAZeroAndTurnTheBoxWhite) {
    struct Case {
        QByteArray field; // the main frequency field's 10 bytes
        QString shown;    // empty: the box keeps its edited text
    };
    const std::vector<Case> cases = {
        {"  1000    ", "1000"},
        {"1000.0    ", "1000.0"},
        {"1234567890", "1234567890"},
        {"12" + QByteArray(8, '\0'), "12"},
        {" 12 " + QByteArray(1, '\0') + "99   ", "12"},
        {QByteArray(10, '\0'), ""}, // never written: nothing restored
        {"          ", ""},         // all blanks: nothing restored
        {QByteArray(1, '\0') + " 12      ", ""},
        {QByteArray("\t1000\t    "), "\t1000\t"}, // only blanks are trimmed
    };
    for (const Case& c : cases) {
        edit(panel().txtMainFreq, "777");
        SettingsRecord record;
        setRaw(record, RecordField::MainFreq, c.field);
        load(record);
        const bool restored = !c.shown.isEmpty();
        EXPECT_EQ(panel().txtMainFreq->text(), restored ? c.shown : QString("777")) << c.field.toStdString();
        EXPECT_EQ(panel().txtMainFreq->BackColor(), restored ? ColorWhite : ColorOrange)
            << c.field.toStdString();
        // Restoring writes no field of the record itself.
        EXPECT_EQ(m_window->record.rawText(RecordField::MainFreq), c.field) << c.field.toStdString();
    }
}

TEST_F(SettingsRestore, EveryTextFieldReachesItsBox) {
    struct Case {
        RecordField field;
        NumericBox* Panel::*box;
        QString text;
    };
    const std::vector<Case> cases = {
        {RecordField::MainFreq, &Panel::txtMainFreq, "2500.0"},
        {RecordField::Amplitude, &Panel::txtMainAmp, "1.25"},
        {RecordField::DCOffset, &Panel::txtMainDCOffset, "-0.50"},
        {RecordField::Duty, &Panel::txtMainDuty, "30"},
        {RecordField::SweepStart, &Panel::txtSweepStartFreq, "1500.00"},
        {RecordField::SweepStop, &Panel::txtSweepStopFreq, "2500.00"},
        {RecordField::SweepSymmetry, &Panel::txtSweepSymmetry, "70"},
        {RecordField::SweepRate, &Panel::txtSweepRate, "20.0"},
        {RecordField::TriggerRate, &Panel::txtTrgRate, "100.0"},
        {RecordField::TriggerSymmetry, &Panel::txtTrgSymmetry, "40"},
        {RecordField::TriggerPhase, &Panel::txtTrgPhase, "-45"},
    };
    SettingsRecord record;
    for (const Case& c : cases)
        record.setText(c.field, c.text);
    for (const Case& c : cases)
        edit(panel().*c.box, "1");
    load(record);
    for (const Case& c : cases) {
        NumericBox* box = panel().*c.box;
        EXPECT_EQ(box->text(), c.text) << box->objectName().toStdString();
        EXPECT_EQ(box->BackColor(), ColorWhite) << box->objectName().toStdString();
    }
}

TEST_F(SettingsRestore, CodesChooseTheirOptionsAndOthersChangeNothing) {
    struct Case {
        const char* what;
        RecordField field;
        int16_t code;
        std::function<void(Panel&)> before; // a choice the code must change or keep
        std::function<bool(Panel&)> expected;
    };
    auto only = [](auto& group, size_t chosen) {
        for (size_t i = 0; i < group.size(); ++i)
            if (group[i]->isChecked() != (i == chosen)) return false;
        return true;
    };
    const std::vector<Case> cases = {
        {"waveform 1", RecordField::MainWaveform, 1, [](Panel& p) { p.optMainFunc[2]->setChecked(true); },
         [&](Panel& p) { return only(p.optMainFunc, 0); }},
        {"waveform 2", RecordField::MainWaveform, 2, [](Panel& p) { p.optMainFunc[0]->setChecked(true); },
         [&](Panel& p) { return only(p.optMainFunc, 1); }},
        {"waveform 3", RecordField::MainWaveform, 3, [](Panel& p) { p.optMainFunc[0]->setChecked(true); },
         [&](Panel& p) { return only(p.optMainFunc, 2); }},
        {"waveform 0", RecordField::MainWaveform, 0, [](Panel& p) { p.optMainFunc[2]->setChecked(true); },
         [&](Panel& p) { return only(p.optMainFunc, 2); }},
        {"waveform 4", RecordField::MainWaveform, 4, [](Panel& p) { p.optMainFunc[1]->setChecked(true); },
         [&](Panel& p) { return only(p.optMainFunc, 1); }},
        {"sweep model 0", RecordField::SweepModel, 0, [](Panel& p) { p.optSweepModel[1]->setChecked(true); },
         [&](Panel& p) { return only(p.optSweepModel, 1); }},
        {"sweep model 0 on Lin", RecordField::SweepModel, 0,
         [](Panel& p) { p.optSweepModel[0]->setChecked(true); },
         [&](Panel& p) { return only(p.optSweepModel, 0); }},
        {"sweep model 1", RecordField::SweepModel, 1, [](Panel& p) { p.optSweepModel[0]->setChecked(true); },
         [&](Panel& p) { return only(p.optSweepModel, 1); }},
        {"sweep model 2", RecordField::SweepModel, 2, [](Panel& p) { p.optSweepModel[0]->setChecked(true); },
         [&](Panel& p) { return only(p.optSweepModel, 0); }},
        {"source 2", RecordField::ModSource, 2, [](Panel& p) { p.optModSource[3]->setChecked(true); },
         [&](Panel& p) { return only(p.optModSource, 1); }},
        {"source 3", RecordField::ModSource, 3, [](Panel& p) { p.optModSource[0]->setChecked(true); },
         [&](Panel& p) { return only(p.optModSource, 2); }},
        {"source 0 keeps Ext", RecordField::ModSource, 0,
         [](Panel& p) { p.optModSource[3]->setChecked(true); },
         [&](Panel& p) { return only(p.optModSource, 3); }},
        {"source 4", RecordField::ModSource, 4, [](Panel& p) { p.optModSource[1]->setChecked(true); },
         [&](Panel& p) { return only(p.optModSource, 1); }},
        {"trigger type 0", RecordField::TriggerType, 0,
         [](Panel& p) { p.optTriggerType[1]->setChecked(true); },
         [&](Panel& p) { return only(p.optTriggerType, 0); }},
        {"trigger type 5", RecordField::TriggerType, 5,
         [](Panel& p) { p.optTriggerType[0]->setChecked(true); },
         [&](Panel& p) { return only(p.optTriggerType, 1); }},
        {"trigger type -1", RecordField::TriggerType, -1,
         [](Panel& p) { p.optTriggerType[1]->setChecked(true); },
         [&](Panel& p) { return only(p.optTriggerType, 1); }},
        {"segment 2", RecordField::SweepSegment, 2, [](Panel& p) { p.HScrollSweep->setValue(5); },
         [](Panel& p) { return p.HScrollSweep->value() == 2; }},
        {"segment 8", RecordField::SweepSegment, 8, [](Panel& p) { p.HScrollSweep->setValue(5); },
         [](Panel& p) { return p.HScrollSweep->value() == 8; }},
        {"segment 0", RecordField::SweepSegment, 0, [](Panel& p) { p.HScrollSweep->setValue(3); },
         [](Panel& p) { return p.HScrollSweep->value() == 3; }},
        {"segment 9", RecordField::SweepSegment, 9, [](Panel& p) { p.HScrollSweep->setValue(3); },
         [](Panel& p) { return p.HScrollSweep->value() == 3; }},
        {"segment -1", RecordField::SweepSegment, -1, [](Panel& p) { p.HScrollSweep->setValue(6); },
         [](Panel& p) { return p.HScrollSweep->value() == 6; }},
        {"cycle time 250", RecordField::CycleTime, 250, [](Panel& p) { p.txtCycleTime->setText("100"); },
         [](Panel& p) { return p.txtCycleTime->text() == "250"; }},
        {"cycle time 0", RecordField::CycleTime, 0, [](Panel& p) { p.txtCycleTime->setText("100"); },
         [](Panel& p) { return p.txtCycleTime->text() == "0"; }},
        {"cycle time -5", RecordField::CycleTime, -5, [](Panel& p) { p.txtCycleTime->setText("100"); },
         [](Panel& p) { return p.txtCycleTime->text() == "100"; }},
    };
    for (const Case& c : cases) {
        c.before(panel());
        SettingsRecord record;
        record.setInteger(c.field, c.code);
        load(record);
        EXPECT_TRUE(c.expected(panel())) << c.what;
        EXPECT_EQ(m_window->record.integer(c.field), c.code) << c.what;
    }
}

TEST_F(SettingsRestore, ALoadedTriangleStoresItsCodeAgain) {
    SettingsRecord record;
    record.setInteger(RecordField::MainWaveform, 2);
    load(record);
    EXPECT_TRUE(panel().optMainFunc[1]->isChecked());
    EXPECT_EQ(m_window->record.integer(RecordField::MainWaveform), 2);
    // The choice is the panel's own: choosing Sine afterwards stores 1.
    panel().optMainFunc[0]->setChecked(true);
    EXPECT_EQ(m_window->record.integer(RecordField::MainWaveform), 1);
}

TEST_F(SettingsRestore, TheStoredSweepTextsWinOverTheSegmentRule) {
    SettingsRecord record;
    record.setInteger(RecordField::SweepSegment, 2);
    record.setText(RecordField::SweepStart, "150.00");
    record.setText(RecordField::SweepStop, "250.00");
    // What the segment chooser's own rule shows for segment 2 in the boxes that are not restored.
    panel().HScrollSweep->setValue(2);
    const QString center = panel().txtSweepCenterFreq->text();
    const QString span = panel().txtSweepSpan->text();
    panel().HScrollSweep->setValue(5);
    ASSERT_NE(panel().txtSweepCenterFreq->text(), center);

    load(record);
    EXPECT_EQ(panel().HScrollSweep->value(), 2);
    EXPECT_EQ(panel().txtSweepStartFreq->text(), QString("150.00"));
    EXPECT_EQ(panel().txtSweepStopFreq->text(), QString("250.00"));
    EXPECT_EQ(panel().txtSweepCenterFreq->text(), center);
    EXPECT_EQ(panel().txtSweepSpan->text(), span);
}

TEST_F(SettingsRestore, TheModulationFieldsFollowTheKindChosenNow) {
    SettingsRecord record;
    record.setText(RecordField::AMRate, "100.0");
    record.setInteger(RecordField::AMSymmetry, 45);
    record.setText(RecordField::AMDepth, "30");
    record.setText(RecordField::FMRate, "0.50");
    record.setText(RecordField::FMSymmetry, "60");
    record.setText(RecordField::FMSpan, "2.5");
    struct Case {
        bool am;
        QString rate, symmetry, spanDepth;
    };
    for (const Case& c : {Case{true, "100.0", "45", "30"}, Case{false, "0.50", "60", "2.5"}}) {
        (c.am ? panel().optModAM : panel().optModFM)->setChecked(true);
        load(record);
        EXPECT_EQ(panel().txtModRate->text(), c.rate) << c.am;
        EXPECT_EQ(panel().txtModSymmetry->text(), c.symmetry) << c.am;
        EXPECT_EQ(panel().txtModSpanDepth->text(), c.spanDepth) << c.am;
        EXPECT_EQ(panel().optModAM->isChecked(), c.am); // the kind itself is not restored
    }
    // The AM symmetry is a whole number and always restored, a never-written one as 0.
    panel().optModAM->setChecked(true);
    edit(panel().txtModSymmetry, "77");
    load(SettingsRecord());
    EXPECT_EQ(panel().txtModSymmetry->text(), QString("0"));
    EXPECT_EQ(panel().txtModSymmetry->BackColor(), ColorWhite);
}

TEST_F(SettingsRestore, LoadingAMissingFileRestoresTheRecordAsItIs) {
    m_window->record.setText(RecordField::Amplitude, "2.00");
    m_window->sendAll = false;
    dialogs().files.push_back(QDir(folder()).filePath("no such file.Log"));
    m_window->LoadFile->trigger();
    EXPECT_EQ(panel().txtMainAmp->text(), QString("2.00"));
    EXPECT_TRUE(m_window->sendAll);
    EXPECT_FALSE(QFileInfo::exists(QDir(folder()).filePath("no such file.Log")));
}

TEST_F(SettingsRestore, StartingWithADefaultFileLeavesTheDesignDefaultsShown) {
    SettingsRecord record;
    record.setText(RecordField::MainFreq, "2500.0");
    record.setInteger(RecordField::MainWaveform, 3);
    record.setInteger(RecordField::SweepSegment, 2);
    m_window.reset();
    writeAll(QDir(folder()).filePath("DXS4820.Log"), record.slot());
    frmDXS& w = window();
    EXPECT_EQ(w.record, record);
    EXPECT_EQ(w.panel.txtMainFreq->text(), QString("10000"));
    EXPECT_TRUE(w.panel.optMainFunc[0]->isChecked());
    EXPECT_EQ(w.panel.HScrollSweep->value(), 5);
}

TEST_F(SettingsRestore, RandomAndTruncatedFilesLoadWithoutHarmAndStayAsTheyWere) {
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 2 * SettingsRecord::SlotSize);
    std::uniform_int_distribution<int> smallCode(-2, 10);
    SettingsRecord plausible;
    plausible.setText(RecordField::MainFreq, "1000");
    plausible.setInteger(RecordField::SweepSegment, 3);
    const QByteArray valid = plausible.slot();
    const QString path = QDir(folder()).filePath("fuzz.Log");
    for (int round = 0; round < 150; ++round) {
        QByteArray content;
        if (round % 3 == 0) {
            content = valid.left(round % (valid.size() + 1));
        } else {
            content.resize(length(random));
            for (char& b : content)
                b = char(byte(random));
            // Codes in and around their ranges, so that the options and the chooser are exercised.
            for (RecordField field :
                 {RecordField::MainWaveform, RecordField::SweepModel, RecordField::SweepSegment,
                  RecordField::ModSource, RecordField::TriggerType})
                if (round % 3 == 2 && content.size() >= SettingsRecord::layout(field).offset + 2) {
                    const int16_t code = int16_t(smallCode(random));
                    content[SettingsRecord::layout(field).offset] = char(code & 0xFF);
                    content[SettingsRecord::layout(field).offset + 1] = char((code >> 8) & 0xFF);
                }
        }
        if (round % 2) (round % 4 == 1 ? panel().optModAM : panel().optModFM)->setChecked(true);
        writeAll(path, content);
        const QDateTime modified = QFileInfo(path).lastModified();
        dialogs().files.push_back(path);
        m_window->LoadFile->trigger();
        ASSERT_EQ(readAll(path), content) << round;
        EXPECT_EQ(QFileInfo(path).lastModified(), modified) << round;
        EXPECT_GE(panel().HScrollSweep->value(), 1);
        EXPECT_LE(panel().HScrollSweep->value(), 8);
        EXPECT_TRUE(m_window->sendAll);
    }
    EXPECT_TRUE(dialogs().messages.empty());
}
