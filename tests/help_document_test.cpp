// The help document as the build lays it out beside the program, read the way the help window reads
// it: every caption opens at the heading of its own passage.
#include "help/RtfReader.h"
#include "panel/rules/HelpPositions.h"
#include "support/QtPrint.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

// The build writes HelpDoc.rtf into the program folder, one level above the test program.
QString builtHelpDocument() {
    return QCoreApplication::applicationDirPath() + "/../HelpDoc.rtf";
}

struct Entry {
    const char* table;
    int index;
    const char* caption;
    int position;
};

std::vector<Entry> allEntries() {
    std::vector<Entry> entries;
    for (const HelpPassage& p : kLabelPassages)
        entries.push_back({"Label1", p.index, p.caption, p.position});
    for (const HelpPassage& p : kPanelPassages)
        entries.push_back({"SSPanel1", p.index, p.caption, p.position});
    return entries;
}

class HelpDocument : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(builtHelpDocument())) << builtHelpDocument().toStdString();
        ASSERT_TRUE(loadRtfFile(builtHelpDocument(), m_document));
        m_text = m_document.toPlainText();
    }

    // The paragraph that starts at a position.
    QString paragraphAt(int position) const { return m_document.findBlock(position).text(); }

    QTextDocument m_document;
    QString m_text;
};

} // namespace

TEST_F(HelpDocument, EveryCaptionOpensAtTheHeadingOfItsPassage) {
    const std::vector<Entry> entries = allEntries();
    ASSERT_EQ(entries.size(), 38u);
    const int firstPassage = 2278;
    for (const Entry& e : entries) {
        SCOPED_TRACE(std::string(e.table) + "(" + std::to_string(e.index) + ") " + e.caption);
        if (e.position == 0) {
            // No passage of its own: the opening pages describe the item.
            EXPECT_TRUE(m_text.left(firstPassage).contains(e.caption));
            continue;
        }
        ASSERT_LT(e.position + HelpClickOffset, m_text.size());
        // The heading's paragraph starts exactly at the position and names the caption, in bold.
        EXPECT_EQ(m_text.at(e.position - 1), u'\n');
        EXPECT_EQ(m_document.findBlock(e.position).position(), e.position);
        EXPECT_TRUE(paragraphAt(e.position).startsWith(e.caption) ||
                    paragraphAt(e.position).contains(QString("  ") + e.caption))
            << paragraphAt(e.position).toStdString();
        QTextCursor cursor(&m_document);
        cursor.setPosition(e.position + 1);
        EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    }
}

TEST_F(HelpDocument, CaptionsSharingAPositionShareOneHeading) {
    std::map<int, QStringList> captionsAt;
    for (const Entry& e : allEntries())
        if (e.position != 0) captionsAt[e.position] << e.caption;
    EXPECT_EQ(captionsAt.size(), 33u);
    for (const auto& [position, captions] : captionsAt)
        for (const QString& caption : captions)
            EXPECT_TRUE(paragraphAt(position).contains(caption)) << caption.toStdString();

    // The paragraphs set out as passage headings (bold, in the headings' red) are exactly the title
    // and one per position: no passage is missing and none stands where no caption leads.
    std::vector<int> headings;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (block.text().isEmpty()) continue;
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + 1);
        const QTextCharFormat format = cursor.charFormat();
        if (format.fontWeight() == QFont::Bold && format.foreground().color() == QColor(176, 0, 0))
            headings.push_back(block.position());
    }
    std::vector<int> expected{0};
    for (const auto& entry : captionsAt)
        expected.push_back(entry.first);
    EXPECT_EQ(headings, expected);
}

TEST_F(HelpDocument, TellsHowToConnectAndWhatTheProgramDoes) {
    // Items of the opening pages and the closing sections a user looks for.
    for (const char* topic :
         {"COM Port :", "Buad Rate:", "COM1", "/dev/ttyUSB0", "USB adapters first", "Send", "Save", "Load",
          "Print", "orange", "white", "Enter", "arrow keys", "dxs4820-sim", "./run.sh", "DXS4820.Log"})
        EXPECT_TRUE(m_text.contains(topic)) << topic;
    EXPECT_TRUE(paragraphAt(0).startsWith("DXS-4820 Function Generator Help Document"));
}

TEST_F(HelpDocument, PassagesStateTheRangesOfTheirBoxes) {
    // Spot checks that a passage speaks of its own item: its range as the box enforces it.
    const struct {
        int position;
        const char* words;
    } cases[] = {
        {2474, "0.01 Hz to 15 MHz"}, {2865, "10 Vpp"},         {3265, "20 to 80"},
        {4950, "0.01 Hz to 10 kHz"}, {5182, "10 to 90"},       {6708, "0 to 15"},
        {9236, "-90 to 80"},         {13832, "0.01 s, 0.1 s"}, {10522, "10 to 90"},
    };
    for (const auto& c : cases) {
        const int next = m_text.indexOf(u'\n', c.position) + 1;
        EXPECT_TRUE(paragraphAt(next).contains(c.words)) << c.position << " " << c.words;
    }
}
