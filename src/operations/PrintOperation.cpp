// Printing the main window: its image on the default printer, or into a PDF file through the one
// file writer.
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "record/RecordFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
// Paints the window's image on a page, scaled to fit it keeping its shape. Returns why painting
// failed, or an empty text.
QString paintWindowImage(QWidget& window, QPagedPaintDevice& device, int resolution) {
    const QPixmap image = window.grab();
    if (image.isNull()) return QStringLiteral("the window could not be captured");
    QPainter painter;
    if (!painter.begin(&device)) return QStringLiteral("the printer could not be started");
    // A screenshot keeps its text sharp only without lossy compression.
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::LosslessImageRendering);
    const QRect page = device.pageLayout().paintRectPixels(resolution);
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(QPoint(0, 0), size), image);
    if (!painter.end()) return QStringLiteral("the printer reported an error");
    return {};
}

// A printer that writes a PDF file: the file is written whole or not at all, and a write that
// fails (a full disk) is reported; the printer's own file output would drop such errors silently.
QString printToPdfFile(QWidget& window, const QPrinter& printer) {
    const QString path = printer.outputFileName();
    const QFileInfo target(path);
    // Only an ordinary file is replaced: a device node or pipe named as the output stays as it is.
    if (target.exists() && !target.isFile()) return QStringLiteral("%1 is not a regular file").arg(path);
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    QString error;
    {
        QPdfWriter pdf(&document);
        pdf.setPageLayout(printer.pageLayout());
        pdf.setResolution(printer.resolution());
        pdf.setTitle(printer.docName());
        pdf.setCreator(printer.creator());
        pdf.setPdfVersion(printer.pdfVersion());
        error = paintWindowImage(window, pdf, pdf.resolution());
    }
    if (!error.isEmpty()) return error;
    // The one file writer: a regular file written whole or not at all, a short write reported.
    const auto written = recordfile::writeFile(path, document.data(), false);
    if (!written) return QStringLiteral("%1 could not be written (%2)").arg(path, written.reason);
    return {};
}

QString printWindowImage(QWidget& window, QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return printToPdfFile(window, printer);
    const QString error = paintWindowImage(window, printer, printer.resolution());
    if (error.isEmpty() && printer.printerState() == QPrinter::Error)
        return QStringLiteral("the printer reported an error");
    return error;
}
} // namespace

void printMainWindowOn(OperationContext& ctx, QPrinter& printer) {
    const QString error = printWindowImage(ctx.window, printer);
    if (!error.isEmpty()) ctx.setMessage(QStringLiteral("Print failed: ") + error + ".");
}

void printMainWindow(OperationContext& ctx) {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        ctx.setMessage(QStringLiteral("Print failed: no default printer is installed."));
        return;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(ctx.window.windowTitle());
    printMainWindowOn(ctx, printer);
}
