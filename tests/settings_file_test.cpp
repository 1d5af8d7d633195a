// Setting files from the record's bytes to Save and Load; a failed write leaves the old file whole.
#include "app/CommandLine.h"
#include "app/QtUserDialogs.h"
#include "help/HelpWindows.h"
#include "help/frmHelp.h"
#include "operations/Operations.h"
#include "record/RecordFile.h"
#include "support/FileSizeLimit.h"
#include "support/WindowFixture.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::literals;
using F = RecordField;

namespace {

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray pattern(int size) {
    return QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.").repeated(size / 37 + 1).left(size);
}

SettingsRecord stored() {
    SettingsRecord record;
    record.setInteger(F::BaudRate, 19200);
    record.setInteger(F::MainWaveform, 3);
    record.setText(F::MainFreq, "2500.0");
    record.setInteger(F::SweepSegment, 2);
    return record;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

std::pair<mode_t, mode_t> types(const QString& path) { // of the entry and of what it leads to
    struct stat entry {
    }, target{};
    lstat(QFile::encodeName(path), &entry);
    stat(QFile::encodeName(path), &target);
    return {entry.st_mode & S_IFMT, target.st_mode & S_IFMT};
}

// What a new file in the path's place would change: inode, links, mode bits, owner and group.
auto identity(const QString& path) {
    struct stat info {};
    stat(QFile::encodeName(path), &info);
    return std::tuple(info.st_ino, info.st_nlink, info.st_mode & 07777, info.st_uid, info.st_gid);
}

// For the length of a save, root becomes an ordinary user, whom a read-only folder refuses.
struct OrdinaryUser {
    explicit OrdinaryUser(bool wanted = true)
        : m_dropped(wanted && geteuid() == 0 && setresuid(65534, 65534, 0) == 0) {}
    ~OrdinaryUser() { EXPECT_TRUE(!m_dropped || setresuid(0, 0, 0) == 0); }
    bool m_dropped;
};

// Runs the action with a writer at the pipe, so a reader never waits; tells whether anything opened it.
bool pipeOpenedBy(const QString& path, const std::function<void()>& action) {
    const QByteArray name = QFile::encodeName(path);
    std::atomic<bool> released = false, opened = false;
    std::thread writer([&] { // each reader's open lets one through
        for (int fd; (fd = open(name, O_WRONLY)) >= 0 && (close(fd), !released);)
            opened = true;
    });
    action();
    released = true;
    const int reader = open(name, O_RDONLY | O_NONBLOCK); // lets the waiting writer go
    writer.join();
    close(reader);
    return opened;
}

// While alive, the home (so Documents) and its config folder are the test's, the data folder as given.
struct UserHome {
    explicit UserHome(const QString& home, const QByteArray& dataHome = {}) {
        for (const auto& [name, value] : {std::pair<const char*, QByteArray>{"HOME", QFile::encodeName(home)},
                                          {"XDG_CONFIG_HOME", QFile::encodeName(home + "/.config")},
                                          {"XDG_DATA_HOME", dataHome}}) {
            m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                                       : std::nullopt);
            value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
        }
    }
    ~UserHome() {
        for (const auto& [name, value] : m_saved)
            value ? qputenv(name, *value) : qunsetenv(name);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

// A small file system of its own (a tmpfs mount, which needs root), removed when it goes.
struct SmallFileSystem {
    explicit SmallFileSystem(const QString& at) : m_at(QFile::encodeName(at)) {
        QDir().mkpath(at);
        m_mounted = mount("tmpfs", m_at.constData(), "tmpfs", 0, "size=64k,mode=0755") == 0;
    }
    ~SmallFileSystem() {
        if (m_mounted) umount2(m_at.constData(), MNT_DETACH);
    }
    static void fill(const QString& filler) { // what room is left
        QFile file(filler);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (file.write(QByteArray(4096, 'f')) > 0) {
        }
    }
    QByteArray m_at;
    bool m_mounted = false;
};

void whenModal(std::function<void(QWidget*)> answer) { // once the next modal dialog is up
    QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
}

QStringList recentEntries(frmDXS& window) {
    emit window.mnuFile->aboutToShow();
    QStringList entries;
    std::ranges::transform(window.mnuRecent->actions(), std::back_inserter(entries), &QAction::text);
    return entries;
}

class SettingFiles : public WindowFixture {
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
};

} // namespace

TEST(SettingsRecord, KnownValuesGiveTheHandWrittenBytes) {
    // In field order: an integer (when there is no text) or a text, and its bytes.
    // clang-format off
    const std::tuple<F, int16_t, const char*, std::string_view> rows[] = {
        {F::ComPort, 1, {}, "\x01\x00"sv}, {F::BaudRate, 9600, {}, "\x80\x25"sv}, {F::GpibAddress, -2, {}, "\xFE\xFF"sv},
        {F::Rs232Flag, 0, "1", "1"}, {F::GpibFlag, 0, "0", "0"}, {F::SkipSameValue, 1, {}, "\x01\x00"sv},
        {F::CycleTime, 300, {}, "\x2C\x01"sv}, {F::MainWaveform, 2, {}, "\x02\x00"sv}, {F::MainFreq, 0, "1000.0", "1000.0    "},
        {F::Amplitude, 0, "5.00", "5.00  "}, {F::DCOffset, 0, "-1.5", "-1.5  "}, {F::Duty, 0, "50", "50"},
        {F::SweepModel, 1, {}, "\x01\x00"sv}, {F::SweepStart, 0, "1000.00", "1000.00   "}, {F::SweepStop, 0, "2000.00", "2000.00   "},
        {F::SweepSymmetry, 0, "90", "90"}, {F::SweepRate, 0, "1000.0", "1000.0"}, {F::ModSource, 3, {}, "\x03\x00"sv},
        {F::AMRate, 0, "100.0", "100.0 "}, {F::AMSymmetry, -32768, {}, "\x00\x80"sv}, {F::AMDepth, 0, "50", "50    "},
        {F::FMRate, 0, "0.01", "0.01  "}, {F::FMSymmetry, 0, "50", "50 "}, {F::FMSpan, 0, "1.5", "1.5   "},
        {F::TriggerType, 1, {}, "\x01\x00"sv}, {F::Reserved26, 0x1234, {}, "\x34\x12"sv}, {F::TriggerRate, 0, "10.0", "10.0  "},
        {F::TriggerSymmetry, 0, "50", "50 "}, {F::TriggerPhase, 0, "-90", "-90"}, {F::Reserved30, 32767, {}, "\xFF\x7F"sv},
        {F::SweepSegment, 5, {}, "\x05\x00"sv}, {F::SyncRateSym, 1, {}, "\x01\x00"sv},
    };
    // clang-format on
    SettingsRecord record;
    QByteArray expected;
    for (const auto& [field, integer, text, stored] : rows) {
        text ? record.setText(field, text) : record.setInteger(field, integer);
        expected += QByteArray(stored.data(), qsizetype(stored.size()));
    }
    EXPECT_EQ(record.bytes(), expected);
    EXPECT_EQ(record.slot(), expected + QByteArray(214 - 121, '\0'));
    SettingsRecord read;
    read.setBytes(expected);
    EXPECT_EQ(read, record);
    // Texts are blank-padded or cut as Windows-1252, and nothing else is written.
    // clang-format off
    const std::tuple<F, int, const char*, std::string_view> texts[] = { // UTF-8 texts; "Ω" is not in the set
        {F::MainFreq, 14, "123456789012", "1234567890"}, {F::Duty, 36, "5", "5 "}, {F::Duty, 36, "", "  "},
        {F::Amplitude, 24, "5€é", "5\x80\xE9   "sv}, {F::Amplitude, 24, "Ω1", "?1    "},
        {F::Amplitude, 24, "😀2", "?2    "}, {F::Amplitude, 24, "1234567😀", "123456"},
    };
    // clang-format on
    for (const auto& [field, offset, text, stored] : texts) {
        SettingsRecord one;
        one.setText(field, QString::fromUtf8(text));
        const QByteArray bytes(stored.data(), qsizetype(stored.size()));
        EXPECT_EQ(one.bytes(), QByteArray(121, '\0').replace(offset, bytes.size(), bytes)) << text;
    }
}

// A write replaces the slot, keeps a longer file's tail and a link; a read fills what a short file lacks.
TEST_F(SettingFiles, RoundTripKeepsALongerFilesTailAndShortFilesReadMissingBytesAsZero) {
    using recordfile::ReadStatus;
    // -1: no file yet; the largest file still taken for a setting file
    for (int oldSize : {-1, 0, 14, 121, 213, 214, 215, 200000, int(recordfile::LargestSettingFile)}) {
        SCOPED_TRACE(oldSize);
        const QString file = path(QString("case%1.Log").arg(oldSize));
        const QByteArray old = pattern(std::max(oldSize, 0));
        if (oldSize >= 0) writeAll(file, old);
        SettingsRecord read = stored(), back;
        EXPECT_EQ(recordfile::readRecord(file, read), oldSize < 0 ? ReadStatus::Missing : ReadStatus::Read);
        EXPECT_EQ(read.bytes(), (oldSize < 0 ? stored().bytes() : old + QByteArray(121, '\0')).left(121));
        ASSERT_TRUE(recordfile::writeRecord(file, stored()));
        EXPECT_EQ(fileBytes(file), stored().slot() + old.mid(SettingsRecord::SlotSize));
        EXPECT_TRUE(recordfile::readRecord(file, back) == ReadStatus::Read && back == stored());
    }
    EXPECT_EQ(entries(folder()).size(), 9); // no temporary file left
    ASSERT_TRUE(QDir(folder()).mkdir("real"));
    writeAll(path("real/target.Log"), pattern(300));
    ASSERT_TRUE(QFile::link(path("real/target.Log"), path("link.Log")));
    ASSERT_TRUE(recordfile::writeRecord(path("link.Log"), stored()));
    EXPECT_TRUE(QFileInfo(path("link.Log")).isSymLink());
    EXPECT_EQ(fileBytes(path("real/target.Log")),
              stored().slot() + pattern(300).mid(SettingsRecord::SlotSize));
    for (const QString& missing : {path("real"), QString()}) {
        SettingsRecord record = stored();
        EXPECT_EQ(recordfile::readRecord(missing, record), ReadStatus::Missing);
        EXPECT_EQ(record, stored());
    }
}

// Start-up reads the default file; closing stores it, in place on a disk too full for a copy, and where it
// cannot, asks first (No keeps the window) and leaves the file whole.
TEST_F(SettingFiles, StartUpReadsTheDefaultFileAndClosingStoresIt) {
    const QByteArray tail = "bytes after the record slot", x400(400, 'x');
    const QByteArray huge = stored().slot() + QByteArray(2 * 1024 * 1024 - 214, '\0');
    const QByteArray changed = stored().slot().replace(14, 10, "5         ");
    // The file before, the room a file may grow to, the file after, and why closing asked (empty: not).
    const std::tuple<QByteArray, rlim_t, QByteArray, QString> rows[] = {
        {"", RLIM_INFINITY, SettingsRecord().slot(), ""},
        {stored().slot() + tail, RLIM_INFINITY, changed + tail, ""},
        {stored().slot() + x400, 300, changed + x400, ""},
        {stored().slot() + x400, 150, stored().slot() + x400, qt_error_string(EFBIG)},
        {huge, RLIM_INFINITY, huge,
         "It is 2097152 bytes long, far larger than a setting file, and is left as it is."}};
    for (const auto& [file, room, after, why] : rows) {
        SCOPED_TRACE(file.size());
        if (!file.isEmpty()) writeAll(path(), file);
        EXPECT_EQ(window().record, file.isEmpty() ? SettingsRecord() : stored());
        EXPECT_EQ(panel().txtMainFreq->text() + " " + QString::number(panel().HScrollSweep->value()),
                  "10000 5"); // the panel as built
        EXPECT_TRUE(panel().optMainFunc[0]->isChecked());
        if (!file.isEmpty()) window().record.setText(F::MainFreq, "5");
        dialogs().answers = {UserDialogs::Answer::No, UserDialogs::Answer::Yes};
        {
            const FileSizeLimit fullDisk(room);
            window().close();
            EXPECT_EQ(window().isVisible() && !window().isClosing(), !why.isEmpty());
            if (window().isVisible()) window().close();
        }
        EXPECT_FALSE(window().isVisible());
        const QString asked = "The setting could not be stored in " + QDir::toNativeSeparators(path()) +
                              ".\n" + why + "\n\nClose anyway? The setting of this session will be lost.";
        EXPECT_EQ(dialogs().texts(), why.isEmpty() ? QStringList() : QStringList({asked, asked}));
        EXPECT_EQ(fileBytes(path()), after);
        EXPECT_EQ(entries(folder()), QStringList{"DXS4820.Log"});
        m_window.reset();
    }
}

// Save copies every box into its field, the modulation boxes into those of the kind chosen now (the other
// kind's kept); Load puts them back white, the modulation boxes from the kind chosen now.
TEST_F(SettingFiles, SaveCopiesEveryBoxIntoItsFieldAndLoadPutsItBackWhite) {
    // clang-format off
    const std::tuple<NumericBox* Panel::*, F, QString> rows[] = {
        {&Panel::txtMainFreq, F::MainFreq, "2500.0"}, {&Panel::txtMainAmp, F::Amplitude, "1.25"},
        {&Panel::txtMainDCOffset, F::DCOffset, "-0.50"}, {&Panel::txtMainDuty, F::Duty, "30"},
        {&Panel::txtSweepRate, F::SweepRate, "20.0"}, {&Panel::txtSweepStartFreq, F::SweepStart, "1500.00"},
        {&Panel::txtSweepStopFreq, F::SweepStop, "2500.00"}, {&Panel::txtSweepSymmetry, F::SweepSymmetry, "70"},
        {&Panel::txtTrgPhase, F::TriggerPhase, "-45"}, {&Panel::txtTrgRate, F::TriggerRate, "100.0"},
        {&Panel::txtTrgSymmetry, F::TriggerSymmetry, "40"},
    };
    const std::pair<QRadioButton*, QStringList> kinds[] = {
        {panel().optModAM, {"100.0", "45", "30"}}, {panel().optModFM, {"0.50", "60", "2.5"}}};
    // clang-format on
    NumericBox* const modulation[] = {panel().txtModRate, panel().txtModSymmetry, panel().txtModSpanDepth};
    panel().HScrollSweep->setValue(7); // first, as its rule rewrites the sweep frequency boxes
    for (const auto& [box, field, text] : rows)
        (panel().*box)->setText(text);
    for (const auto& [kind, texts] : kinds) { // saved with AM, then with FM to the same file
        kind->setChecked(true);
        for (int i = 0; i < 3; ++i)
            modulation[i]->setText(texts[i]);
        save(path("saved.Log"));
    }
    SettingsRecord saved;
    ASSERT_EQ(recordfile::readRecord(path("saved.Log"), saved), recordfile::ReadStatus::Read);
    EXPECT_EQ(saved.slot(), window().record.slot());
    for (const auto& [box, field, text] : rows)
        EXPECT_EQ(fromWindows1252(saved.rawText(field)).trimmed(), text) << text.toStdString();
    EXPECT_EQ(saved.bytes().mid(70, 29), QByteArray("100.0 \x2D", 7) + '\0' + "30    0.50  60 2.5   ");

    panel().HScrollSweep->setValue(3);
    for (const auto& [box, field, text] : rows) {
        (panel().*box)->setText("1");
        (panel().*box)->markEdited(); // orange, to see that restoring turns it white
    }
    window().sendAll = false;
    load(QString()); // cancelled: nothing restored, yet the next Send transmits everything
    EXPECT_TRUE(window().sendAll && panel().txtMainFreq->text() == "1");
    for (const auto& [kind, texts] : kinds) {
        kind->setChecked(true);
        window().record.clear();
        load(path("saved.Log"));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(modulation[i]->text(), texts[i]);
        EXPECT_TRUE(kind->isChecked()); // the kind itself is not restored
    }
    for (const auto& [box, field, text] : rows) {
        EXPECT_EQ((panel().*box)->text(), text);
        EXPECT_EQ((panel().*box)->BackColor(), ColorWhite) << text.toStdString();
    }
    EXPECT_EQ(panel().HScrollSweep->value(), 7);
    EXPECT_EQ(window().record, saved);
    QStringList requests; // the dialogs asked for: named and filtered
    for (const auto& r : dialogs().fileRequests)
        requests << (r.kind == UserDialogs::FileDialogKind::Save ? "save " : "open ") + r.title + " " +
                        r.proposedName + " " + r.filter;
    EXPECT_EQ(requests, QStringList(2, "save Save DXS4820.Log DXS4820(*.Log)|*.Log") +
                            QStringList(3, "open Load  DXS4820(*.Log)|*.Log"));
}

TEST_F(SettingFiles, RestoredTextsLoseTheirBlanksAndEmptyFieldsRestoreNothing) {
    const std::pair<QByteArray, QString> rows[] = {
        // the main frequency field; shown empty: nothing restored
        {"  1000    ", "1000"}, {"1234567890", "1234567890"}, {QByteArray("12\0 99", 6), "12"}, {"", ""},
        {"          ", ""},     {QByteArray("\0 12", 4), ""}, {"\t1000\t    ", "\t1000\t"}, // only blanks go
    };
    for (const auto& [field, shown] : rows) {
        panel().txtMainFreq->setText("777");
        panel().txtMainFreq->markEdited();
        writeAll(path("a.Log"), QByteArray(121, '\0').replace(14, 10, field.leftJustified(10, '\0')));
        load(path("a.Log"));
        EXPECT_EQ(panel().txtMainFreq->text(), shown.isEmpty() ? QString("777") : shown)
            << field.toStdString();
        EXPECT_EQ(panel().txtMainFreq->BackColor(), shown.isEmpty() ? ColorOrange : ColorWhite);
        EXPECT_EQ(window().record.rawText(F::MainFreq), field.leftJustified(10, '\0')); // not written back
    }
}

TEST_F(SettingFiles, CodesChooseTheirOptionsAndOthersChangeNothing) {
    Panel& p = panel();
    // clang-format off
    const std::map<F, std::span<QRadioButton* const>> groups = {
        {F::MainWaveform, p.optMainFunc}, {F::SweepModel, p.optSweepModel},
        {F::ModSource, p.optModSource}, {F::TriggerType, p.optTriggerType}};
    const auto choice = [&](F field) { // the option's index, the segment or the cycle time
        if (field == F::SweepSegment) return p.HScrollSweep->value();
        if (field == F::CycleTime) return p.txtCycleTime->text().toInt();
        return int(std::ranges::find_if(groups.at(field), &QRadioButton::isChecked) - groups.at(field).begin());
    };
    const std::tuple<F, int16_t, int, int> rows[] = { // field, code, choice before, choice after
        {F::MainWaveform, 1, 2, 0}, {F::MainWaveform, 2, 0, 1}, {F::MainWaveform, 3, 0, 2}, {F::MainWaveform, 0, 2, 2},
        {F::MainWaveform, 4, 1, 1}, {F::SweepModel, 0, 1, 1}, {F::SweepModel, 1, 0, 1}, {F::SweepModel, 2, 0, 0},
        {F::ModSource, 2, 3, 1}, {F::ModSource, 3, 0, 2}, {F::ModSource, 0, 3, 3}, {F::ModSource, 4, 1, 1},
        {F::TriggerType, 0, 1, 0}, {F::TriggerType, 5, 0, 1}, {F::TriggerType, -1, 1, 1}, {F::SweepSegment, 8, 5, 8},
        {F::SweepSegment, 0, 3, 3}, {F::SweepSegment, 9, 3, 3}, {F::SweepSegment, -1, 6, 6}, {F::CycleTime, 250, 9, 250},
        {F::CycleTime, 0, 9, 0}, {F::CycleTime, -5, 9, 9},
    };
    // clang-format on
    for (const auto& [field, code, before, after] : rows) {
        if (field == F::SweepSegment) p.HScrollSweep->setValue(before);
        if (field == F::CycleTime) p.txtCycleTime->setText(QString::number(before));
        if (groups.contains(field)) groups.at(field)[size_t(before)]->setChecked(true);
        SettingsRecord record;
        record.setInteger(field, code);
        writeAll(path("a.Log"), record.slot());
        load(path("a.Log"));
        EXPECT_EQ(choice(field), after) << int(field) << " " << code;
        EXPECT_EQ(window().record.integer(field), code); // a chosen waveform stores its code again
    }
}

// A writable file in a folder that takes no new file is saved in place; one cut short is put back whole.
TEST_F(SettingFiles, AWritableFileInAFolderThatTakesNoNewFileIsSavedInPlace) {
    const QString locked = path("locked"), file = path("locked/kept.Log");
    ASSERT_TRUE(QDir().mkpath(locked));
    chmod(QFile::encodeName(folder()), 0755);
    for (const auto& [length, room] : {std::pair<int, rlim_t>{600, RLIM_INFINITY}, {100, 150}}) {
        writeAll(file, pattern(length));
        // Writable for the ordinary user (root's group kept) as for an owner; the folder for nobody.
        chmod(QFile::encodeName(file), 0662), chmod(QFile::encodeName(locked), 0555);
        window();
        {
            const OrdinaryUser user;
            ASSERT_NE(geteuid(), 0u); // else the folder would take the temporary file
            const FileSizeLimit fullDisk(room);
            save(file);
        }
        chmod(QFile::encodeName(locked), 0755);
        const bool saved = room == RLIM_INFINITY;
        EXPECT_EQ(fileBytes(file), saved ? window().record.slot() + pattern(600).mid(214) : pattern(100));
        EXPECT_EQ(dialogs().texts().filter(QDir::toNativeSeparators(file)).size(), saved ? 0 : 1);
        EXPECT_EQ(int(QFile::permissions(file)) & 0x7077, 0x6062); // rw-rw--w- as it was
        EXPECT_EQ(entries(locked), QStringList{"kept.Log"});
        m_window.reset();
    }
}

// Where a new file would lose links, owner or mode bits (or find no room), closing rewrites it in place.
TEST_F(SettingFiles, AFileThatANewOneWouldChangeIsRewrittenInPlace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root for other owners and a small file system";
    const QString disk = path("disk");
    const SmallFileSystem small(disk);
    if (!small.m_mounted) GTEST_SKIP() << "no tmpfs can be mounted here";
    setProgramFolder(disk);
    const QString file = disk + "/DXS4820.Log", other = disk + "/other-name.Log";
    const QByteArray tail = pattern(600);
    const QByteArray triangle = stored().slot().replace(12, 2, QByteArray("\x02\x00", 2)); // from Square
    // Another name for the file, its mode, its owner and group, whether the disk is full.
    const std::tuple<bool, mode_t, uid_t, bool> rows[] = {
        {true, 0644, 0, false}, {false, 02664, 0, false},   {false, 0644, 65534, false},
        {false, 0644, 0, true}, {true, 02664, 65534, true},
    };
    for (const auto& [linked, mode, owner, full] : rows) {
        SCOPED_TRACE(testing::Message() << linked << " " << std::oct << mode << " " << owner << " " << full);
        writeAll(file, stored().slot() + tail);
        ASSERT_TRUE(chmod(QFile::encodeName(file), mode) == 0 &&
                    chown(QFile::encodeName(file), owner, owner) == 0);
        ASSERT_TRUE(!linked || ::link(QFile::encodeName(file), QFile::encodeName(other)) == 0);
        const auto before = identity(file);
        window().panel.optMainFunc[1]->click(); // Triangle
        if (full) small.fill(disk + "/filler");
        window().close();
        EXPECT_TRUE(!window().isVisible() && dialogs().messages.empty());
        EXPECT_EQ(fileBytes(file), triangle + tail);
        EXPECT_EQ(identity(file), before);
        EXPECT_EQ(fileBytes(other), linked ? triangle + tail : QByteArray());
        EXPECT_EQ(entries(disk).size(), 1 + int(linked) + int(full));
        m_window.reset();
        QFile::remove(file), QFile::remove(other), QFile::remove(disk + "/filler");
    }
    setProgramFolder(folder());
}

// Two copies on one default file: the first started keeps it; the second says so, stores nothing.
TEST_F(SettingFiles, ASecondCopyLeavesTheFirstCopysSettingAloneAndAKilledCopyHoldsNothingBack) {
    frmDXS& first = window();
    auto* told = new ScriptedDialogs; // the second window's
    auto second = std::make_unique<frmDXS>(std::unique_ptr<ScriptedDialogs>(told));
    second->show();
    first.panel.optMainFunc[2]->click();   // Square
    second->panel.optMainFunc[1]->click(); // Triangle
    first.close();
    second->close();
    EXPECT_TRUE(dialogs().messages.empty());
    ASSERT_EQ(told->messages.size(), 1u);
    EXPECT_TRUE(told->messages[0].text.startsWith(
        "Another copy of this program (process " + QString::number(QCoreApplication::applicationPid()) +
        ") is running and stores its setting in " + QDir::toNativeSeparators(path()) + "."));
    EXPECT_EQ(told->messages[0].icon, UserDialogs::Icon::Information);
    EXPECT_EQ(fileBytes(path()).mid(12, 2), QByteArray("\x03\x00", 2)); // Square
    second.reset();
    m_window.reset();
    // A killed copy's lock and half save hold nothing back; the user's own files stay.
    const pid_t killed = fork();
    if (killed == 0) _exit(QLockFile(path() + ".lock").tryLock(0) ? 0 : 1); // ends holding it, as if killed
    int status = -1;
    ASSERT_TRUE(waitpid(killed, &status, 0) == killed && status == 0);
    ASSERT_TRUE(QFileInfo::exists(path() + ".lock"));
    writeAll(path(".DXS4820.Log.saving-Ab3xY9"), "half a save");
    writeAll(path("DXS4820.Log.backup"), "the user's own");
    window().panel.optMainFunc[1]->click();
    EXPECT_TRUE(window().storesSetting());
    window().close();
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(fileBytes(path()).mid(12, 2), QByteArray("\x02\x00", 2)); // Triangle
    EXPECT_EQ(entries(folder()), QStringList({"DXS4820.Log", "DXS4820.Log.backup"}));
}

// An installed copy ignores a relative XDG_DATA_HOME, as if unset; a home that is not a folder: closing
// says why the setting cannot be stored.
TEST_F(SettingFiles, AnApplicationDataFolderThatCannotBeMadeIsToldAtClose) {
    ASSERT_TRUE(QDir().mkpath(path("prefix/bin")) && QDir().mkpath(path("prefix/share/dxs4820")));
    setProgramFolder(path("prefix/bin")); // installed: its data in prefix/share/dxs4820
    setSettingsFolder(QString());         // the user's own, as the program finds it
    writeAll(path("home"), "a file, not a folder");
    const UserHome user(path("home"), "relative/data");
    const QString links = path("home/.local/share/DXS-4820 Function Generator RS232 Interface Software");
    const QString file = links + "/DXS4820.Log";
    EXPECT_EQ(settingsFolder(), links); // where the COMn links are looked for too
    window();
    dialogs().answers = {UserDialogs::Answer::Yes};
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(dialogs().texts(),
              QStringList{"The setting could not be stored in " + file + ".\n" + qt_error_string(ENOTDIR) +
                          "\n\nClose anyway? The setting of this session will be lost."});
    EXPECT_EQ(fileBytes(path("home")), "a file, not a folder");
}

// The dialogs start in the folder last used, else Documents, else home; never in an unwritable one.
TEST_F(SettingFiles, TheDialogsStartInTheFolderLastUsedElseDocumentsElseHome) {
    const QString home = path("home"), documents = path("home/Documents"), used = path("used");
    ASSERT_TRUE(QDir().mkpath(home) && QDir().mkpath(used));
    const UserHome user(home);
    const auto startFolder = [&](QAction* frmDXS::*command, const QString& file = {}) {
        use(command, file);
        const auto& asked = dialogs().fileRequests;
        return asked.empty() ? QString() : QDir::fromNativeSeparators(asked.back().startFolder);
    };
    EXPECT_EQ(startFolder(&frmDXS::SaveFile), home); // no documents folder
    ASSERT_TRUE(QDir().mkpath(documents));
    writeAll(path("used/one.Log"), stored().slot());
    EXPECT_EQ(startFolder(&frmDXS::LoadFile, path("used/one.Log")), documents);
    EXPECT_EQ(panel().txtMainFreq->text(), "2500.0");
    EXPECT_EQ(startFolder(&frmDXS::SaveFile), used);
    // The program folder holds the list, so the ordinary user must read it.
    for (const QString& open : {folder(), home, documents})
        chmod(QFile::encodeName(open), 0777);
    chmod(QFile::encodeName(used), 0555);
    const OrdinaryUser ordinary;
    EXPECT_EQ(startFolder(&frmDXS::LoadFile), documents); // the folder last used not writable
}

// The real dialogs: Save's title, button, suffix and overwrite question; Load takes existing files.
TEST_F(SettingFiles, TheSaveDialogSavesAndTheOpenDialogOpens) {
    writeAll(path("old.Log"), stored().slot());
    QtUserDialogs real(&window());
    using Kind = UserDialogs::FileDialogKind;
    // The request, the name typed, what the user answers a question with, and what comes back.
    const std::tuple<Kind, QString, QMessageBox::StandardButton, QString> rows[] = {
        {Kind::Save, "mine", QMessageBox::NoButton, path("mine.Log")},
        {Kind::Save, "old", QMessageBox::No, QString()},
        {Kind::Save, "old", QMessageBox::Yes, path("old.Log")},
        {Kind::Open, "old.Log", QMessageBox::NoButton, path("old.Log")},
    };
    for (const auto& [kind, typed, reply, returned] : rows) {
        SCOPED_TRACE(typed.toStdString());
        QString seen; // the dialog as shown
        bool stillOpen = false;
        whenModal([&, typed = typed, reply = reply](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_TRUE(dialog);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            const bool confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            const QString saving =
                name->text() + " " + dialog->defaultSuffix() + (confirms ? " confirms" : "");
            const QString opening = dialog->fileMode() == QFileDialog::ExistingFile ? "existing" : "any";
            seen = QStringList({dialog->windowTitle(), dialog->labelText(QFileDialog::Accept).remove(u'&'),
                                dialog->directory().path(), dialog->nameFilters().join(';'),
                                dialog->acceptMode() == QFileDialog::AcceptSave ? saving : opening})
                       .join('|');
            name->setText(typed);
            if (reply != QMessageBox::NoButton)
                whenModal([reply](QWidget* shown) {
                    auto* box = qobject_cast<QMessageBox*>(shown);
                    ASSERT_TRUE(box);
                    box->button(reply)->click();
                });
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog keeps its own accept protected
            stillOpen = dialog->isVisible();
            if (stillOpen) dialog->reject();
        });
        const bool save = kind == Kind::Save;
        const QString chosen = real.chooseFile({kind, save ? "Save" : "Load", folder(),
                                                save ? "DXS4820.Log" : QString(), "DXS4820(*.Log)|*.Log"});
        EXPECT_EQ(chosen, returned);
        EXPECT_EQ(seen, (save ? "Save|Save|" : "Load|Load|") + folder() + "|DXS4820(*.Log)|" +
                            (save ? "DXS4820.Log Log confirms" : "existing"));
        EXPECT_EQ(stillOpen, reply == QMessageBox::No);
    }
}

// File > Recent: newest first, kept for the next run as plain UTF-8 lines, loads as Load does; a gone file
// leaves the list; any name is kept but one with a line break. A failed save is told in a box, not listed.
TEST_F(SettingFiles, RecentListsTheFilesLastSavedOrLoaded) {
    const QString odd = "før = [General]/a \"b\", c;d\\é.Log", oddFolder = path("før = [General]");
    ASSERT_TRUE(QDir().mkpath(oddFolder));
    const auto listed = [&](QStringList names) {
        for (int i = 0; i < names.size(); ++i)
            names[i] = QString("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path(names[i])));
        return names;
    };
    EXPECT_EQ(recentEntries(window()), QStringList());
    EXPECT_FALSE(window().mnuRecent->isEnabled());
    for (const char* name : {"a.Log", "b.Log", "c.Log", "d.Log"}) {
        panel().txtMainFreq->setText(QString::number((name[0] - 'a' + 1) * 1000));
        save(path(name));
    }
    load(path("b.Log"));
    save(path(odd));
    save(path("no such folder/x.Log"));
    save(oddFolder);
    EXPECT_EQ(dialogs().texts(),
              QStringList({"The setting could not be saved to " + path("no such folder/x.Log") + ".\n" +
                               qt_error_string(ENOENT),
                           "The setting could not be saved to " + oddFolder + ".\nIt is a folder."}));
    for (const auto& shown : dialogs().messages)
        EXPECT_TRUE(shown.buttons == UserDialogs::Buttons::Ok && shown.icon == UserDialogs::Icon::Warning);
    save(path("two\nlines.Log")); // saved, but neither listed nor the folder of the next dialog
    EXPECT_TRUE(QFileInfo(path("two\nlines.Log")).isFile());
    load(path("missing.Log")); // nothing read: not listed
    load(QString());           // cancelled
    const QStringList expected = listed({odd, "b.Log", "d.Log", "c.Log", "a.Log"});
    EXPECT_EQ(recentEntries(window()), expected);
    EXPECT_TRUE(window().mnuRecent->isEnabled());
    EXPECT_EQ(fileBytes(path("DXS4820.ini")),
              QString("LastFolder=%1\nRecent=%2\nRecent=%3\nRecent=%4\nRecent=%5\nRecent=%6\n")
                  .arg(oddFolder, path(odd), path("b.Log"), path("d.Log"), path("c.Log"), path("a.Log"))
                  .toUtf8());

    m_window.reset(); // the next run lists the same
    ASSERT_EQ(recentEntries(window()), expected);
    window().sendAll = false;
    window().mnuRecent->actions()[2]->trigger(); // d
    EXPECT_EQ(panel().txtMainFreq->text(), "4000");
    EXPECT_EQ(panel().txtMainFreq->BackColor(), ColorWhite);
    EXPECT_TRUE(window().sendAll);
    EXPECT_EQ(recentEntries(window()), listed({"d.Log", odd, "b.Log", "c.Log", "a.Log"}));
    ASSERT_TRUE(QFile::remove(path("c.Log")));
    window().mnuRecent->actions()[3]->trigger(); // c
    EXPECT_EQ(window().messageLineText(), "Setting file not found: " + path("c.Log"));
    EXPECT_EQ(panel().txtMainFreq->text(), "4000");
    EXPECT_EQ(recentEntries(window()), listed({"d.Log", odd, "b.Log", "a.Log"}));
    EXPECT_TRUE(dialogs().messages.empty());

    // Written by hand: lines it does not know are passed over.
    writeAll(path("DXS4820.ini"), ("[General]\nRecent=" + path("a.Log") + "\nsomething else\nLastFolder=" +
                                   oddFolder + "\nRecent=" + path(odd) + "\n")
                                      .toUtf8());
    m_window.reset();
    EXPECT_EQ(recentEntries(window()), listed({"a.Log", odd}));
    load(QString());
    EXPECT_EQ(dialogs().fileRequests.at(0).startFolder, oddFolder);
}

// A device or pipe in place of the setting file, the history or the help is left as it is and never opened
// (a pipe would hold the window); as setting file it is refused in a box, the others do without it silently.
TEST_F(SettingFiles, ADeviceOrPipeInPlaceOfAFileIsLeftAsItIs) {
    // The file, what it is (a pipe, or a link to a pipe or to a device) and where it leads.
    const std::tuple<const char*, mode_t, mode_t> rows[] = {
        {"DXS4820.Log", S_IFIFO, S_IFIFO}, {"DXS4820.Log", S_IFLNK, S_IFIFO},
        {"DXS4820.Log", S_IFLNK, S_IFCHR}, {"DXS4820.ini", S_IFIFO, S_IFIFO},
        {"DXS4820.ini", S_IFLNK, S_IFIFO}, {"HelpDoc.rtf", S_IFIFO, S_IFIFO}};
    ASSERT_TRUE(QDir(folder()).mkdir("saved"));
    for (const auto& [name, self, leads] : rows) {
        SCOPED_TRACE(testing::Message() << name << " " << self << " " << leads);
        const QString file = path(name), node = self == S_IFLNK ? path("target") : file;
        const bool settingFile = file == path();
        if (!settingFile) writeAll(path(), stored().slot());
        const QByteArray at = QFile::encodeName(node);
        const bool made =
            (leads == S_IFIFO ? mkfifo(at, 0666) : mknod(at, S_IFCHR | 0666, makedev(1, 3))) == 0;
        // The null device itself only where no node can be made: there only root could replace it.
        if (self == S_IFLNK) QFile::link(made ? "target" : "/dev/null", file);
        ASSERT_EQ(types(file), std::pair(self, leads));
        const QStringList before = entries(folder());
        const auto use = [&] {
            const QString saved =
                settingFile ? file : path("saved/a.Log"); // the setting file: refused in a box
            if (std::string_view(name) == "HelpDoc.rtf") {
                EXPECT_EQ(createHelpWindow(&window(), 0)->txtHelp->toPlainText(), QString());
            } else {
                save(saved), load(saved);
                EXPECT_EQ(recentEntries(window()), QStringList());
            }
            dialogs().answers.push_back(UserDialogs::Answer::Yes);
            window().close(); // asks whether to close anyway where the setting cannot be stored
        };
        EXPECT_FALSE(leads == S_IFIFO ? pipeOpenedBy(QFileInfo(file).canonicalFilePath(), use)
                                      : (use(), false));
        EXPECT_FALSE(window().isVisible());
        const QStringList told = dialogs().texts();
        EXPECT_EQ(told.size(), settingFile ? 2 : 0);
        EXPECT_EQ(told.filter(QDir::toNativeSeparators(file)), told);
        EXPECT_EQ(types(file), std::pair(self, leads));
        EXPECT_EQ(entries(folder()), before);
        m_window.reset();
        QFile::remove(file), QFile::remove(path("target"));
    }
}

// A setting file dropped on the window or a box is loaded as Load does; other drops are not taken.
TEST_F(SettingFiles, ASettingFileDroppedOnTheWindowIsLoaded) {
    writeAll(path("dropped.Log"), stored().slot());
    ASSERT_TRUE(QDir(folder()).mkdir("folder"));
    const QUrl file = QUrl::fromLocalFile(path("dropped.Log"));
    // What is dropped, whether on a box (else on the window), whether it is loaded.
    const std::tuple<const char*, QList<QUrl>, bool, bool> rows[] = {
        {"a folder", {QUrl::fromLocalFile(path("folder"))}, false, false},
        {"two files", {file, file}, false, false},
        {"a web address", {QUrl("https://dxs4820.org/x.Log")}, false, false},
        {"on the window", {file}, false, true},
        {"on a box", {file}, true, true}};
    for (const auto& [what, urls, onBox, loaded] : rows) {
        SCOPED_TRACE(what);
        panel().txtMainFreq->setText("10000");
        const QString rate = panel().txtSweepRate->text();
        window().sendAll = false;
        QMimeData data;
        data.setUrls(urls);
        data.setText(urls.first().toString()); // as file managers offer it too
        QWidget* on = onBox ? static_cast<QWidget*>(panel().txtSweepRate) : &window();
        QDragEnterEvent enter(on->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &enter);
        EXPECT_EQ(enter.isAccepted(), loaded);
        QDropEvent drop(on->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &drop);
        EXPECT_EQ(panel().txtMainFreq->text(), loaded ? "2500.0" : "10000");
        EXPECT_EQ(window().sendAll, loaded);
        EXPECT_EQ(panel().txtSweepRate->text(), rate); // the box took no text
    }
}

// `dxs4820 FILE` loads FILE at start (a file: address too); one it cannot read is said.
TEST(CommandLineProgram, AFileArgumentIsLoadedAtStart) {
    // The arguments, whether the program runs, the file it loads, its exit status when it does not run.
    const std::tuple<QStringList, bool, QString, int> rows[] = {
        {{"dxs4820", "my.Log"}, true, "my.Log", 0},
        {{"dxs4820", "file:///tmp/a%20b.Log"}, true, "/tmp/a b.Log", 0},
        {{"dxs4820", "--transcript", "-", "x.Log"}, true, "x.Log", 0},
        {{"dxs4820", "x.Log", "y.Log"}, false, "", 2},
    };
    for (const auto& [arguments, run, file, status] : rows) {
        const CommandLine options = parseCommandLine(arguments);
        EXPECT_EQ(std::tuple(options.run, options.settingFile, options.run ? 0 : options.exitCode),
                  std::tuple(run, file, status))
            << arguments.join(' ').toStdString();
    }
    QTemporaryDir folder;
    const QString missing = folder.filePath("missing.Log");
    QProcess program;
    program.setReadChannel(QProcess::StandardError);
    program.start(DXS_PROGRAM_PATH, {"-platform", "offscreen", missing});
    ASSERT_TRUE(program.waitForStarted());
    const QByteArray said = QFile::encodeName("Setting file not found: " + missing);
    QByteArray error;
    while (!error.contains(said) && program.waitForReadyRead(30000))
        error += program.readAllStandardError();
    program.kill();
    program.waitForFinished();
    EXPECT_TRUE(error.contains(said)) << error.toStdString();
}
