// The rich-text reader of the help window: what it shows of the constructs the help document uses,
// and that malformed or random input never brings it down.
#include "help/RtfReader.h"
#include "support/QtPrint.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <random>

namespace {
QTextCharFormat formatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1); // the format of the character before the cursor
    return cursor.charFormat();
}
} // namespace

TEST(HelpRtfReader, PlainTextOfTheConstructsTheDocumentUses) {
    const struct {
        const char* rtf;
        const char16_t* text;
    } cases[] = {
        {R"({\rtf1 Hello})", u"Hello"},
        {R"({\rtf1 one\par two\par})", u"one\ntwo\n"},
        {R"({\rtf1 a\line b})", u"a\nb"},
        {R"({\rtf1 a\tab b})", u"a\tb"},
        {R"({\rtf1 {\b bold} and {\i italic}})", u"bold and italic"},
        {R"({\rtf1 x\
y})",
         u"x\ny"},
        {"{\\rtf1 line\r\nbreaks\nin the file}", u"linebreaksin the file"},
        {R"({\rtf1 \{braces\} and \\})", u"{braces} and \\"},
        {R"({\rtf1 caf\'e9 \'80})", u"caf\u00e9 \u20ac"},
        {R"({\rtf1 \u30446?\u21069?})", u"\u76ee\u524d"},
        {R"({\rtf1 \u-3? neg})", u"\ufffd neg"},
        {R"({\rtf1\uc2 \u8364ab c})", u"\u20ac c"},
        {R"({\rtf1\uc0 \u8364 ab})", u"\u20acab"},
        {R"({\rtf1 {\uc2 \u8364\'80\'80}x})", u"\u20acx"},
        {R"({\rtf1 \u-10179?\u-8704? smile})", u"\U0001F600 smile"},
        {R"({\rtf1 \u-10179? lone})", u"\ufffd lone"},
        {R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}shown})", u"shown"},
        {R"({\rtf1{\*\generator hidden;}{\info{\title t}}{\stylesheet{s}}shown})", u"shown"},
        {R"({\rtf1{\*\unknowndest {nested} text}shown})", u"shown"},
        {R"({\rtf1\unknownword42 kept \alsounknown-7 text})", u"kept text"},
        {R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~})",
         u"\u2014\u2013\u2022\u2018\u2019\u201c\u201d "}, // plain text shows the no-break space as a blank
        {R"({\rtf1 a\bin3 {}\after})", u"aafter"},
        {R"({\rtf1 {\pict\wmetafile8 0123456789abcdef}shown})", u"shown"},
        {R"({\rtf1 inside}outside)", u"inside"},
        {"  {\\rtf1 leading blanks}", u"leading blanks"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtfPlainText(c.rtf), QString::fromUtf16(c.text)) << c.rtf;
}

TEST(HelpRtfReader, FormatsBoldItalicUnderlineSizeAndColour) {
    QTextDocument document;
    ASSERT_TRUE(readRtf(R"({\rtf1{\colortbl;\red0\green0\blue0;\red176\green0\blue0;})"
                        R"(p{\b b}{\i i}{\ul u}{\fs48 s}{\cf2 c}{\b\b0 n}{\b\plain q}\par\qc centred})",
                        document));
    EXPECT_EQ(document.toPlainText(), "pbiuscnq\ncentred");
    EXPECT_NE(formatAt(document, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(document, 1).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(document, 2).fontItalic());
    EXPECT_TRUE(formatAt(document, 3).fontUnderline());
    EXPECT_EQ(formatAt(document, 4).fontPointSize(), 24.0);
    EXPECT_EQ(formatAt(document, 5).foreground().color(), QColor(176, 0, 0));
    EXPECT_NE(formatAt(document, 6).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(document, 7).fontWeight(), QFont::Bold);
    EXPECT_EQ(document.findBlock(9).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(HelpRtfReader, MalformedInputEndsInSomeTextAndNeverFails) {
    const std::string deepOpen(200000, '{');
    const std::string deepBalanced = std::string(5000, '{') + "deep" + std::string(5000, '}');
    const struct {
        std::string rtf;
        const char16_t* text; // nullptr: any text will do
        bool accepted;
    } cases[] = {
        {"", u"", false},
        {"plain text, not rich text", u"", false},
        {"{\\rtf", u"", true},
        {"{\\rtf1 unclosed {group {deeper", u"unclosed group deeper", true},
        {"{\\rtf1 a}}}}} b", u"a", true},
        {"{\\rtf1 a\\", u"a", true},
        {"{\\rtf1 a\\'", u"a", true},
        {"{\\rtf1 a\\'4", u"a", true},
        {"{\\rtf1 a\\'zz b}", u"azz b", true},
        {"{\\rtf1 a\\u", u"a", true},
        {"{\\rtf1 a\\u-", u"a", true},
        {"{\\rtf1 \\fs99999999999999999999999999 big \\cf99999999999999 colour}", u"big colour", true},
        {"{\\rtf1 \\u99999999999999999999? huge}", nullptr, true},
        {"{\\rtf1 \\uc99999999999 \\u8364 abc}", u"\u20ac", true},
        {"{\\rtf1 a\\bin99999999999999999999 swallowed}", u"a", true},
        {"{\\rtf1 a\\bin-5 b}", u"ab", true},
        {"{\\rtf1 {\\colortbl" + std::string(5000, ';') + "}\\cf4999 x}", u"x", true},
        {"{\\rtf1 " + std::string(100, 'x') + "\\" + std::string(100, 'w') + " y}", nullptr, true},
        {"{\\rtf1 " + deepOpen + "x", u"x", true},
        {"{\\rtf1 " + deepBalanced + " after}", u"deep after", true},
        {"{\\rtf1 \\u0 \\u13?\\u10?\\u8233?\\u64976?\\u65535?ok}", u"ok", true},
        {std::string("{\\rtf1 nul\0byte}", 16), u"nulbyte", true},
        {"{\\rtf1 \\*}visible", u"", true},
    };
    for (const auto& c : cases) {
        QTextDocument document;
        EXPECT_EQ(readRtf(QByteArray::fromStdString(c.rtf), document), c.accepted) << c.rtf.substr(0, 60);
        if (c.text) {
            EXPECT_EQ(document.toPlainText(), QString::fromUtf16(c.text)) << c.rtf.substr(0, 60);
        }
        // One position per character, one per paragraph end.
        EXPECT_EQ(document.toPlainText().size(), document.characterCount() - 1) << c.rtf.substr(0, 60);
    }
}

TEST(HelpRtfReader, RandomInputNeverBringsItDown) {
    // Random bytes, and random mixtures of the reader's own tokens, after a rich-text opening.
    static const char* const tokens[] = {
        "{",       "}",           "\\",   "\\par ",     "\\line", "\\tab",     "\\b",       "\\b0 ",
        "\\i",     "\\ul",        "\\fs", "\\cf",       "\\'",    "\\'9f",     "\\u",       "\\u-",
        "\\uc",    "\\bin",       "\\*",  "\\colortbl", "\\red",  ";",         "\\fonttbl", "123",
        "-4",      "99999999999", " ",    "text",       "\r\n",   "\\\n",      "\\qc",      "\\pard",
        "\\plain", "\\~",         "?",    "\\emdash",   "\\pict", "\\unknown", "\xe9",      "\x80",
    };
    std::mt19937 random(4820);
    for (int round = 0; round < 400; ++round) {
        QByteArray data = "{\\rtf1 ";
        const int length = static_cast<int>(random() % 400);
        const bool bytes = round % 2 == 0;
        for (int i = 0; i < length; ++i) {
            if (bytes)
                data.append(static_cast<char>(random() % 256));
            else
                data.append(tokens[random() % std::size(tokens)]);
        }
        QTextDocument document;
        EXPECT_TRUE(readRtf(data, document));
        EXPECT_EQ(document.toPlainText().size(), document.characterCount() - 1) << data.toStdString();
    }
}
