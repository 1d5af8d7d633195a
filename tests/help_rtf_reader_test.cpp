// The rich-text reader of the help window: the text it shows of the constructs the help document
// uses, and that malformed input never brings it down.
#include "help/RtfReader.h"
#include "support/QtPrint.h"

#include <QTextDocument>
#include <gtest/gtest.h>

namespace {
// What the reader made of the input: accepted, and one position per character and paragraph end.
QString read(const QByteArray& rtf, bool accepted = true) {
    QTextDocument document;
    EXPECT_EQ(readRtf(rtf, document), accepted) << rtf.left(60).toStdString();
    EXPECT_EQ(document.toPlainText().size(), document.characterCount() - 1) << rtf.left(60).toStdString();
    return document.toPlainText();
}
} // namespace

TEST(HelpRtfReader, PlainTextOfWellAndMalformedInput) {
    // clang-format off
    const struct { std::string rtf; const char16_t* text; bool accepted = true; } cases[] = { // text nullptr: any
        {R"({\rtf1 Hello})", u"Hello"}, {R"({\rtf1 one\par two\par})", u"one\ntwo\n"},
        {R"({\rtf1 a\line b})", u"a\nb"}, {R"({\rtf1 {\b bold} and {\i italic}})", u"bold and italic"},
        {"{\\rtf1 x\\\ny}", u"x\ny"}, {"{\\rtf1 line\r\nbreaks\nin the file}", u"linebreaksin the file"},
        {R"({\rtf1 \{braces\} and \\})", u"{braces} and \\"}, {R"({\rtf1 caf\'e9 \'80})", u"caf\u00e9 \u20ac"},
        {R"({\rtf1 \u30446?\u21069?})", u"\u76ee\u524d"}, {R"({\rtf1 \u-3? neg})", u"\ufffd neg"},
        {R"({\rtf1\uc2 \u8364ab c})", u"\u20ac c"}, {R"({\rtf1\uc0 \u8364 ab})", u"\u20acab"},
        {R"({\rtf1 {\uc2 \u8364\'80\'80}x})", u"\u20acx"},
        {R"({\rtf1 \u-10179?\u-8704? smile})", u"\U0001F600 smile"}, {R"({\rtf1 \u-10179? lone})", u"\ufffd lone"},
        {R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}shown})", u"shown"},
        {R"({\rtf1{\*\generator hidden;}{\info{\title t}}{\stylesheet{s}}shown})", u"shown"},
        {R"({\rtf1{\*\unknowndest {nested} text}shown})", u"shown"},
        {R"({\rtf1\unknownword42 kept \alsounknown-7 text})", u"kept text"},
        {R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~})", u"\u2014\u2013\u2022\u2018\u2019\u201c\u201d "},
        {R"({\rtf1 a\bin3 {}\after})", u"aafter"}, {R"({\rtf1 {\pict\wmetafile8 0123456789abcdef}shown})", u"shown"},
        {"  {\\rtf1 leading blanks}", u"leading blanks"},
        // malformed
        {"", u"", false}, {"plain text, not rich text", u"", false}, {"{\\rtf", u""},
        {"{\\rtf1 unclosed {group {deeper", u"unclosed group deeper"}, {"{\\rtf1 a}}}}} b", u"a"},
        {"{\\rtf1 a\\", u"a"}, {"{\\rtf1 a\\'4", u"a"}, {"{\\rtf1 a\\'zz b}", u"azz b"}, {"{\\rtf1 a\\u-", u"a"},
        {"{\\rtf1 \\u99999999999999999999? huge}", nullptr},
        {"{\\rtf1 \\fs99999999999999999999999999 big \\cf99999999999999 colour}", u"big colour"},
        {"{\\rtf1 \\uc99999999999 \\u8364 abc}", u"\u20ac"}, {"{\\rtf1 a\\bin99999999999999999999 swallowed}", u"a"},
        {"{\\rtf1 a\\bin-5 b}", u"ab"}, {"{\\rtf1 {\\colortbl" + std::string(5000, ';') + "}\\cf4999 x}", u"x"},
        {"{\\rtf1 " + std::string(100, 'x') + "\\" + std::string(100, 'w') + " y}", nullptr},
        {"{\\rtf1 " + std::string(200000, '{') + "x", u"x"},
        {"{\\rtf1 " + std::string(5000, '{') + "deep" + std::string(5000, '}') + " after}", u"deep after"},
        {"{\\rtf1 \\u0 \\u13?\\u10?\\u8233?\\u64976?\\u65535?ok}", u"ok"},
        {std::string("{\\rtf1 nul\0byte}", 16), u"nulbyte"}, {"{\\rtf1 \\*}visible", u""}};
    // clang-format on
    for (const auto& c : cases) {
        const QString text = read(QByteArray::fromStdString(c.rtf), c.accepted);
        if (c.text) EXPECT_EQ(text, QString::fromUtf16(c.text)) << c.rtf.substr(0, 60);
    }
}
