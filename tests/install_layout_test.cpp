// Where the help window finds its document: beside the program first, then in an installed copy's
// ../share/dxs4820; and, run by the install check with DXS_INSTALL_PREFIX, the installed layout
// itself leads the Help menu to the installed document and the setting to the application-data folder.
#include "app/QtUserDialogs.h"
#include "help/HelpWindows.h"
#include "help/frmHelp.h"
#include "operations/Operations.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTimer>

namespace {

class HelpLookup : public WindowFixture {
protected:
    // Opens help from the window's Help menu through its real dialogs; returns the text it showed.
    QString textOfHelpMenu() {
        window().setDialogs(std::make_unique<QtUserDialogs>(&window()));
        QString shown = "(help did not open)";
        setHelpWindowObserver([&](frmHelp& help) {
            shown = help.txtHelp->toPlainText();
            QTimer::singleShot(0, &help, &QDialog::reject);
        });
        window().mnuHelp->trigger();
        setHelpWindowObserver({});
        return shown;
    }
    static void write(const QString& path, const QByteArray& content) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
};

} // namespace

TEST_F(HelpLookup, BesideTheProgramFirstThenTheInstalledDataFolder) {
    // clang-format off
    const struct { const char* what; bool beside, installed, elsewhere; const char* shown; } cases[] = {
        {"beside only",               true,  false, false, "beside"},
        {"installed only",            false, true,  false, "installed"},
        {"both: beside wins",         true,  true,  false, "beside"},
        {"neither",                   false, false, false, ""},
        {"share below the program",   false, false, true,  ""}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // <root>/bin is the program's folder, <root>/share/dxs4820 the installed data folder.
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid() && QDir(root.path()).mkdir("bin"));
        setProgramFolder(root.path() + "/bin");
        if (c.beside) write(root.path() + "/bin/HelpDoc.rtf", "{\\rtf1\\ansi beside\\par}");
        if (c.installed) write(root.path() + "/share/dxs4820/HelpDoc.rtf", "{\\rtf1\\ansi installed\\par}");
        if (c.elsewhere) write(root.path() + "/bin/share/dxs4820/HelpDoc.rtf", "{\\rtf1\\ansi below\\par}");
        EXPECT_EQ(textOfHelpMenu().trimmed(), c.shown);
        m_window.reset();
    }
}

TEST_F(HelpLookup, InstalledProgramOpensTheInstalledDocument) {
    const QString prefix = qEnvironmentVariable("DXS_INSTALL_PREFIX");
    if (prefix.isEmpty()) GTEST_SKIP() << "run by the install check, which sets DXS_INSTALL_PREFIX";
    // The installed program's folder holds only the programs: the document must come from share.
    setProgramFolder(prefix + "/bin");
    ASSERT_FALSE(QFile::exists(prefix + "/bin/HelpDoc.rtf"));
    const QString text = textOfHelpMenu();
    EXPECT_TRUE(text.startsWith("DXS-4820 Function Generator Help Document")) << text.left(80).toStdString();
    // Passages at the positions the captions open ("Amplitude:" at 2865, the counter at 14044).
    EXPECT_EQ(text.mid(2865, 10), "Amplitude:");
    EXPECT_EQ(text.mid(14044, 26), "External Counter Function:");
    // Its bin folder is writable here, yet the setting goes to the user's application-data folder.
    EXPECT_EQ(defaultSettingFile(),
              QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                       "/DXS4820.Log"));
}
