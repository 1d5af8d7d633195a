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
#include <QTextEdit>
#include <atomic>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace {

QStringList g_warnings;
void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) g_warnings << text;
}

// The kind of file at a path: 'p' pipe, 'c' device, 'l' link, 'f' regular file, '-' nothing.
char kind(const QString& path, bool followLinks) {
    struct stat info {};
    const QByteArray name = path.toLocal8Bit();
    if ((followLinks ? stat(name, &info) : lstat(name, &info)) != 0) return '-';
    return S_ISFIFO(info.st_mode) ? 'p' : S_ISCHR(info.st_mode) ? 'c' : S_ISLNK(info.st_mode) ? 'l' : 'f';
}

// Root writes into any folder: for the length of a save it becomes an ordinary user (keeping the
// right to come back), for whom a folder without write permission takes no new file.
struct OrdinaryUser {
    OrdinaryUser() : m_dropped(geteuid() == 0 && setresuid(65534, 65534, 0) == 0) {}
    ~OrdinaryUser() { EXPECT_TRUE(!m_dropped || setresuid(0, 0, 0) == 0); }
    bool m_dropped;
};

// A writer waiting at a pipe: whatever opens the pipe for reading meets it and reads an empty pipe
// at once, instead of waiting for good, and that it was opened shows.
class PipeWriter {
public:
    explicit PipeWriter(const QString& path) : m_path(path.toLocal8Bit()) {}
    ~PipeWriter() { openedByOthers(); }
    bool openedByOthers() {
        if (m_thread.joinable()) {
            m_released = true;
            const int reader = open(m_path, O_RDONLY | O_NONBLOCK); // lets the waiting writer go
            m_thread.join();
            if (reader >= 0) close(reader);
        }
        return m_opened;
    }

private:
    QByteArray m_path;
    std::atomic<bool> m_released = false, m_opened = false;
    std::thread m_thread{[this] {
        const int writer = open(m_path, O_WRONLY);
        m_opened = !m_released;
        if (writer >= 0) close(writer);
    }};
};

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
    const std::tuple<const char*, std::function<void()>, char, char> rows[] = {
        {"pipe", [&] { mkfifo(QFile::encodeName(file), 0666); }, 'p', 'p'},
        {"link to a pipe", [&] { mkfifo(QFile::encodeName(path("pipe")), 0666), QFile::link("pipe", file); },
         'l', 'p'},
        {"link to a device", linkToDevice, 'l', 'c'},
    };
    for (const auto& [what, make, itself, leadsTo] : rows) {
        SCOPED_TRACE(what);
        make();
        ASSERT_EQ(kind(file, true), leadsTo);
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
        EXPECT_EQ(kind(file, false), itself);
        EXPECT_EQ(kind(file, true), leadsTo);
        EXPECT_EQ(QDir(folder()).entryList(QDir::System | QDir::AllEntries | QDir::Hidden), entries);
        m_window.reset();
        for (const char* name : {"DXS4820.Log", "pipe", "device"})
            QFile::remove(path(name));
    }
}

TEST_F(FileSafety, AWritableFileInAFolderThatTakesNoNewFileIsSavedInPlace) {
    const QString locked = path("locked"), file = path("locked/kept.Log");
    ASSERT_TRUE(QDir().mkpath(locked));
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder(), everyone | QFile::WriteOwner);
    QByteArray old(600, 0);
    for (int i = 0; i < old.size(); ++i)
        old[i] = char('A' + i % 26);
    // Old length, a file size limit (0: none), whether the save succeeds.
    const std::tuple<int, rlim_t, bool> rows[] = {{600, 0, true}, {100, 150, false}, {214, 0, true}};
    for (const auto& [length, limit, saved] : rows) {
        SCOPED_TRACE(length);
        QFile::setPermissions(locked, everyone | QFile::WriteOwner);
        writeAll(file, old.left(length));
        // rw-rw--w-: writable for the ordinary user (root's group kept) as for an owner.
        ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                    QFile::WriteGroup | QFile::WriteOther));
        QFile::setPermissions(locked, everyone);
        window();
        {
            const OrdinaryUser user;
            std::optional<FileSizeLimit> fullDisk;
            if (limit) fullDisk.emplace(limit);
            use(&frmDXS::SaveFile, file);
        }
        QFile::setPermissions(locked, everyone | QFile::WriteOwner);
        const QByteArray now = readAll(file);
        if (saved) {
            EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('\n').toStdString();
            ASSERT_EQ(now.size(), std::max(length, 214));
            EXPECT_EQ(now.mid(14, 10), QByteArray("10000     ")); // the main frequency field
            EXPECT_EQ(now.mid(121, 93), QByteArray(93, '\0'));
            EXPECT_EQ(now.mid(214), old.mid(214, length - 214));
        } else {
            ASSERT_EQ(dialogs().messages.size(), 1u);
            EXPECT_TRUE(dialogs().texts()[0].contains(QDir::toNativeSeparators(file)));
            EXPECT_EQ(now, old.left(length));
        }
        EXPECT_EQ(int(QFile::permissions(file)) & 0x7077, 0x6062); // rw-rw--w- still
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
        if (content == "pipe")
            ASSERT_EQ(mkfifo(QFile::encodeName(document), 0666), 0);
        else
            writeAll(document, content);
        std::optional<PipeWriter> writer;
        if (content == "pipe") writer.emplace(document);
        const std::unique_ptr<frmHelp> help = createHelpWindow(&window(), 0);
        EXPECT_FALSE(writer && writer->openedByOthers());
        QTextCursor cursor(help->txtHelp->document());
        EXPECT_EQ(help->txtHelp->toPlainText(), shown);
        if (shown.isEmpty()) continue;
        // The first characters keep their own formats, and so does the next paragraph.
        const std::tuple<int, bool, bool> formats[] = {
            {1, true, false}, {2, false, false}, {3, true, false}, {60004, false, true}};
        for (const auto& [position, bold, italic] : formats) {
            cursor.setPosition(position);
            EXPECT_EQ(cursor.charFormat().fontWeight() == QFont::Bold, bold) << position;
            EXPECT_EQ(cursor.charFormat().fontItalic(), italic) << position;
        }
    }
}
