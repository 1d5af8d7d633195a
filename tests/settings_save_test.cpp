// Saving the panel to a file the user chooses: what is copied into the record, the modulation
// kind, the AM symmetry's whole number, a longer file's tail, and a failure told to the user.
#include "operations/Operations.h"
#include "operations/record/RecordFile.h"
#include "panel/NumericBox.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QRadioButton>
#include <QScrollBar>
#include <vector>

namespace {

class SettingsSave : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_NE(window().panel.txtMainFreq, nullptr);
    }
    Panel& panel() { return m_window->panel; }
    QString path(const QString& name = "saved.Log") const { return QDir(folder()).filePath(name); }
    void save(const QString& file) {
        dialogs().files.push_back(file);
        m_window->SaveFile->trigger();
    }
    SettingsRecord saved(const QString& file) {
        SettingsRecord record;
        EXPECT_EQ(recordfile::readRecord(file, record), recordfile::ReadStatus::Read);
        return record;
    }
};

} // namespace

TEST_F(SettingsSave, ThePanelIsCopiedIntoTheRecordAndWritten) {
    struct Case {
        NumericBox* Panel::*box;
        RecordField field;
        QString text;
        QByteArray stored;
    };
    const std::vector<Case> cases = {
        {&Panel::txtMainFreq, RecordField::MainFreq, "123456789012", "1234567890"},
        {&Panel::txtMainAmp, RecordField::Amplitude, "1.25", "1.25  "},
        {&Panel::txtMainDCOffset, RecordField::DCOffset, "-0.50", "-0.50 "},
        {&Panel::txtMainDuty, RecordField::Duty, "5", "5 "},
        {&Panel::txtModRate, RecordField::AMRate, "100.0", "100.0 "},
        {&Panel::txtModSpanDepth, RecordField::AMDepth, "30", "30    "},
        {&Panel::txtSweepRate, RecordField::SweepRate, "20.0", "20.0  "},
        {&Panel::txtSweepStartFreq, RecordField::SweepStart, "1500.00", "1500.00   "},
        {&Panel::txtSweepStopFreq, RecordField::SweepStop, "2500.00", "2500.00   "},
        {&Panel::txtSweepSymmetry, RecordField::SweepSymmetry, "70", "70"},
        {&Panel::txtTrgPhase, RecordField::TriggerPhase, "-45", "-45"},
        {&Panel::txtTrgRate, RecordField::TriggerRate, "", "      "}, // texts as they are, even empty
        {&Panel::txtTrgSymmetry, RecordField::TriggerSymmetry, "40", "40 "},
    };
    panel().optModAM->setChecked(true);
    panel().HScrollSweep->setValue(7); // first: its rule rewrites the sweep frequency boxes
    for (const Case& c : cases)
        (panel().*c.box)->setText(c.text); // accepted or not
    panel().txtModSymmetry->setText("45");
    save(path());

    ASSERT_EQ(dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(dialogs().fileRequests[0].initialFolder, QDir::toNativeSeparators(folder() + "/"));
    EXPECT_EQ(dialogs().fileRequests[0].presetName, QString("DXS4820.Log"));
    const SettingsRecord record = saved(path());
    for (const Case& c : cases)
        EXPECT_EQ(record.rawText(c.field), c.stored) << int(c.field);
    EXPECT_EQ(record.integer(RecordField::AMSymmetry), 45);
    EXPECT_EQ(record.integer(RecordField::SweepSegment), 7);
    EXPECT_EQ(record, m_window->record);
    EXPECT_EQ(readAll(path()), m_window->record.slot());
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(SettingsSave, SavingWithFmWritesTheFmFieldsAndLeavesTheAmOnes) {
    SettingsRecord start;
    start.setText(RecordField::AMRate, "100.0");
    start.setInteger(RecordField::AMSymmetry, 45);
    start.setText(RecordField::AMDepth, "30");
    m_window->record = start;

    panel().optModFM->setChecked(true);
    panel().txtModRate->setText("0.50");
    panel().txtModSpanDepth->setText("2.5");
    panel().txtModSymmetry->setText("60");
    save(path());
    SettingsRecord record = saved(path());
    EXPECT_EQ(record.rawText(RecordField::FMRate), QByteArray("0.50  "));
    EXPECT_EQ(record.rawText(RecordField::FMSpan), QByteArray("2.5   "));
    EXPECT_EQ(record.rawText(RecordField::FMSymmetry), QByteArray("60 "));
    EXPECT_EQ(record.rawText(RecordField::AMRate), start.rawText(RecordField::AMRate));
    EXPECT_EQ(record.integer(RecordField::AMSymmetry), 45);
    EXPECT_EQ(record.rawText(RecordField::AMDepth), start.rawText(RecordField::AMDepth));

    // Loading that file while AM is chosen restores the AM fields, not the FM ones.
    panel().optModAM->setChecked(true);
    dialogs().files.push_back(path());
    m_window->LoadFile->trigger();
    EXPECT_EQ(panel().txtModRate->text(), QString("100.0"));
    EXPECT_EQ(panel().txtModSymmetry->text(), QString("45"));
    EXPECT_EQ(panel().txtModSpanDepth->text(), QString("30"));
}

TEST_F(SettingsSave, TheAmSymmetryIsAWholeNumberOrKeepsTheStoredOne) {
    struct Case {
        QString text;
        int16_t stored;
    };
    const int16_t previous = 33;
    const std::vector<Case> cases = {
        {"45", 45},        {" 41 ", 41},        {"2.5", 2},         {"3.5", 4},          {"-2.5", -2},
        {"49.6", 50},      {"32767.4", 32767},  {"-32768", -32768}, {"32768", previous}, {"", previous},
        {"abc", previous}, {"12abc", previous}, {"1e1", 10},
    };
    panel().optModAM->setChecked(true);
    for (const Case& c : cases) {
        m_window->record.setInteger(RecordField::AMSymmetry, previous);
        panel().txtModSymmetry->setText(c.text);
        save(path());
        EXPECT_EQ(saved(path()).integer(RecordField::AMSymmetry), c.stored) << c.text.toStdString();
    }
}

TEST_F(SettingsSave, SaveAndLoadRoundTripThroughThePanel) {
    panel().HScrollSweep->setValue(4); // first: its rule rewrites the sweep frequency boxes
    panel().txtMainFreq->setText("2500.0");
    panel().txtTrgPhase->setText("45");
    panel().txtSweepStartFreq->setText("1200.00");
    save(path());

    panel().HScrollSweep->setValue(6);
    panel().txtMainFreq->setText("1");
    panel().txtSweepStartFreq->setText("2");
    m_window->record.clear();
    dialogs().files.push_back(path());
    m_window->LoadFile->trigger();
    EXPECT_EQ(panel().txtMainFreq->text(), QString("2500.0"));
    EXPECT_EQ(panel().txtSweepStartFreq->text(), QString("1200.00"));
    EXPECT_EQ(panel().HScrollSweep->value(), 4);
    EXPECT_EQ(panel().txtMainFreq->BackColor(), ColorWhite);
    EXPECT_EQ(m_window->record, saved(path()));
}

TEST_F(SettingsSave, SavingOverALongerFileKeepsItsTail) {
    const QByteArray old = QByteArray(SettingsRecord::SlotSize, 'o') + "the tail of the file";
    writeAll(path(), old);
    save(path());
    const QByteArray now = readAll(path());
    EXPECT_EQ(now.left(SettingsRecord::SlotSize), m_window->record.slot());
    EXPECT_EQ(now.mid(SettingsRecord::SlotSize), QByteArray("the tail of the file"));
}

TEST_F(SettingsSave, ASaveThatFailsIsToldToTheUserNamingTheFile) {
    writeAll(path("plain"), "a file, not a folder");
    // Tests run as root, whom permissions do not stop: these fail for every user.
    const QStringList targets = {path("plain/DXS4820.Log"), path("no such folder/DXS4820.Log")};
    for (const QString& target : targets) {
        dialogs().messages.clear();
        save(target);
        ASSERT_EQ(dialogs().messages.size(), 1u) << target.toStdString();
        const ScriptedDialogs::Shown& shown = dialogs().messages[0];
        EXPECT_TRUE(shown.text.contains(QDir::toNativeSeparators(target))) << shown.text.toStdString();
        EXPECT_EQ(shown.buttons, UserDialogs::Buttons::Ok);
        EXPECT_EQ(shown.icon, UserDialogs::Icon::Warning);
        EXPECT_FALSE(QFile::exists(target));
    }
    EXPECT_EQ(readAll(path("plain")), QByteArray("a file, not a folder"));
}

TEST_F(SettingsSave, ASaveStoppedByAFullDiskIsToldAndLeavesTheOldFile) {
    const QByteArray old = QByteArray(600, 'o');
    writeAll(path(), old);
    {
        const FileSizeLimit fullDisk(300);
        save(path());
    }
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(dialogs().messages[0].text.contains(QDir::toNativeSeparators(path())));
    EXPECT_EQ(readAll(path()), old);
}
