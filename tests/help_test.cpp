// The help document and its rich-text reader, the help and About windows over the main window, and
// where help finds its document (with DXS_INSTALL_PREFIX, the installed layout too).
#include "app/QtUserDialogs.h"
#include "help/HelpWindows.h"
#include "help/RtfReader.h"
#include "help/frmAbout.h"
#include "help/frmHelp.h"
#include "operations/Operations.h"
#include "panel/CaptionLabel.h"
#include "panel/rules/HelpPositions.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <map>

namespace {

// The build writes HelpDoc.rtf into the program folder, one level above the test program.
QString builtDocument() {
    return QCoreApplication::applicationDirPath() + "/../HelpDoc.rtf";
}

// What the reader made of the input: accepted, and one position per character and paragraph end.
QString readText(const QByteArray& rtf, bool accepted = true) {
    QTextDocument document;
    EXPECT_EQ(readRtf(rtf, document), accepted) << rtf.left(60).toStdString();
    EXPECT_EQ(document.toPlainText().size(), document.characterCount() - 1) << rtf.left(60).toStdString();
    return document.toPlainText();
}

struct Seen { // what a help window showed once its activation had run
    bool opened = false;
    QString text, text2;
    int caret = -1, length = -1, scroll = -1;
    bool focused = false, passageInView = false;
};

bool inView(frmHelp& help, int position) {
    QTextCursor cursor(help.txtHelp->document());
    cursor.setPosition(position);
    return help.txtHelp->viewport()->rect().contains(help.txtHelp->cursorRect(cursor));
}

void write(const QString& path, const QByteArray& content) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

class HelpWindow : public WindowFixture {
protected:
    // Opens help by `how` through the real dialogs; records what the modal window showed, then closes it.
    Seen open(const std::function<void()>& how, int passage = 0) {
        window().setDialogs(std::make_unique<QtUserDialogs>(&window()));
        Seen seen;
        setHelpWindowObserver([&](frmHelp& help) {
            // clang-format off
            seen = {true, help.txtHelp->toPlainText(), help.Text2->text(), help.caretPosition(), help.textLength(),
                    help.txtHelp->verticalScrollBar()->value(), help.focusWidget() == help.txtHelp, inView(help, passage)};
            // clang-format on
            QTimer::singleShot(0, &help, &QDialog::reject);
        });
        QObject guard; // a window that never activated would hold the test: close it after a while
        QTimer::singleShot(60000, &guard, [] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == "frmHelp") widget->close();
        });
        how();
        setHelpWindowObserver({});
        return seen;
    }
};

using HelpLookup = HelpWindow;
using AboutWindow = WindowFixture;

} // namespace

TEST(HelpDocument, EveryCaptionOpensAtTheHeadingOfItsPassage) {
    QTextDocument document;
    ASSERT_TRUE(loadRtfFile(builtDocument(), document));
    const QString text = document.toPlainText();
    EXPECT_TRUE(document.begin().text().startsWith("DXS-4820 Function Generator Help Document"));
    std::vector<HelpPassage> entries(kLabelPassages.begin(), kLabelPassages.end());
    entries.insert(entries.end(), kPanelPassages.begin(), kPanelPassages.end());
    std::map<int, QStringList> captionsAt;
    for (const HelpPassage& e : entries) {
        SCOPED_TRACE(e.caption);
        if (e.position == 0) { // no passage of its own: the opening pages describe the item
            EXPECT_TRUE(text.left(2278).contains(e.caption));
            continue;
        }
        ASSERT_LT(e.position + HelpClickOffset, text.size());
        // The heading's paragraph starts exactly at the position and names the caption.
        const QTextBlock block = document.findBlock(e.position);
        EXPECT_EQ(block.position(), e.position);
        EXPECT_TRUE(block.text().startsWith(e.caption) || block.text().contains(QString("  ") + e.caption))
            << block.text().toStdString();
        captionsAt[e.position] << e.caption;
    }
    EXPECT_EQ(captionsAt.size(), 33u);
}

TEST(HelpRtfReader, PlainTextOfWellAndMalformedInput) {
    // clang-format off
    const struct { std::string rtf; const char16_t* text; bool accepted = true; } cases[] = { // text nullptr: any
        {R"({\rtf1 Hello})", u"Hello"}, {R"({\rtf1 one\par two\par})", u"one\ntwo\n"}, {R"({\rtf1 a\line b})", u"a\nb"},
        {R"({\rtf1 {\b bold} and {\i italic}})", u"bold and italic"}, {"{\\rtf1 x\\\ny}", u"x\ny"},
        {"{\\rtf1 line\r\nbreaks\nin the file}", u"linebreaksin the file"}, {R"({\rtf1 \{braces\} and \\})", u"{braces} and \\"},
        {R"({\rtf1 caf\'e9 \'80})", u"caf\u00e9 \u20ac"}, {R"({\rtf1 \u30446?\u21069?})", u"\u76ee\u524d"},
        {R"({\rtf1 \u-3? neg})", u"\ufffd neg"}, {R"({\rtf1\uc2 \u8364ab c})", u"\u20ac c"},
        {R"({\rtf1\uc0 \u8364 ab})", u"\u20acab"}, {R"({\rtf1 {\uc2 \u8364\'80\'80}x})", u"\u20acx"},
        {R"({\rtf1 \u-10179?\u-8704? smile})", u"\U0001F600 smile"}, {R"({\rtf1 \u-10179? lone})", u"\ufffd lone"},
        {R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}shown})", u"shown"}, {R"({\rtf1{\*\generator hidden;}{\info{\title t}}{\stylesheet{s}}shown})", u"shown"},
        {R"({\rtf1{\*\unknowndest {nested} text}shown})", u"shown"},
        {R"({\rtf1\unknownword42 kept \alsounknown-7 text})", u"kept text"},
        {R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~})", u"\u2014\u2013\u2022\u2018\u2019\u201c\u201d "},
        {R"({\rtf1 a\bin3 {}\after})", u"aafter"}, {R"({\rtf1 {\pict\wmetafile8 0123456789abcdef}shown})", u"shown"}, {"  {\\rtf1 leading blanks}", u"leading blanks"},
        // malformed
        {"", u"", false}, {"plain text, not rich text", u"", false}, {"{\\rtf", u""}, {"{\\rtf1 a}}}}} b", u"a"},
        {"{\\rtf1 unclosed {group {deeper", u"unclosed group deeper"}, {"{\\rtf1 a\\", u"a"}, {"{\\rtf1 a\\'4", u"a"},
        {"{\\rtf1 a\\'zz b}", u"azz b"}, {"{\\rtf1 a\\u-", u"a"}, {"{\\rtf1 \\u99999999999999999999? huge}", nullptr},
        {"{\\rtf1 \\fs99999999999999999999999999 big \\cf99999999999999 colour}", u"big colour"}, {"{\\rtf1 a\\bin-5 b}", u"ab"},
        {"{\\rtf1 \\uc99999999999 \\u8364 abc}", u"\u20ac"}, {"{\\rtf1 a\\bin99999999999999999999 swallowed}", u"a"},
        {"{\\rtf1 {\\colortbl" + std::string(5000, ';') + "}\\cf4999 x}", u"x"}, {"{\\rtf1 " + std::string(200000, '{') + "x", u"x"},
        {"{\\rtf1 " + std::string(100, 'x') + "\\" + std::string(100, 'w') + " y}", nullptr},
        {"{\\rtf1 " + std::string(5000, '{') + "deep" + std::string(5000, '}') + " after}", u"deep after"},
        {"{\\rtf1 \\u0 \\u13?\\u10?\\u8233?\\u64976?\\u65535?ok}", u"ok"}, {std::string("{\\rtf1 nul\0byte}", 16), u"nulbyte"}, {"{\\rtf1 \\*}visible", u""}};
    // clang-format on
    for (const auto& c : cases) {
        const QString text = readText(QByteArray::fromStdString(c.rtf), c.accepted);
        if (c.text) {
            EXPECT_EQ(text, QString::fromUtf16(c.text)) << c.rtf.substr(0, 60);
        }
    }
}

// A run of more than 32 combining marks (invisible format characters among them count too) or a
// longer cluster is cut: the character at each cut shows as a dotted circle, the rest stays as it was.
TEST(HelpRtfReader, LongRunsOfMarksAreCutKeepingThePositions) {
    const auto times = [](const QString& piece, int count) { return piece.repeated(count); };
    const QString mark(QChar(0x0301)), circle(QChar(0x25cc)), shy(QChar(0x00ad)), jamo(QChar(0x1100));
    const std::pair<QByteArray, QString> cases[] = {
        {"x" + QByteArray("\\u769?").repeated(31) + " end", "x" + times(mark, 31) + " end"},
        {"x" + QByteArray("\\u769?").repeated(32) + " end", "x" + times(mark, 31) + circle + " end"},
        {"x" + QByteArray("\\u769?").repeated(100) + " y\\u769?",
         "x" + times(times(mark, 31) + circle, 3) + times(mark, 4) + " y" + mark},
        {"x" + QByteArray("\\u769?\\u173?").repeated(20),
         "x" + times(mark + shy, 15) + mark + circle + times(mark + shy, 4)},
        {QByteArray("\\u4352?").repeated(40), times(jamo, 32) + circle + times(jamo, 7)},
    };
    for (const auto& [body, text] : cases)
        EXPECT_EQ(readText("{\\rtf1 " + body + "}"), text) << body.left(40).toStdString();
}

TEST_F(HelpWindow, OpensWithThePassageInView) {
    ASSERT_TRUE(QFile::copy(builtDocument(), folder() + "/HelpDoc.rtf"));
    Panel& p = window().panel;
    const auto click = [](QWidget* caption) {
        return [=] { QTest::mouseClick(caption, Qt::LeftButton, {}, {2, 2}); };
    };
    // clang-format off
    const struct { const char* what; std::function<void()> how; int passage, caret; bool scrolled; const char* text2; } cases[] = {
        {"Help menu", [&] { window().mnuHelp->trigger(); }, 0, 0, false, "0"},
        {"Amplitude:", click(p.Label1[1]), 2865, 3065 - 500, true, "3065"}, // caret before the passage, in view
        {"Segment : (no passage)", click(p.Label1[26]), 0, 0, false, "200"}, // caret held at the start
        {"past the end", [&] { window().dialogs().openHelp(1000000); }, 0, -1, true, nullptr}}; // the last character
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Seen seen = open(c.how, c.passage);
        ASSERT_TRUE(seen.opened);
        EXPECT_GT(seen.length, 14044);
        EXPECT_EQ(seen.caret, c.caret < 0 ? seen.length - 1 : c.caret);
        EXPECT_EQ(seen.scroll > 0, c.scrolled);
        EXPECT_TRUE(seen.focused || c.passage == 0);
        EXPECT_TRUE(seen.passageInView || c.caret < 0);
        EXPECT_TRUE(!c.text2 || seen.text2 == c.text2) << seen.text2.toStdString();
    }
}

TEST_F(HelpLookup, BesideTheProgramFirstThenTheInstalledDataFolderElseEmpty) {
    // Opened past the end: the caret on the last character, or at 0 in an empty window.
    // clang-format off
    const struct { const char *what, *beside, *installed, *below, *shown; int caret; } cases[] = {
        {"installed only", nullptr, "{\\rtf1 installed}", nullptr, "installed", 8},
        {"both: beside wins", "{\\rtf1 beside}", "{\\rtf1 installed}", nullptr, "beside", 5},
        {"neither", nullptr, nullptr, nullptr, "", 0},
        {"share below the program", nullptr, nullptr, "{\\rtf1 below}", "", 0},
        {"not rich text", "just some words", nullptr, nullptr, "", 0}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir root; // bin: the program's folder; share/dxs4820: the installed data folder
        ASSERT_TRUE(QDir(root.path()).mkdir("bin"));
        setProgramFolder(root.path() + "/bin");
        if (c.beside) write(root.path() + "/bin/HelpDoc.rtf", c.beside);
        if (c.installed) write(root.path() + "/share/dxs4820/HelpDoc.rtf", c.installed);
        if (c.below) write(root.path() + "/bin/share/dxs4820/HelpDoc.rtf", c.below);
        const Seen seen = open([&] { window().dialogs().openHelp(3065); });
        EXPECT_EQ(seen.text, c.shown);
        EXPECT_EQ(seen.caret, c.caret);
        m_window.reset();
    }
}

TEST_F(HelpLookup, InstalledProgramOpensTheInstalledDocument) {
    const QString prefix = qEnvironmentVariable("DXS_INSTALL_PREFIX");
    if (prefix.isEmpty()) GTEST_SKIP() << "run by the install check, which sets DXS_INSTALL_PREFIX";
    setProgramFolder(prefix + "/bin");
    ASSERT_FALSE(QFile::exists(prefix + "/bin/HelpDoc.rtf"));
    const QString text = open([&] { window().mnuHelp->trigger(); }).text;
    EXPECT_TRUE(text.startsWith("DXS-4820 Function Generator Help Document")) << text.left(80).toStdString();
    EXPECT_EQ(text.mid(2865, 10), "Amplitude:"); // the positions the captions open
    EXPECT_EQ(text.mid(14044, 26), "External Counter Function:");
    EXPECT_EQ(defaultSettingFile(), QDir::toNativeSeparators(settingsDir() + "/DXS4820.Log")); // not in bin
}

TEST_F(AboutWindow, ShowsOnceWithoutBlockingAndItsButtonsWork) {
    // the system information tools tried in order, whether none of them was found
    const std::pair<QStringList, bool> cases[] = {
        {{"dxs-no-such-system-tool"}, true}, {{}, true}, {{"dxs-no-such-system-tool", "true"}, false}};
    for (const auto& [tools, message] : cases) {
        SCOPED_TRACE(tools.join(",").toStdString());
        window().mnuAbout->trigger();
        frmAbout* shown = aboutWindow();
        ASSERT_TRUE(shown && shown->isVisible() && !shown->isModal());
        window().mnuAbout->trigger(); // a second About brings the same window to the front
        EXPECT_EQ(aboutWindow(), shown);
        dialogs().messages.clear();
        shown->systemInfoTools = tools;
        QTest::mouseClick(shown->cmdSysInfo, Qt::LeftButton);
        EXPECT_EQ(dialogs().texts(), message ? QStringList{"目前無法提供系統資訊"} : QStringList());
        EXPECT_TRUE(!message || dialogs().messages[0].buttons == UserDialogs::Buttons::Ok);
        QTest::mouseClick(shown->cmdOK, Qt::LeftButton);
        EXPECT_FALSE(shown->isVisible());
    }
}
