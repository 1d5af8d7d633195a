// Files that are not what they seem: a device or a pipe as a setting file is neither replaced nor
// waited on, a writable file in a folder that takes no new file is saved in place, a pipe as help
// document gives an empty help window, and a long paragraph of many format runs reads whole.
#include "help/HelpWindows.h"
#include "help/frmHelp.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QPrinter>
#include <QTextEdit>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace {

QStringList g_warnings;
void keepWarning(QtMsgType, const QMessageLogContext&, const QString& text) {
    g_warnings << text;
}

// What is at a path, as two letters: the entry itself and where it leads ('p' pipe, 'c' device,
// 'l' link, 'f' anything else, '-' nothing).
QString kinds(const QString& path) {
    QString letters;
    for (const auto look : {lstat, stat}) {
        struct stat info {};
        const mode_t type = look(QFile::encodeName(path), &info) == 0 ? info.st_mode & S_IFMT : 0;
        letters += type == S_IFIFO ? 'p' : type == S_IFCHR ? 'c' : type == S_IFLNK ? 'l' : type ? 'f' : '-';
    }
    return letters;
}

// Root writes into any folder: for the length of a save it becomes an ordinary user (keeping the
// right to come back), for whom a folder without write permission takes no new file.
struct OrdinaryUser {
    OrdinaryUser() : m_dropped(geteuid() == 0 && setresuid(65534, 65534, 0) == 0) {}
    ~OrdinaryUser() { EXPECT_TRUE(!m_dropped || setresuid(0, 0, 0) == 0); }
    bool m_dropped;
};

// Runs the action with a writer waiting at the pipe, so that whatever opens it for reading meets an
// empty pipe at once instead of waiting for good; tells whether anything did.
bool pipeOpenedBy(const QString& path, const std::function<void()>& action) {
    const QByteArray name = QFile::encodeName(path);
    std::atomic<bool> released = false, opened = false;
    std::thread writer([&] {
        const int fd = open(name, O_WRONLY);
        opened = !released;
        close(fd);
    });
    action();
    released = true;
    const int reader = open(name, O_RDONLY | O_NONBLOCK); // lets the waiting writer go
    writer.join();
    close(reader);
    return opened;
}

class FileSafety : public WindowFixture {
protected:
    QString path(const QString& name) const { return QDir(folder()).filePath(name); }
    void use(QAction* frmDXS::*action, const QString& file) {
        window();
        dialogs().files.push_back(file);
        (window().*action)->trigger();
    }
};

} // namespace

TEST_F(FileSafety, ADeviceOrPipeAsSettingFileIsLeftAsItIs) {
    const QString file = path("DXS4820.Log");
    const auto linkToDevice = [&] {
        // The null device itself only where no node can be made: there only root could replace it.
        const bool made = mknod(QFile::encodeName(path("device")), S_IFCHR | 0666, makedev(1, 3)) == 0;
        QFile::link(made ? "device" : "/dev/null", file);
    };
    // How the default file is made, and what it is before and after: itself, and where it leads.
    const std::tuple<const char*, std::function<void()>, QString> rows[] = {
        {"pipe", [&] { mkfifo(QFile::encodeName(file), 0666); }, "pp"},
        {"link to a pipe", [&] { mkfifo(QFile::encodeName(path("pipe")), 0666), QFile::link("pipe", file); },
         "lp"},
        {"link to a device", linkToDevice, "lc"},
    };
    for (const auto& [what, make, kind] : rows) {
        SCOPED_TRACE(what);
        make();
        ASSERT_EQ(kinds(file), kind);
        const QStringList entries = QDir(folder()).entryList(QDir::System | QDir::AllEntries | QDir::Hidden);
        use(&frmDXS::SaveFile, file); // Save refuses it with a box naming the file
        ASSERT_EQ(dialogs().messages.size(), 1u);
        EXPECT_TRUE(dialogs().texts()[0].contains(QDir::toNativeSeparators(file)))
            << dialogs().texts()[0].toStdString();
        EXPECT_EQ(dialogs().messages[0].icon, UserDialogs::Icon::Warning);
        use(&frmDXS::LoadFile, file); // Load does not wait on it
        g_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
        window().close(); // and closing refuses to store the setting there, with a warning
        qInstallMessageHandler(previous);
        EXPECT_EQ(g_warnings.filter(QDir::toNativeSeparators(file)).size(), 1)
            << g_warnings.join('\n').toStdString();
        EXPECT_EQ(dialogs().messages.size(), 1u);
        EXPECT_EQ(kinds(file), kind);
        EXPECT_EQ(QDir(folder()).entryList(QDir::System | QDir::AllEntries | QDir::Hidden), entries);
        m_window.reset();
        for (const char* name : {"DXS4820.Log", "pipe", "device"})
            QFile::remove(path(name));
    }
}

TEST_F(FileSafety, AWritableFileInAFolderThatTakesNoNewFileIsSavedInPlace) {
    const QString locked = path("locked"), file = path("locked/kept.Log");
    ASSERT_TRUE(QDir().mkpath(locked));
    chmod(QFile::encodeName(folder()), 0755);
    const QByteArray old = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(24);
    // Old length, a file size limit, whether the save succeeds.
    const std::tuple<int, rlim_t, bool> rows[] = {
        {600, RLIM_INFINITY, true}, {100, 150, false}, {214, RLIM_INFINITY, true}};
    for (const auto& [length, limit, saved] : rows) {
        SCOPED_TRACE(length);
        chmod(QFile::encodeName(locked), 0755);
        writeAll(file, old.left(length));
        // Writable for the ordinary user (root's group kept) as for an owner; the folder for nobody.
        chmod(QFile::encodeName(file), 0662);
        chmod(QFile::encodeName(locked), 0555);
        window();
        {
            const OrdinaryUser user;
            ASSERT_NE(geteuid(), 0u); // else the folder would take the temporary file
            const FileSizeLimit fullDisk(limit);
            use(&frmDXS::SaveFile, file);
        }
        chmod(QFile::encodeName(locked), 0755);
        const QByteArray now = readAll(file);
        if (saved) {
            EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('\n').toStdString();
            EXPECT_EQ(now.mid(14, 10), QByteArray("10000     ")); // the main frequency field
            EXPECT_EQ(now.mid(121, 93), QByteArray(93, '\0'));
            EXPECT_EQ(now.mid(214), old.mid(214, length - 214));
        } else {
            ASSERT_EQ(dialogs().messages.size(), 1u);
            EXPECT_TRUE(dialogs().texts()[0].contains(QDir::toNativeSeparators(file)));
            EXPECT_EQ(now, old.left(length));
        }
        EXPECT_EQ(int(QFile::permissions(file)) & 0x7077, 0x6062); // rw-rw--w- as it was
        EXPECT_EQ(QDir(locked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"kept.Log"});
        m_window.reset();
    }
}

TEST_F(FileSafety, APipeAsHelpDocumentGivesAnEmptyWindowAndManyFormatRunsReadWhole) {
    const QString document = path("HelpDoc.rtf");
    QByteArray runs = "{\\rtf1\\ansi ";
    for (int i = 0; i < 30000; ++i)
        runs += "\\b a\\b0 b";
    runs += "\\par {\\i end}}";
    // What the document is, and the text the help window shows.
    const std::pair<QByteArray, QString> rows[] = {{"pipe", ""},
                                                   {runs, QString("ab").repeated(30000) + "\nend"}};
    for (const auto& [content, shown] : rows) {
        QFile::remove(document);
        std::unique_ptr<frmHelp> help;
        const auto openHelp = [&] { help = createHelpWindow(&window(), 0); };
        if (content == "pipe") {
            ASSERT_EQ(mkfifo(QFile::encodeName(document), 0666), 0);
            EXPECT_FALSE(pipeOpenedBy(document, openHelp));
        } else {
            writeAll(document, content);
            openHelp();
        }
        EXPECT_EQ(help->txtHelp->toPlainText(), shown);
        if (shown.isEmpty()) continue;
        // The first characters keep their own formats, and so does the next paragraph.
        const std::tuple<int, bool, bool> formats[] = {
            {1, true, false}, {2, false, false}, {3, true, false}, {60004, false, true}};
        QTextCursor cursor(help->txtHelp->document());
        for (const auto& [position, bold, italic] : formats) {
            cursor.setPosition(position);
            EXPECT_EQ(cursor.charFormat().fontWeight() == QFont::Bold, bold) << position;
            EXPECT_EQ(cursor.charFormat().fontItalic(), italic) << position;
        }
    }
}

// Output that cannot be written is a failed print, and a file already there keeps its content.
TEST_F(FileSafety, PrintOutputThatCannotBeWritten) {
    const QString kept = path("kept.pdf");
    writeAll(kept, "old");
    const std::tuple<QString, rlim_t, QString> rows[] = {
        {"/dev/full", RLIM_INFINITY, "Print failed: /dev/full is not a regular file."},
        // The cause is the system's own text, in the user's language.
        {kept, 1000,
         "Print failed: " + kept + " could not be written (" + QString::fromLocal8Bit(std::strerror(EFBIG)) +
             ")."},
    };
    for (const auto& [file, room, message] : rows) {
        window().setMessage("before printing");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        {
            const FileSizeLimit fullDisk(room);
            printMainWindowOn(window().helpContext(), printer);
        }
        EXPECT_EQ(window().message(), message);
    }
    EXPECT_EQ(readAll(kept), "old");
}
