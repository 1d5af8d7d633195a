#include "help/HelpWindows.h"

#include "app/frmDXS.h"
#include "help/frmAbout.h"
#include "help/frmHelp.h"

#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
std::function<void(frmHelp&)>& helpObserver() {
    static std::function<void(frmHelp&)> observer;
    return observer;
}

QPointer<frmAbout>& aboutInstance() {
    static QPointer<frmAbout> instance;
    return instance;
}
} // namespace

std::unique_ptr<frmHelp> createHelpWindow(QWidget* parent, int startPos) {
    auto window = std::make_unique<frmHelp>(parent);
    window->Form_Load();
    if (startPos != 0) {
        window->Text2->setText(QString::number(startPos));
        window->StartPos = startPos;
    }
    return window;
}

void setHelpWindowObserver(std::function<void(frmHelp&)> observer) {
    helpObserver() = std::move(observer);
}

void openHelpWindow(QWidget* parent, int startPos) {
    std::unique_ptr<frmHelp> window = createHelpWindow(parent, startPos);
    if (helpObserver()) {
        frmHelp* shown = window.get();
        QObject::connect(shown, &frmHelp::activated, shown, [shown] {
            if (helpObserver()) helpObserver()(*shown);
        });
    }
    window->exec();
}

void showAboutWindow(frmDXS& window) {
    QPointer<frmAbout>& about = aboutInstance();
    if (!about) about = new frmAbout(window);
    about->show();
    about->raise();
    about->activateWindow();
}

frmAbout* aboutWindow() {
    return aboutInstance().data();
}

namespace {
// Prints the window's image, scaled to fit the page keeping its shape. Returns why printing failed,
// or an empty text.
QString printWindowImage(QWidget& window, QPrinter& printer) {
    const QPixmap image = window.grab();
    if (image.isNull()) return QStringLiteral("the window could not be captured");
    QPainter painter;
    if (!painter.begin(&printer)) return QStringLiteral("the printer could not be started");
    // A screenshot keeps its text sharp only without lossy compression.
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::LosslessImageRendering);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(QPoint(0, 0), size), image);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return QStringLiteral("the printer reported an error");
    return {};
}
} // namespace

void printMainWindowOn(frmDXS& window, QPrinter& printer) {
    const QString error = printWindowImage(window, printer);
    if (!error.isEmpty()) window.setMessage(QStringLiteral("Print failed: ") + error + ".");
}

void printMainWindow(frmDXS& window) {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        window.setMessage(QStringLiteral("Print failed: no default printer is installed."));
        return;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(window.windowTitle());
    printMainWindowOn(window, printer);
}
