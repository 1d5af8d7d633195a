// The help document as the build lays it out beside the program, read the way the help window reads
// it: every caption opens at the heading of its own passage.
#include "help/RtfReader.h"
#include "panel/rules/HelpPositions.h"
#include "support/QtPrint.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <map>

TEST(HelpDocument, EveryCaptionOpensAtTheHeadingOfItsPassage) {
    // The build writes HelpDoc.rtf into the program folder, one level above the test program.
    QTextDocument document;
    ASSERT_TRUE(loadRtfFile(QCoreApplication::applicationDirPath() + "/../HelpDoc.rtf", document));
    const QString text = document.toPlainText();
    EXPECT_TRUE(document.begin().text().startsWith("DXS-4820 Function Generator Help Document"));
    std::vector<HelpPassage> entries(kLabelPassages.begin(), kLabelPassages.end());
    entries.insert(entries.end(), kPanelPassages.begin(), kPanelPassages.end());
    ASSERT_EQ(entries.size(), 38u);
    std::map<int, QStringList> captionsAt;
    for (const HelpPassage& e : entries) {
        SCOPED_TRACE(e.caption);
        if (e.position == 0) { // no passage of its own: the opening pages describe the item
            EXPECT_TRUE(text.left(2278).contains(e.caption));
            continue;
        }
        ASSERT_LT(e.position + HelpClickOffset, text.size());
        // The heading's paragraph starts exactly at the position and names the caption.
        const QTextBlock block = document.findBlock(e.position);
        EXPECT_EQ(block.position(), e.position);
        EXPECT_TRUE(block.text().startsWith(e.caption) || block.text().contains(QString("  ") + e.caption))
            << block.text().toStdString();
        captionsAt[e.position] << e.caption;
    }
    EXPECT_EQ(captionsAt.size(), 33u);
    // The paragraphs set out as headings (bold, in the headings' red) are exactly the title and one
    // per position: no passage is missing and none stands where no caption leads.
    std::vector<int> headings, expected{0};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + 1);
        const QTextCharFormat format = cursor.charFormat();
        if (!block.text().isEmpty() && format.fontWeight() == QFont::Bold &&
            format.foreground().color() == QColor(176, 0, 0))
            headings.push_back(block.position());
    }
    for (const auto& entry : captionsAt)
        expected.push_back(entry.first);
    EXPECT_EQ(headings, expected);
}
