// The help window over the main window: opened from the Help menu and at the passage of each caption,
// its caret display, and the jump by position.
#include "app/QtUserDialogs.h"
#include "help/HelpWindows.h"
#include "help/frmHelp.h"
#include "panel/rules/HelpPositions.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

namespace {

// What a help window showed once its activation had run.
struct Seen {
    bool opened = false;
    QString caption;
    int startPos = -1;
    QString text2;
    int caret = -1;
    int length = -1;
    int scroll = -1;
    bool focused = false;
    bool passageInView = false;
};

bool inView(frmHelp& help, int position) {
    QTextCursor cursor(help.txtHelp->document());
    cursor.setPosition(position);
    return help.txtHelp->viewport()->rect().contains(help.txtHelp->cursorRect(cursor));
}

class HelpWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        const QString built = QCoreApplication::applicationDirPath() + "/../HelpDoc.rtf";
        ASSERT_TRUE(QFile::copy(built, folder() + "/HelpDoc.rtf")) << built.toStdString();
    }
    void TearDown() override {
        setHelpWindowObserver({});
        WindowFixture::TearDown();
    }

    // Opens help through the window's real dialogs and records what the modal window showed at the
    // passage; the observer then closes it.
    Seen open(const std::function<void()>& action, int passage) {
        window().setDialogs(std::make_unique<QtUserDialogs>(&window()));
        Seen seen;
        setHelpWindowObserver([&](frmHelp& help) {
            seen.opened = true;
            seen.caption = help.windowTitle();
            seen.startPos = help.StartPos;
            seen.text2 = help.Text2->text();
            seen.caret = help.caretPosition();
            seen.length = help.textLength();
            seen.scroll = help.txtHelp->verticalScrollBar()->value();
            seen.focused = help.focusWidget() == help.txtHelp;
            seen.passageInView = inView(help, passage);
            QTimer::singleShot(0, &help, &QDialog::reject);
        });
        // A window that never activated would hold the test: close it after a generous while.
        QObject guard;
        QTimer::singleShot(60000, &guard, [] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == "frmHelp") widget->close();
        });
        action();
        setHelpWindowObserver({});
        return seen;
    }

    Seen openAt(int startPos, int passage) {
        return open([&] { window().dialogs().openHelp(startPos); }, passage);
    }
};

} // namespace

TEST_F(HelpWindow, HelpMenuShowsTheDocumentFromItsStart) {
    const Seen seen = open([&] { window().mnuHelp->trigger(); }, 0);
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.caption, "DXS-4820 Function Generator Help Document");
    EXPECT_EQ(seen.startPos, 0);
    EXPECT_EQ(seen.text2, "0");
    EXPECT_EQ(seen.caret, 0);
    EXPECT_EQ(seen.scroll, 0);
    EXPECT_TRUE(seen.passageInView);
    EXPECT_GT(seen.length, 14044);
}

TEST_F(HelpWindow, AmplitudeClickShowsTheAmplitudePassage) {
    const Seen seen = openAt(kLabelPassages[1].position + HelpClickOffset, 2865);
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.startPos, 3065);
    EXPECT_EQ(seen.text2, "3065");
    EXPECT_EQ(seen.caret, 3065 - 500); // the caret ends before the passage, which is in view
    EXPECT_TRUE(seen.passageInView);
    EXPECT_TRUE(seen.focused);
    EXPECT_GT(seen.scroll, 0);
}

TEST_F(HelpWindow, EveryCaptionWithAPassageShowsItsHeading) {
    std::vector<HelpPassage> passages(kLabelPassages.begin(), kLabelPassages.end());
    passages.insert(passages.end(), kPanelPassages.begin(), kPanelPassages.end());
    for (const HelpPassage& p : passages) {
        if (p.position == 0) continue;
        SCOPED_TRACE(p.caption);
        const Seen seen = openAt(p.position + HelpClickOffset, p.position);
        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(seen.text2, QString::number(p.position + HelpClickOffset));
        EXPECT_TRUE(seen.passageInView) << p.position;
    }
}

TEST_F(HelpWindow, CaptionsWithoutAPassageAndPositionsPastTheEnd) {
    const struct {
        const char* what;
        int startPos;
        int caret; // -1: the document's last character
        int scroll;
    } cases[] = {
        {"Segment : (no passage)", kLabelPassages[26].position, 0, 0},
        {"COM Port : (no passage)", kLabelPassages[19].position, 0, 0},
        {"just past the start", 0 + HelpClickOffset, 0, 0}, // the caret held at the start
        {"past the end", 1000000, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Seen seen = openAt(c.startPos, 0);
        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(seen.caret, c.caret < 0 ? seen.length - 1 : c.caret);
        if (c.scroll == 0) {
            EXPECT_EQ(seen.scroll, 0);
            EXPECT_TRUE(seen.passageInView); // the document's opening
        } else {
            EXPECT_GT(seen.scroll, 0);
        }
    }
}

TEST_F(HelpWindow, FrameAndLayout) {
    std::unique_ptr<frmHelp> help = createHelpWindow(&window(), 0);
    EXPECT_EQ(help->objectName(), "frmHelp");
    EXPECT_EQ(help->windowTitle(), "DXS-4820 Function Generator Help Document");
    EXPECT_EQ(help->size(), QSize(8730 / 15, 7365 / 15));
    EXPECT_EQ(help->Text2->geometry(), QRect(1680 / 15, 690 / 15, 945 / 15, 270 / 15));
    EXPECT_TRUE(help->txtHelp->isReadOnly());
    // The text box follows the window: inner size less 250 by 400 twips; a tiny window leaves it empty.
    const struct {
        QSize window;
        QSize text;
    } sizes[] = {
        {{582, 491}, {582 - 16, 491 - 26}},
        {{900, 700}, {900 - 16, 700 - 26}},
        {{10, 10}, {0, 0}},
    };
    help->show();
    for (const auto& s : sizes) {
        help->resize(s.window);
        ASSERT_EQ(help->size(), s.window);
        EXPECT_EQ(help->txtHelp->geometry(), QRect(QPoint(2, 0), s.text)) << s.window.width();
    }
}

TEST_F(HelpWindow, EnterInText2JumpsToThePositionInsideTheDocument) {
    std::unique_ptr<frmHelp> help = createHelpWindow(&window(), 0);
    help->show();
    help->Form_Activate();
    const int length = help->textLength();
    const struct {
        QString typed;
        int caret; // where the caret ends; -1: where it was
    } cases[] = {
        {"9774", 9774},   {"12013", 12013}, {QString::number(length), -1},
        {"99999999", -1}, {"100", 100},     {"0", 0},
    };
    for (const auto& c : cases) {
        const int before = help->caretPosition();
        help->Text2->setFocus();
        help->Text2->setText(c.typed);
        QTest::keyClick(help->Text2, Qt::Key_Return);
        EXPECT_EQ(help->caretPosition(), c.caret < 0 ? before : c.caret) << c.typed.toStdString();
        if (c.caret >= 0) {
            EXPECT_TRUE(inView(*help, c.caret)) << c.typed.toStdString();
        }
        EXPECT_TRUE(help->isVisible()); // Enter does not close the window
    }
}

TEST_F(HelpWindow, Text2FollowsTheCaretTheUserMoves) {
    std::unique_ptr<frmHelp> help = createHelpWindow(&window(), 3065);
    help->show();
    help->Form_Activate();
    EXPECT_EQ(help->Text2->text(), "3065"); // the window's own caret moves leave it alone
    QTest::keyClick(help->txtHelp, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(help->caretPosition(), help->textLength());
    EXPECT_EQ(help->Text2->text(), QString::number(help->textLength()));
    QTest::keyClick(help->txtHelp, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(help->Text2->text(), "0");
    QTest::mouseClick(help->txtHelp->viewport(), Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_GT(help->caretPosition(), 0);
    EXPECT_EQ(help->Text2->text(), QString::number(help->caretPosition()));
}

TEST_F(HelpWindow, MissingOrUnreadableDocumentLeavesTheWindowEmpty) {
    const QString document = folder() + "/HelpDoc.rtf";
    const struct {
        const char* what;
        std::function<void()> prepare;
    } cases[] = {
        {"missing", [&] { QFile::remove(document); }},
        {"a folder in its place", [&] { QDir(folder()).mkdir("HelpDoc.rtf"); }},
        {"not rich text",
         [&] {
             QFile file(document);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("just some words");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(document);
        QDir(folder()).rmdir("HelpDoc.rtf");
        c.prepare();
        const Seen seen = openAt(3065, 0);
        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(seen.length, 0);
        EXPECT_EQ(seen.caret, 0);
    }
}

TEST_F(HelpWindow, ClosingHelpHandsActivationBackForTheReadinessCheck) {
    window().activateWindow();
    QCoreApplication::processEvents();
    window().setMessage("before help");
    const Seen seen = open([&] { window().mnuHelp->trigger(); }, 0);
    ASSERT_TRUE(seen.opened);
    ASSERT_NE(lastHelpWindow(), nullptr);
    EXPECT_FALSE(lastHelpWindow()->isVisible());
    // The platform gives the main window back its activation (here asked for, as offscreen
    // windows do not hand it back by themselves).
    window().activateWindow();
    for (int i = 0; i < 100 && window().message() == "before help"; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(window().message().startsWith("DXS-4820 <--> PC: [")) << window().message().toStdString();
}
