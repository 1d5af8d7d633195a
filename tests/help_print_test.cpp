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
    const QString unwritable = folder() + "/no such folder/window.pdf";
    for (const QString& file : {folder() + "/window.pdf", unwritable}) {
        window().setMessage("before printing");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printMainWindowOn(window().helpContext(), printer);
        EXPECT_EQ(window().message(),
                  file == unwritable
                      ? "Print failed: " + unwritable + " could not be written (No such file or directory)."
                      : QString("before printing"));
        if (file == unwritable) continue;
        QFile pdf(file);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        // One image of the window's own size, on one page, without lossy compression of its text.
        const QSize size = window().grab().size();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        EXPECT_EQ(bytes.count("/Subtype /Image"), 1);
        EXPECT_TRUE(
            bytes.contains(QString("/Width %1\n/Height %2").arg(size.width()).arg(size.height()).toLatin1()));
        EXPECT_EQ(bytes.count("/Type /Page\n"), 1);
        EXPECT_FALSE(bytes.contains("/DCTDecode"));
    }
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    window().mnuPrint->trigger();
    EXPECT_EQ(window().message(), "Print failed: no default printer is installed.");
}
