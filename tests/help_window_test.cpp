// The help window over the main window: opened from the Help menu and at the passage of each caption,
// its caret display, and the jump by position.
#include "app/QtUserDialogs.h"
#include "help/HelpWindows.h"
#include "help/frmHelp.h"
#include "panel/CaptionLabel.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>

namespace {

// What a help window showed once its activation had run.
struct Seen {
    bool opened = false;
    QString text2;
    int caret = -1, length = -1, scroll = -1;
    bool focused = false, passageInView = false;
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
    // Opens help through the window's real dialogs by `how` and records what the modal window showed
    // at the passage; the observer then closes it.
    Seen open(const std::function<void()>& how, int passage) {
        window().setDialogs(std::make_unique<QtUserDialogs>(&window()));
        Seen seen;
        setHelpWindowObserver([&](frmHelp& help) {
            // clang-format off
            seen = {true, help.Text2->text(), help.caretPosition(), help.textLength(),
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

} // namespace

TEST_F(HelpWindow, OpensWithThePassageInView) {
    Panel& p = window().panel;
    const auto menu = [&] { window().mnuHelp->trigger(); };
    const auto click = [](QWidget* caption) {
        return [=] { QTest::mouseClick(caption, Qt::LeftButton, {}, {2, 2}); };
    };
    // clang-format off
    const struct { const char* what; std::function<void()> how; int passage, caret; bool scrolled; const char* text2; } cases[] = {
        {"Help menu", menu, 0, 0, false, "0"},
        {"Amplitude:", click(p.Label1[1]), 2865, 3065 - 500, true, "3065"}, // the caret ends before the passage, in view
        {"Segment : (no passage)", click(p.Label1[26]), 0, 0, false, "200"}, // the caret held at the start
        {"past the end", [&] { window().dialogs().openHelp(1000000); }, 0, -1, true, nullptr}}; // -1: the last character
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Seen seen = open(c.how, c.passage);
        ASSERT_TRUE(seen.opened);
        EXPECT_GT(seen.length, 14044);
        EXPECT_EQ(seen.caret, c.caret < 0 ? seen.length - 1 : c.caret);
        EXPECT_EQ(seen.scroll > 0, c.scrolled);
        if (c.passage > 0) EXPECT_TRUE(seen.focused);
        if (c.caret >= 0) EXPECT_TRUE(seen.passageInView);
        if (c.text2) EXPECT_EQ(seen.text2, c.text2);
    }
}

TEST_F(HelpWindow, EnterInText2JumpsToThePositionInsideTheDocument) {
    std::unique_ptr<frmHelp> help = createHelpWindow(&window(), 0);
    help->show();
    help->Form_Activate();
    const int length = help->textLength();
    // -1: the caret stays where it was
    const std::pair<QString, int> cases[] = {
        {"9774", 9774},   {"12013", 12013}, {QString::number(length), -1},
        {"99999999", -1}, {"100", 100},     {"0", 0}};
    for (const auto& [typed, caret] : cases) {
        const int before = help->caretPosition();
        help->Text2->setFocus();
        help->Text2->setText(typed);
        QTest::keyClick(help->Text2, Qt::Key_Return);
        EXPECT_EQ(help->caretPosition(), caret < 0 ? before : caret) << typed.toStdString();
        if (caret >= 0) EXPECT_TRUE(inView(*help, caret)) << typed.toStdString();
        EXPECT_TRUE(help->isVisible()); // Enter does not close the window
    }
}

TEST_F(HelpWindow, MissingOrUnreadableDocumentLeavesTheWindowEmpty) {
    const QString document = folder() + "/HelpDoc.rtf";
    for (const QByteArray content : {QByteArray(), QByteArray("just some words")}) {
        QFile::remove(document);
        QFile file(document);
        if (!content.isEmpty()) ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) > 0);
        file.close();
        const Seen seen = open([&] { window().dialogs().openHelp(3065); }, 0);
        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(seen.length, 0);
        EXPECT_EQ(seen.caret, 0);
    }
}

TEST_F(HelpWindow, ClosingHelpHandsActivationBackForTheReadinessCheck) {
    window().activateWindow();
    QCoreApplication::processEvents();
    window().setMessage("before help");
    ASSERT_TRUE(open([&] { window().mnuHelp->trigger(); }, 0).opened);
    // The platform gives the main window back its activation (asked for here: offscreen windows
    // do not hand it back by themselves).
    window().activateWindow();
    for (int i = 0; i < 100 && window().message() == "before help"; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(window().message().startsWith("DXS-4820 <--> PC: [")) << window().message().toStdString();
}
