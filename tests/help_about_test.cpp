// The About window beside the main window: its texts, closing it, and the system-information button.
#include "help/HelpWindows.h"
#include "help/frmAbout.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using AboutWindow = WindowFixture;

TEST_F(AboutWindow, ShowsTitleAndVersionWithoutBlockingAndClosesOnOk) {
    window().mnuAbout->trigger();
    frmAbout* shown = aboutWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(shown->isModal());
    EXPECT_EQ(shown->windowTitle(), "About DXS-4820 Function Generator RS232 Interface Software");
    EXPECT_EQ(shown->lblVersion->text(), "Version : 1.0.0");
    window().mnuAbout->trigger(); // a second About brings the same window to the front
    EXPECT_EQ(aboutWindow(), shown);
    QTest::mouseClick(shown->cmdOK, Qt::LeftButton);
    EXPECT_FALSE(shown->isVisible());
}

TEST_F(AboutWindow, SystemButtonStartsTheFirstToolFoundElseSaysSo) {
    const std::pair<QStringList, bool> cases[] = {
        {{"dxs-no-such-system-tool"}, true}, {{}, true}, {{"dxs-no-such-system-tool", "true"}, false}};
    for (const auto& [tools, message] : cases) {
        SCOPED_TRACE(tools.join(",").toStdString());
        showAboutWindow(window().helpContext());
        dialogs().messages.clear();
        aboutWindow()->systemInfoTools = tools;
        QTest::mouseClick(aboutWindow()->cmdSysInfo, Qt::LeftButton);
        ASSERT_EQ(dialogs().messages.size(), message ? 1u : 0u);
        if (message) {
            EXPECT_EQ(dialogs().messages[0].text, QString::fromUtf8("目前無法提供系統資訊"));
            EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::Ok);
        }
        EXPECT_TRUE(aboutWindow()->isVisible());
    }
}
