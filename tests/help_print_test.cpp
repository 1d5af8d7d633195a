// Printing the main window: its image on a page through the printing path, and failures in the
// message line.
#include "help/HelpWindows.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>

using PrintWindow = WindowFixture;

TEST_F(PrintWindow, PrintsTheWindowImageOrSaysWhyNot) {
    const struct {
        const char* what;
        QString file;
        QString message; // the message line afterwards
    } cases[] = {
        {"to a PDF file", folder() + "/window.pdf", "before printing"},
        {"to a file that cannot be written", folder() + "/no such folder/window.pdf",
         "Print failed: the printer could not be started."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        window().setMessage("before printing");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(c.file);
        printMainWindowOn(window(), printer);
        EXPECT_EQ(window().message(), c.message);
        if (c.message != "before printing") continue;
        QFile pdf(c.file);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        // One image of the window's own size, on one page.
        const QSize size = window().grab().size();
        EXPECT_EQ(bytes.count("/Subtype /Image"), 1);
        EXPECT_TRUE(
            bytes.contains(QString("/Width %1\n/Height %2").arg(size.width()).arg(size.height()).toLatin1()));
        EXPECT_EQ(bytes.count("/Type /Page\n"), 1);
        EXPECT_FALSE(bytes.contains("/DCTDecode")); // no lossy compression of the window's text
    }
}

TEST_F(PrintWindow, WithoutAPrinterTheMessageLineSaysSo) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    window().mnuPrint->trigger();
    EXPECT_EQ(window().message(), "Print failed: no default printer is installed.");
    EXPECT_TRUE(window().isVisible());
}
