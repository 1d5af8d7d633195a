#include "help/frmAbout.h"

#include "panel/DesignUnits.h"

#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <cmath>
#include <numbers>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <algorithm>
#include <cstring>
#include <windows.h>
#endif

namespace {
// The generator's screen showing a sine wave.
QPixmap drawIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(QColor(20, 40, 30));
    painter.drawRoundedRect(QRectF(1.5, 4.5, 29, 23), 3, 3);
    QPainterPath wave;
    for (int x = 0; x <= 24; ++x) {
        const QPointF point(4 + x, 16 - 7 * std::sin(x * 2 * std::numbers::pi / 24));
        if (x == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    painter.setPen(QPen(QColor(80, 255, 120), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    return pixmap;
}

QFrame* separator(QWidget* parent, const char* name, int top) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twipsToPixels(225, *parent), twipsToPixels(top, *parent), twipsToPixels(5205, *parent),
                      2);
    return line;
}

QLabel* label(QWidget* parent, const char* name, QRect twipRect) {
    auto* text = new QLabel(parent);
    text->setObjectName(name);
    text->setGeometry(twipsToPixels(twipRect, *parent));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return text;
}

#ifdef Q_OS_WIN
// Reads one registry value: a string as it stands, a 32-bit number as hexadecimal digits. The key is
// opened for reading only, which an ordinary user is allowed to do.
bool GetKeyValue(HKEY root, const QString& keyName, const QString& valueName, QString& value) {
    value.clear();
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyName.toLocal8Bit().constData(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[1024];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, valueName.toLocal8Bit().constData(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return false;
    if (type == REG_DWORD && size >= sizeof(DWORD)) {
        DWORD number = 0;
        memcpy(&number, buffer, sizeof number);
        value = QString::number(number, 16).toUpper();
        return true;
    }
    DWORD length = std::min<DWORD>(size, sizeof buffer);
    while (length > 0 && buffer[length - 1] == '\0')
        --length; // the terminating zero
    value = QString::fromLocal8Bit(buffer, static_cast<int>(length));
    return true;
}

bool startSystemInfoTool(const QStringList&) {
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path) &&
        !path.isEmpty())
        return QProcess::startDetached(path, {});
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
        const QString program = path + "\\MSINFO32.EXE";
        if (QFile::exists(program)) return QProcess::startDetached(program, {});
    }
    return false;
}
#else
bool startSystemInfoTool(const QStringList& tools) {
    for (const QString& tool : tools) {
        const QString program = QStandardPaths::findExecutable(tool);
        if (!program.isEmpty() && QProcess::startDetached(program, {})) return true;
    }
    return false;
}
#endif
} // namespace

QStringList frmAbout::defaultSystemInfoTools() {
    return {"hardinfo",          "kinfocenter", "gnome-system-monitor", "mate-system-monitor",
            "xfce4-taskmanager", "lxtask"};
}

frmAbout::frmAbout(const HelpContext& ctx)
    : QDialog(&ctx.window), systemInfoTools(defaultSystemInfoTools()), m_ctx(ctx) {
    setObjectName("frmAbout");
    setFixedSize(twipsToPixels(5730, *this), twipsToPixels(3705, *this));

    imgIcon = label(this, "imgIcon", {240, 240, 480, 480});
    imgIcon->setPixmap(drawIcon());
    lblTitle = label(this, "lblTitle", {1050, 240, 4485, 480});
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = label(this, "lblVersion", {1050, 780, 4485, 225});
    Line1 = separator(this, "Line1", 1140);
    lblDescription = label(this, "lblDescription", {1050, 1200, 4485, 900});
    lblDescription->setText(
        "Sets up the DXS-4820 function generator from the PC: the main output, sweep, "
        "AM and FM modulation, trigger, burst, gate and the external counter, sent to the "
        "instrument over RS232.");
    Line2 = separator(this, "Line2", 2160);
    lblDisclaimer = label(this, "lblDisclaimer", {255, 2250, 3870, 1200});
    lblDisclaimer->setText("Provided as is, without warranty of any kind. Check the instrument's output "
                           "before connecting it to a circuit.");

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(twipsToPixels(QRect(4245, 2625, 1260, 345), *this));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton("System(&S)...", this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    cmdSysInfo->setGeometry(twipsToPixels(QRect(4260, 3075, 1245, 345), *this));
    cmdSysInfo->setAutoDefault(false);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    Form_Load();
}

void frmAbout::Form_Load() {
    const QString title = m_ctx.window.windowTitle();
    setWindowTitle("About " + title);
    lblTitle->setText(title);
    lblVersion->setText(QStringLiteral("Version : ") + DXS_VERSION);
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    if (!startSystemInfoTool(systemInfoTools))
        m_ctx.dialogs().message(QStringLiteral("目前無法提供系統資訊"));
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // Escape presses OK, as Enter does through the default button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
