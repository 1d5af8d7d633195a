// The About window beside the main window: its texts, closing it, and the system-information button.
#include "help/HelpWindows.h"
#include "help/frmAbout.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {
class AboutWindow : public WindowFixture {
protected:
    frmAbout& about() {
        showAboutWindow(window());
        frmAbout* shown = aboutWindow();
        EXPECT_NE(shown, nullptr);
        return *shown;
    }
};
} // namespace

TEST_F(AboutWindow, ShowsTitleVersionAndTextsWithoutBlocking) {
    window().mnuAbout->trigger();
    frmAbout* shown = aboutWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->objectName(), "frmAbout");
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(shown->isModal());
    EXPECT_EQ(shown->windowTitle(), "About DXS-4820 Function Generator RS232 Interface Software");
    EXPECT_EQ(shown->lblTitle->text(), "DXS-4820 Function Generator RS232 Interface Software");
    EXPECT_EQ(shown->lblVersion->text(), "Version : 1.0.0");
    EXPECT_EQ(shown->cmdOK->text(), "OK");
    EXPECT_TRUE(shown->cmdOK->isDefault());
    EXPECT_EQ(shown->cmdSysInfo->text(), "System(&S)...");
    EXPECT_FALSE(shown->imgIcon->pixmap().isNull());
    EXPECT_FALSE(shown->lblDescription->text().isEmpty());
    EXPECT_FALSE(shown->lblDisclaimer->text().isEmpty());
    EXPECT_EQ(shown->Line1->frameShape(), QFrame::HLine);
    EXPECT_EQ(shown->Line2->frameShape(), QFrame::HLine);
    // A second About brings the same window to the front.
    window().mnuAbout->trigger();
    EXPECT_EQ(aboutWindow(), shown);
}

TEST_F(AboutWindow, OkEnterAndEscapeCloseIt) {
    const struct {
        const char* how;
        std::function<void(frmAbout&)> press;
    } cases[] = {
        {"OK clicked", [](frmAbout& a) { QTest::mouseClick(a.cmdOK, Qt::LeftButton); }},
        {"Enter", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }},
        {"Escape", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Escape); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        frmAbout& shown = about();
        EXPECT_TRUE(shown.isVisible());
        c.press(shown);
        EXPECT_FALSE(shown.isVisible());
        EXPECT_TRUE(window().isVisible());
    }
}

TEST_F(AboutWindow, SystemButtonStartsTheFirstToolFoundElseSaysSo) {
    const struct {
        QStringList tools;
        bool message;
    } cases[] = {
        {{"dxs-no-such-system-tool"}, true},
        {{}, true},
        {{"dxs-no-such-system-tool", "true"}, false}, // a program that starts and ends at once
    };
    window();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tools.join(",").toStdString());
        dialogs().messages.clear();
        frmAbout& shown = about();
        shown.systemInfoTools = c.tools;
        QTest::mouseClick(shown.cmdSysInfo, Qt::LeftButton);
        if (c.message) {
            ASSERT_EQ(dialogs().messages.size(), 1u);
            EXPECT_EQ(dialogs().messages[0].text, QString::fromUtf8("目前無法提供系統資訊"));
            EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::Ok);
            EXPECT_EQ(dialogs().messages[0].icon, UserDialogs::Icon::None);
        } else {
            EXPECT_TRUE(dialogs().messages.empty());
        }
        EXPECT_TRUE(shown.isVisible());
    }
}

TEST_F(AboutWindow, ClosingTheMainWindowClosesIt) {
    frmAbout& shown = about();
    window().close();
    EXPECT_FALSE(shown.isVisible());
}

TEST_F(AboutWindow, LeavingItHandsActivationBackForTheReadinessCheck) {
    frmAbout& shown = about();
    shown.activateWindow();
    QCoreApplication::processEvents();
    window().setMessage("before About");
    QTest::mouseClick(shown.cmdOK, Qt::LeftButton);
    // The platform gives the main window back its activation (here asked for, as offscreen
    // windows do not hand it back by themselves).
    window().activateWindow();
    for (int i = 0; i < 100 && window().message() == "before About"; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(window().message().startsWith("DXS-4820 <--> PC: [")) << window().message().toStdString();
}
