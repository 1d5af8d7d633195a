// The setting files through the real window: the default file at start-up and closing, the File
// menu's Save and Load with their dialogs, and restoring a loaded record into the panel.
#include "app/QtUserDialogs.h"
#include "operations/Operations.h"
#include "operations/record/RecordFile.h"
#include "panel/NumericBox.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QRadioButton>
#include <QScrollBar>
#include <map>
#include <tuple>

using F = RecordField;

namespace {

SettingsRecord stored() {
    SettingsRecord record;
    record.setInteger(F::BaudRate, 19200);
    record.setInteger(F::MainWaveform, 3);
    record.setText(F::MainFreq, "2500.0");
    record.setInteger(F::SweepSegment, 2);
    return record;
}

class SettingsWindow : public WindowFixture {
protected:
    Panel& panel() { return window().panel; }
    QString path(const QString& name = "DXS4820.Log") const { return QDir(folder()).filePath(name); }
    // The File menu's Save or Load, the dialog answering with `file`.
    void use(QAction* frmDXS::*action, const QString& file) {
        window();
        dialogs().files.push_back(file);
        (m_window.get()->*action)->trigger();
    }
    void save(const QString& file) { use(&frmDXS::SaveFile, file); }
    void load(const QString& file) { use(&frmDXS::LoadFile, file); }
    void load(const QByteArray& bytes) {
        writeAll(path("hand-made.Log"), bytes);
        load(path("hand-made.Log"));
    }
    void load(const SettingsRecord& record) { load(record.slot()); }
    // A box holding an edited (orange) text, to see whether restoring touches it.
    static void edit(NumericBox* box, const QString& text) {
        box->setText(text);
        box->markEdited();
    }
};

} // namespace

// Start-up reads the default file without showing it in the panel; closing writes the record back,
// keeping a longer file's tail, and creates the file on a first start. A store that fails at closing
// shows no box and leaves the old file whole.
TEST_F(SettingsWindow, StartUpReadsTheDefaultFileAndClosingStoresIt) {
    EXPECT_EQ(QDir::fromNativeSeparators(defaultSettingFile()), path());
    const QByteArray tail = "bytes after the record slot";
    const struct {
        QByteArray file;
        rlim_t room;
        QByteArray after;
    } cases[] = {{"", RLIM_INFINITY, SettingsRecord().slot()},
                 {stored().slot() + tail, RLIM_INFINITY, stored().slot() + tail},
                 {stored().slot() + QByteArray(400, 'x'), 300, stored().slot() + QByteArray(400, 'x')}};
    for (const auto& c : cases) {
        if (!c.file.isEmpty()) writeAll(path(), c.file);
        EXPECT_EQ(window().record, c.file.isEmpty() ? SettingsRecord() : stored());
        EXPECT_EQ(panel().txtMainFreq->text() + " " + QString::number(panel().HScrollSweep->value()),
                  "10000 5");
        EXPECT_TRUE(panel().optMainFunc[0]->isChecked());
        if (c.room != RLIM_INFINITY) window().record.setText(F::MainFreq, "5"); // a change that is lost
        {
            const FileSizeLimit fullDisk(c.room);
            window().close();
        }
        EXPECT_TRUE(dialogs().messages.empty());
        EXPECT_EQ(readAll(path()), c.after);
        EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"DXS4820.Log"});
        m_window.reset();
    }
}

TEST_F(SettingsWindow, TheDialogsOpenInTheProgramFolderAndLoadAlwaysSendsAll) {
    writeAll(path(), stored().slot());
    frmDXS& w = window();
    // Cancelled Save and Load, and a Load of a missing file: that leaves the record as it is and
    // restores the panel from it.
    const std::tuple<QAction*, QString, QString> rows[] = {
        {w.SaveFile, "DXS4820.Log", ""}, {w.LoadFile, "", ""}, {w.LoadFile, "", path("no such file.Log")}};
    for (const auto& [action, preset, answer] : rows) {
        dialogs().fileRequests.clear();
        dialogs().files.push_back(answer);
        w.sendAll = false;
        action->trigger();
        ASSERT_EQ(dialogs().fileRequests.size(), 1u);
        EXPECT_EQ(dialogs().fileRequests[0].initialFolder, QDir::toNativeSeparators(folder() + "/"));
        EXPECT_EQ(dialogs().fileRequests[0].presetName, preset);
        EXPECT_EQ(dialogs().fileRequests[0].filter, QString("DXS4820(*.Log)|*.Log"));
        EXPECT_EQ(w.sendAll, action == w.LoadFile);
        EXPECT_EQ(w.record, stored());
    }
    EXPECT_EQ(panel().txtMainFreq->text(), QString("2500.0"));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"DXS4820.Log"});
    EXPECT_EQ(readAll(path()), stored().slot());
}

TEST_F(SettingsWindow, SaveCopiesEveryBoxIntoItsFieldAndLoadPutsItBackWhite) {
    // clang-format off
    const std::tuple<NumericBox* Panel::*, F, QString> rows[] = {
        {&Panel::txtMainFreq, F::MainFreq, "2500.0"}, {&Panel::txtMainAmp, F::Amplitude, "1.25"},
        {&Panel::txtMainDCOffset, F::DCOffset, "-0.50"}, {&Panel::txtMainDuty, F::Duty, "30"},
        {&Panel::txtModRate, F::AMRate, "100.0"}, {&Panel::txtModSpanDepth, F::AMDepth, "30"},
        {&Panel::txtSweepRate, F::SweepRate, "20.0"}, {&Panel::txtSweepStartFreq, F::SweepStart, "1500.00"},
        {&Panel::txtSweepStopFreq, F::SweepStop, "2500.00"}, {&Panel::txtSweepSymmetry, F::SweepSymmetry, "70"},
        {&Panel::txtTrgPhase, F::TriggerPhase, "-45"}, {&Panel::txtTrgRate, F::TriggerRate, "100.0"},
        {&Panel::txtTrgSymmetry, F::TriggerSymmetry, "40"},
    };
    // clang-format on
    panel().optModAM->setChecked(true);
    // First, as its rule rewrites the sweep frequency boxes; the stored texts win over it.
    panel().HScrollSweep->setValue(7);
    const QString center = panel().txtSweepCenterFreq->text(), span = panel().txtSweepSpan->text();
    for (const auto& [box, field, text] : rows)
        (panel().*box)->setText(text);
    panel().txtModSymmetry->setText("45");
    save(path("saved.Log"));
    SettingsRecord saved;
    ASSERT_EQ(recordfile::readRecord(path("saved.Log"), saved), recordfile::ReadStatus::Read);
    EXPECT_EQ(saved.slot(), window().record.slot());
    for (const auto& [box, field, text] : rows)
        EXPECT_EQ(fromWindows1252(saved.rawText(field)).trimmed(), text) << text.toStdString();
    EXPECT_EQ(saved.integer(F::AMSymmetry), 45);
    EXPECT_EQ(saved.integer(F::SweepSegment), 7);
    EXPECT_TRUE(dialogs().messages.empty());

    panel().HScrollSweep->setValue(3);
    ASSERT_NE(panel().txtSweepCenterFreq->text(), center);
    for (const auto& [box, field, text] : rows)
        edit(panel().*box, "1");
    edit(panel().txtModSymmetry, "1");
    window().record.clear();
    load(path("saved.Log"));
    for (const auto& [box, field, text] : rows) {
        EXPECT_EQ((panel().*box)->text(), text);
        EXPECT_EQ((panel().*box)->BackColor(), ColorWhite) << text.toStdString();
    }
    EXPECT_EQ(panel().txtModSymmetry->text(), QString("45"));
    EXPECT_EQ(panel().HScrollSweep->value(), 7);
    EXPECT_EQ(panel().txtSweepCenterFreq->text(), center);
    EXPECT_EQ(panel().txtSweepSpan->text(), span);
    EXPECT_EQ(window().record, saved);
}

TEST_F(SettingsWindow, RestoredTextsLoseTheirBlanksAndEmptyFieldsRestoreNothing) {
    const std::pair<QByteArray, QString> rows[] = {
        // the main frequency field; shown empty: nothing restored
        {"  1000    ", "1000"}, {"1234567890", "1234567890"}, {QByteArray("12\0 99", 6), "12"}, {"", ""},
        {"          ", ""},     {QByteArray("\0 12", 4), ""}, {"\t1000\t    ", "\t1000\t"}, // only blanks go
    };
    for (const auto& [field, shown] : rows) {
        edit(panel().txtMainFreq, "777");
        const int at = SettingsRecord::layout(F::MainFreq).offset;
        load(QByteArray(SettingsRecord::DataSize, '\0').replace(at, 10, field.leftJustified(10, '\0')));
        EXPECT_EQ(panel().txtMainFreq->text(), shown.isEmpty() ? QString("777") : shown)
            << field.toStdString();
        EXPECT_EQ(panel().txtMainFreq->BackColor(), shown.isEmpty() ? ColorOrange : ColorWhite);
        // Restoring writes no field of the record itself.
        EXPECT_EQ(window().record.rawText(F::MainFreq), field.leftJustified(10, '\0'));
    }
}

TEST_F(SettingsWindow, CodesChooseTheirOptionsAndOthersChangeNothing) {
    Panel& p = panel();
    auto list = [](const auto& group) { return std::vector<QRadioButton*>(group.begin(), group.end()); };
    const std::map<F, std::vector<QRadioButton*>> groups = {{F::MainWaveform, list(p.optMainFunc)},
                                                            {F::SweepModel, list(p.optSweepModel)},
                                                            {F::ModSource, list(p.optModSource)},
                                                            {F::TriggerType, list(p.optTriggerType)}};
    // The option's index, the segment or the cycle time.
    auto choice = [&](F field) {
        if (field == F::SweepSegment) return p.HScrollSweep->value();
        if (field == F::CycleTime) return p.txtCycleTime->text().toInt();
        const auto& group = groups.at(field);
        return int(std::find_if(group.begin(), group.end(), [](auto* b) { return b->isChecked(); }) -
                   group.begin());
    };
    auto choose = [&](F field, int value) {
        if (field == F::SweepSegment)
            p.HScrollSweep->setValue(value);
        else if (field == F::CycleTime)
            p.txtCycleTime->setText(QString::number(value));
        else
            groups.at(field)[size_t(value)]->setChecked(true);
    };
    const std::tuple<F, int16_t, int, int> rows[] = {
        // field, code, choice before, choice after
        {F::MainWaveform, 1, 2, 0},  {F::MainWaveform, 2, 0, 1}, {F::MainWaveform, 3, 0, 2},
        {F::MainWaveform, 0, 2, 2},  {F::MainWaveform, 4, 1, 1}, {F::SweepModel, 0, 1, 1},
        {F::SweepModel, 0, 0, 0},    {F::SweepModel, 1, 0, 1},   {F::SweepModel, 2, 0, 0},
        {F::ModSource, 2, 3, 1},     {F::ModSource, 3, 0, 2},    {F::ModSource, 0, 3, 3},
        {F::ModSource, 4, 1, 1},     {F::TriggerType, 0, 1, 0},  {F::TriggerType, 5, 0, 1},
        {F::TriggerType, -1, 1, 1},  {F::SweepSegment, 2, 5, 2}, {F::SweepSegment, 8, 5, 8},
        {F::SweepSegment, 0, 3, 3},  {F::SweepSegment, 9, 3, 3}, {F::SweepSegment, -1, 6, 6},
        {F::CycleTime, 250, 9, 250}, {F::CycleTime, 0, 9, 0},    {F::CycleTime, -5, 9, 9},
    };
    for (const auto& [field, code, before, after] : rows) {
        choose(field, before);
        SettingsRecord record;
        record.setInteger(field, code);
        load(record);
        EXPECT_EQ(choice(field), after) << int(field) << " " << code;
        EXPECT_EQ(window().record.integer(field), code); // a chosen waveform stores its code again
    }
}

TEST_F(SettingsWindow, TheModulationFieldsFollowTheKindChosenNow) {
    const std::pair<QRadioButton*, QStringList> rows[] = {{panel().optModAM, {"100.0", "45", "30"}},
                                                          {panel().optModFM, {"0.50", "60", "2.5"}}};
    NumericBox* const boxes[] = {panel().txtModRate, panel().txtModSymmetry, panel().txtModSpanDepth};
    for (const auto& [kind, texts] : rows) { // saved with AM, then with FM to the same file
        kind->setChecked(true);
        for (int i = 0; i < 3; ++i)
            boxes[i]->setText(texts[i]);
        save(path("mod.Log"));
    }
    const QByteArray saved = readAll(path("mod.Log"));
    EXPECT_EQ(saved.mid(70, 29), QByteArray("100.0 \x2D\x00"
                                            "30    0.50  60 2.5   ",
                                            29)); // AM kept, FM written
    for (const auto& [kind, texts] : rows) {
        kind->setChecked(true);
        load(path("mod.Log"));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(boxes[i]->text(), texts[i]);
        EXPECT_TRUE(kind->isChecked()); // the kind itself is not restored
    }
}

TEST_F(SettingsWindow, ASaveThatFailsIsToldInABoxNamingTheFile) {
    writeAll(path("plain"), "a file, not a folder");
    writeAll(path(), QByteArray(600, 'o'));
    ASSERT_TRUE(QDir(folder()).mkdir("folder.Log"));
    window();
    // clang-format off
    const std::pair<QString, rlim_t> rows[] = { // a file size limit stops writes as a full disk would
        {path("plain/DXS4820.Log"), RLIM_INFINITY}, {path("no such folder/DXS4820.Log"), RLIM_INFINITY},
        {path("folder.Log"), RLIM_INFINITY}, {path(), 300},
    };
    // clang-format on
    for (const auto& [target, room] : rows) {
        dialogs().messages.clear();
        {
            const FileSizeLimit limit(room);
            save(target);
        }
        ASSERT_EQ(dialogs().messages.size(), 1u) << target.toStdString();
        EXPECT_TRUE(dialogs().messages[0].text.contains(QDir::toNativeSeparators(target)));
        EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::Ok);
        EXPECT_EQ(dialogs().messages[0].icon, UserDialogs::Icon::Warning);
    }
    EXPECT_EQ(readAll(path("plain")), QByteArray("a file, not a folder"));
    EXPECT_EQ(readAll(path()), QByteArray(600, 'o'));
    EXPECT_EQ(QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"DXS4820.Log", "folder.Log", "plain"}));
}

TEST(SettingFileDialog, TheFilterEntryReadsAsGiven) {
    // The real file dialog, as Save and Load show it: one entry, not "DXS4820(*.Log) (*.Log)".
    QFileDialog dialog(nullptr, QString(), QDir::tempPath(), qtFileFilter("DXS4820(*.Log)|*.Log"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), QString("DXS4820(*.Log)"));
    EXPECT_EQ(qtFileFilter("Text files|*.txt"), QString("Text files (*.txt)"));
}
