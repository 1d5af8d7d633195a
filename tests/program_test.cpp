// The program run as a process: signals, no display, unwritable output, file names as bytes.
#include "app/ShutdownSignals.h"
#include "record/RecordFile.h"
#include "support/WindowFixture.h"

#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A copy of the program in a folder of its own, so that its default setting file is ours to watch.
class ProgramCopy : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(QFile::copy(DXS_PROGRAM_PATH, program()));
        ASSERT_TRUE(QFile::setPermissions(program(), QFile::permissions(program()) | QFile::ExeOwner));
    }
    QString folder() const { return m_folder.path(); }
    QString program() const { return folder() + "/dxs4820"; }
    QString settingFile() const { return folder() + "/DXS4820.Log"; }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", folder());
        env.remove("XDG_DATA_HOME");
        return env;
    }
    QTemporaryDir m_folder;
};

} // namespace

// Each termination signal closes the window as the user would: the setting is stored and the program
// ends by that signal; a setting that cannot be stored is said on standard error, with status 1. No
// usable window system ends with status 2 instead of aborting; unwritable output with status 1.
TEST_F(ProgramCopy, SignalsNoDisplayAndUnwritableOutputGiveTheirEndings) {
    // Arguments, platform, standard output, the signal sent once it runs, the setting file a pipe; the
    // signal it ends by (negative) or its exit code, what standard error says.
    // clang-format off
    const struct { QStringList arguments; const char *platform, *output; int signal; bool pipe; int ends; const char* says; } cases[] = {
        {{}, "offscreen", nullptr, SIGTERM, false, -SIGTERM, nullptr}, {{}, "offscreen", nullptr, SIGINT, false, -SIGINT, nullptr},
        {{}, "offscreen", nullptr, SIGHUP, false, -SIGHUP, nullptr}, {{}, "offscreen", nullptr, SIGTERM, true, 1, "not a regular file"},
        {{"-platform", "no-such-platform"}, "offscreen", nullptr, 0, false, 2, "no usable display"},
        {{}, "xcb", nullptr, 0, false, 2, "no usable display"}, // and no DISPLAY
        {{"--version"}, "offscreen", "/dev/full", 0, false, 1, "standard output"},
        {{"--help"}, "offscreen", "/dev/full", 0, false, 1, "standard output"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.arguments.join(' ') << " " << c.platform << " " << c.signal << c.pipe);
        QFile::remove(settingFile());
        if (c.pipe) {
            ASSERT_EQ(mkfifo(QFile::encodeName(settingFile()), 0666), 0);
        }
        QProcessEnvironment env = environment();
        env.insert("QT_QPA_PLATFORM", c.platform);
        env.remove("DISPLAY"), env.remove("WAYLAND_DISPLAY");
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder());
        if (c.output) process.setStandardOutputFile(c.output);
        process.start(program(), c.arguments);
        if (c.signal) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(settingFile() + ".lock"); }, 60000));
            ::kill(pid_t(process.processId()), c.signal);
        }
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), c.ends < 0 ? QProcess::CrashExit : QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), std::abs(c.ends));
        EXPECT_FALSE(QFileInfo::exists(settingFile() + ".lock"));
        if (c.ends < 0) { // the empty record
            EXPECT_EQ(fileBytes(settingFile()), SettingsRecord().slot());
        }
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_TRUE(!c.says || error.contains(c.says)) << error;
        EXPECT_EQ(error.contains("The setting could not be stored in " + settingFile()), c.pipe);
    }
}

// A transcript name that is not valid text in the system's encoding names the file written.
TEST_F(ProgramCopy, ATranscriptNameIsTakenAsBytes) {
    const QByteArray name = QFile::encodeName(folder()) + "/exchanges-\xE9\xFF.txt";
    const QByteArray programName = QFile::encodeName(program());
    const QByteArray folderName = QFile::encodeName(folder());
    const pid_t child = fork();
    if (child == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("HOME", folderName.constData(), 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1), dup2(null, 2);
        execl(programName.constData(), programName.constData(), "--transcript", name.constData(), nullptr);
        _exit(127);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(settingFile() + ".lock"); }, 60000));
    ::kill(child, SIGTERM);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    QFile file;
    ASSERT_TRUE(
        file.open(open(name.constData(), O_RDONLY), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    EXPECT_TRUE(file.readAll().contains("started"));
    // Nothing beside it under another name: the program, its setting file and the transcript.
    std::set<QByteArray> names;
    if (DIR* dir = opendir(folderName.constData())) {
        while (const dirent* entry = readdir(dir))
            names.insert(entry->d_name);
        closedir(dir);
    }
    EXPECT_EQ(names,
              (std::set<QByteArray>{".", "..", "dxs4820", "DXS4820.Log", name.mid(folderName.size() + 1)}));
}

using SignalledWindow = WindowFixture;

// Logging out stores the setting at once, the window staying until the session ends it; a SIGTERM
// after choosing Square stores Square, as closing the window would, asking nobody.
TEST_F(SignalledWindow, SigtermAfterChoosingSquareStoresSquare) {
    frmDXS& w = window();
    const auto storedWaveform = [this] {
        SettingsRecord stored;
        EXPECT_EQ(recordfile::readRecord(folder() + "/DXS4820.Log", stored), recordfile::ReadStatus::Read);
        return stored.integer(RecordField::MainWaveform);
    };
    w.panel.optMainFunc[1]->click();
    EXPECT_EQ(w.storeForSessionEnd(), QString());
    EXPECT_EQ(storedWaveform(), 2);
    EXPECT_TRUE(w.isVisible());
    ShutdownSignals shutdown;
    QObject::connect(&shutdown, &ShutdownSignals::arrived, &w, [&w] { w.endUnattended(); });
    w.panel.optMainFunc[2]->click();
    ASSERT_EQ(w.record.integer(RecordField::MainWaveform), 3);
    ::kill(::getpid(), SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 60000));
    EXPECT_EQ(shutdown.received(), SIGTERM);
    EXPECT_EQ(storedWaveform(), 3);
    EXPECT_TRUE(w.unattendedFailure().isEmpty() && dialogs().messages.empty());
}

// A setting that cannot be stored is said at logout; a signal during the close-anyway question answers
// it: the window goes, the cause kept for standard error.
TEST_F(SignalledWindow, ASignalDuringTheCloseQuestionEndsTheProgram) {
    ASSERT_EQ(mkfifo(QFile::encodeName(folder() + "/DXS4820.Log"), 0666), 0);
    frmDXS& w = window();
    EXPECT_TRUE(w.storeForSessionEnd().contains("not a regular file")) << w.storeForSessionEnd();
    struct SignalDuringQuestion : ScriptedDialogs {
        frmDXS* window = nullptr;
        Answer message(const QString& text, Buttons buttons, Icon icon) override {
            ScriptedDialogs::message(text, buttons, icon);
            window->endUnattended();
            return Answer::No; // as the question's own answer would have been
        }
    };
    auto dialogs = std::make_unique<SignalDuringQuestion>();
    dialogs->window = &w;
    const SignalDuringQuestion& asked = *dialogs;
    w.setDialogs(std::move(dialogs));
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(asked.messages.size(), 1u);
    EXPECT_TRUE(w.unattendedFailure().contains("not a regular file")) << w.unattendedFailure();
}
