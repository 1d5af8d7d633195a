#pragma once
// The About window: the application's title and version, and the system-information tool.
#include "help/HelpContext.h"

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(const HelpContext& ctx);

    QLabel* imgIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    // Away from Windows: the system-information programs tried in turn, by name or path.
    QStringList systemInfoTools;
    static QStringList defaultSystemInfoTools();

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system-information tool, or says that none is available.
    void StartSysInfo();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    HelpContext m_ctx;
};
