// Printing the window: one window-sized image on one page, or a message line that says why not.
#include "operations/Operations.h"
#include "support/FileSizeLimit.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <cstring>

using PrintWindow = WindowFixture;

// Output that cannot be written is a failed print, and a file already there keeps its content.
TEST_F(PrintWindow, PrintsTheWindowImageOrSaysWhyNot) {
    const QString pdf = folder() + "/window.pdf", kept = folder() + "/kept.pdf";
    const QString unwritable = folder() + "/no such folder/window.pdf";
    QFile old(kept);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    // The output file, the room a file may grow to, the message line after.
    const std::tuple<QString, rlim_t, QString> rows[] = {
        {pdf, RLIM_INFINITY, "before printing"},
        {unwritable, RLIM_INFINITY,
         "Print failed: " + unwritable + " could not be written (No such file or directory)."},
        {"/dev/full", RLIM_INFINITY, "Print failed: /dev/full is not a regular file."},
        // A write that fails on the way says the system's own words for the cause, in the user's language.
        {kept, 1000,
         "Print failed: " + kept + " could not be written (" + QString::fromLocal8Bit(std::strerror(EFBIG)) +
             ")."},
    };
    for (const auto& [file, room, message] : rows) {
        window().setMessage("before printing");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        {
            const FileSizeLimit fullDisk(room);
            printMainWindowOn(window().operationContext(), printer);
        }
        EXPECT_EQ(window().messageLineText(), message);
    }
    QFile printed(pdf), unchanged(kept);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly) && unchanged.open(QIODevice::ReadOnly));
    EXPECT_EQ(unchanged.readAll(), "old");
    const QByteArray bytes = printed.readAll(); // one image, window-sized, one page, no lossy compression
    const QSize size = window().grab().size();
    EXPECT_EQ(bytes.count("/Subtype /Image"), 1);
    EXPECT_TRUE(
        bytes.contains(QString("/Width %1\n/Height %2").arg(size.width()).arg(size.height()).toLatin1()));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 1);
    EXPECT_FALSE(bytes.contains("/DCTDecode"));
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    window().mnuPrint->trigger();
    EXPECT_EQ(window().messageLineText(), "Print failed: no default printer is installed.");
}
