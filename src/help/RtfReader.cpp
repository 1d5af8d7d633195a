#include "help/RtfReader.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextBlockFormat>
#include <QTextBoundaryFinder>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace {

// Bounds that keep malformed input from costing more than the document itself.
constexpr int kMaxGroupDepth = 512; // deeper groups share their parent's state
constexpr int kMaxColours = 1024;   // further colour table entries are ignored
constexpr qint64 kMaxParameter = 1'000'000'000;
constexpr qint64 kMaxFileSize = 512 * 1024;
constexpr int kMaxFallbackSkip = 16; // \ucN
// Wrapping a paragraph costs time that grows with the square of its longest stretch without a
// place to break the line; a paragraph with a longer one is laid out on lines of its own making
// (ends of paragraphs and line breaks) instead, which costs time in proportion to its length.
constexpr int kMaxUnbrokenStretch = 1000;
// Each change of format costs the layout an item of its own: a paragraph keeps this many formats,
// and the rest of its text goes on in the last of them.
constexpr size_t kMaxRunsPerParagraph = 2000;
// Shaping a run of combining marks costs time that grows with the square of its length: each mark
// looks back over the marks before it (and over invisible format characters between them) for the
// letter it sits on. No written letter carries more than a few marks; a longer run, or a longer
// cluster of any kind, is cut into pieces of at most this many characters. The character at each
// cut becomes a dotted circle, the usual stand-in for a missing letter under marks, so the text
// keeps its length and its positions.
constexpr qsizetype kMaxClusterLength = 32;
constexpr char16_t kDottedCircle = 0x25CC;

enum class Destination { Text, Skip, ColourTable };

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 0; // 0: the document's default size
    int colour = 0;     // index into the colour table; 0: the default colour

    bool operator==(const CharState&) const = default;
};

struct GroupState {
    CharState chars;
    Qt::Alignment alignment = Qt::AlignLeft;
    Destination destination = Destination::Text;
    int fallbackSkip = 1; // characters that follow a \uN as its stand-in
};

struct Run {
    QString text;
    CharState format;
};

struct Paragraph {
    Qt::Alignment alignment = Qt::AlignLeft;
    std::vector<Run> runs;
};

// Whether the paragraph holds a stretch of more than kMaxUnbrokenStretch characters without a blank
// or a tab between them, where the line could be broken.
bool hasLongUnbrokenStretch(const Paragraph& paragraph) {
    int stretch = 0;
    for (const Run& run : paragraph.runs) {
        for (const QChar c : run.text) {
            stretch = c.isSpace() ? 0 : stretch + 1;
            if (stretch > kMaxUnbrokenStretch) return true;
        }
    }
    return false;
}

// Whether the character ends a run of marks: one that starts a cluster and is neither a mark nor an
// invisible format character.
bool startsPiece(char32_t c, bool clusterStart) {
    return clusterStart && !QChar::isMark(c) && QChar::category(c) != QChar::Other_Format;
}

// Cuts every run of marks and every cluster of the paragraph longer than kMaxClusterLength; the
// runs keep their lengths.
void boundClusters(Paragraph& paragraph) {
    QString text;
    for (const Run& run : paragraph.runs)
        text += run.text;
    if (text.size() <= kMaxClusterLength) return;
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    bool changed = false;
    qsizetype piece = 0; // characters since the last letter or the last cut
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype width = pair ? 2 : 1;
        const char32_t c = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        clusters.setPosition(i);
        if (startsPiece(c, clusters.isAtBoundary())) piece = 0;
        if (piece + width > kMaxClusterLength) {
            // a character of two halves gives two circles, so the positions stay as they were
            for (qsizetype k = i; k < i + width; ++k)
                text[k] = QChar(kDottedCircle);
            changed = true;
            piece = 0;
        }
        piece += width;
        i += width;
    }
    if (!changed) return;
    qsizetype from = 0;
    for (Run& run : paragraph.runs) {
        run.text = text.mid(from, run.text.size());
        from += run.text.size();
    }
}

enum class Word {
    Par,
    Line,
    Tab,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    FontSize,
    Colour,
    Plain,
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    Red,
    Green,
    Blue,
    Unicode,
    UnicodeSkip,
    Binary,
    ColourTable,
    SkippedDestination,
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
};

const QHash<QByteArray, Word>& knownWords() {
    static const QHash<QByteArray, Word> words = [] {
        QHash<QByteArray, Word> table = {
            {"par", Word::Par},
            {"sect", Word::Par},
            {"page", Word::Par},
            {"row", Word::Par},
            {"line", Word::Line},
            {"tab", Word::Tab},
            {"cell", Word::Tab},
            {"b", Word::Bold},
            {"i", Word::Italic},
            {"ul", Word::Underline},
            {"ulnone", Word::UnderlineNone},
            {"fs", Word::FontSize},
            {"cf", Word::Colour},
            {"plain", Word::Plain},
            {"pard", Word::Pard},
            {"ql", Word::AlignLeft},
            {"qc", Word::AlignCenter},
            {"qr", Word::AlignRight},
            {"qj", Word::AlignJustify},
            {"red", Word::Red},
            {"green", Word::Green},
            {"blue", Word::Blue},
            {"u", Word::Unicode},
            {"uc", Word::UnicodeSkip},
            {"bin", Word::Binary},
            {"colortbl", Word::ColourTable},
            {"emdash", Word::EmDash},
            {"endash", Word::EnDash},
            {"bullet", Word::Bullet},
            {"lquote", Word::LeftQuote},
            {"rquote", Word::RightQuote},
            {"ldblquote", Word::LeftDoubleQuote},
            {"rdblquote", Word::RightDoubleQuote},
        };
        // Destinations whose content is never shown.
        for (const char* name : {"fonttbl",
                                 "filetbl",
                                 "stylesheet",
                                 "info",
                                 "pict",
                                 "object",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "fldinst",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "listtable",
                                 "listoverridetable",
                                 "revtbl",
                                 "rsidtbl",
                                 "generator",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "pgdsctbl",
                                 "nonshppict",
                                 "shppict",
                                 "bkmkstart",
                                 "bkmkend",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "xmlnstbl",
                                 "mmathPr"})
            table.insert(name, Word::SkippedDestination);
        return table;
    }();
    return words;
}

// Windows-1252 for the bytes 0x80..0x9F; the rest of the upper half is Latin-1.
char16_t windows1252(unsigned char byte) {
    static constexpr char16_t upper[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    if (byte >= 0x80 && byte < 0xA0) return upper[byte - 0x80];
    return byte;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Characters that a text document would turn into structure (block and frame separators, carriage
// returns) or that have no place in a text: dropped, so one shown character stays one position.
bool isStructuralCharacter(char16_t c) {
    if (c < 0x20) return c != u'\t';
    return c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFE || c == 0xFFFF;
}

// Unpaired surrogates become replacement characters.
void repairSurrogates(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) text[i] = QChar::ReplacementCharacter;
    }
}

class Parser {
public:
    explicit Parser(const QByteArray& input) : m_in(input) {}

    std::vector<Paragraph> parse() {
        while (m_pos < m_in.size() && !m_finished)
            step();
        endParagraph();
        return std::move(m_paragraphs);
    }

    const std::vector<QColor>& colours() const { return m_colours; }

private:
    void step() {
        const char c = m_in.at(m_pos);
        switch (c) {
        case '{':
            ++m_pos;
            openGroup();
            break;
        case '}':
            ++m_pos;
            closeGroup();
            break;
        case '\\':
            ++m_pos;
            controlSequence();
            break;
        case '\r':
        case '\n':
            ++m_pos; // line breaks of the file carry no meaning
            break;
        default:
            ++m_pos;
            if (m_state.destination == Destination::ColourTable) {
                if (c == ';') endColour();
            } else {
                text(windows1252(static_cast<unsigned char>(c)));
            }
            break;
        }
    }

    void openGroup() {
        m_fallbackPending = 0;
        if (m_stack.size() >= kMaxGroupDepth) {
            ++m_overflowDepth;
            return;
        }
        m_stack.push_back(m_state);
    }

    void closeGroup() {
        m_fallbackPending = 0;
        if (m_overflowDepth > 0) {
            --m_overflowDepth;
            return;
        }
        if (m_stack.empty()) {
            m_finished = true; // the document's outermost group has ended
            return;
        }
        m_state = m_stack.back();
        m_stack.pop_back();
    }

    void controlSequence() {
        if (m_pos >= m_in.size()) return; // a lone backslash at the end
        const char c = m_in.at(m_pos);
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++m_pos;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            text(static_cast<char16_t>(c));
            break;
        case '\'':
            hexCharacter();
            break;
        case '~':
            text(0x00A0);
            break;
        case '_':
            text(0x2011);
            break;
        case '*':
            m_state.destination = Destination::Skip;
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        case '\t':
            text(u'\t');
            break;
        default:
            break; // \- optional hyphen, \| and the like: nothing to show
        }
    }

    void hexCharacter() {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            const int digit = m_pos < m_in.size() ? hexDigit(m_in.at(m_pos)) : -1;
            if (digit < 0) return; // truncated escape: dropped
            value = value * 16 + digit;
            ++m_pos;
        }
        if (m_state.destination == Destination::Text) text(windows1252(static_cast<unsigned char>(value)));
    }

    void controlWord() {
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in.at(m_pos)))
            ++m_pos;
        const QByteArray name = m_in.mid(start, std::min<qsizetype>(m_pos - start, 32));
        bool hasParameter = false;
        bool negative = false;
        qint64 parameter = 0;
        if (m_pos < m_in.size() && m_in.at(m_pos) == '-' && m_pos + 1 < m_in.size() &&
            isDigit(m_in.at(m_pos + 1))) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && isDigit(m_in.at(m_pos))) {
            hasParameter = true;
            parameter = std::min(parameter * 10 + (m_in.at(m_pos) - '0'), kMaxParameter);
            ++m_pos;
        }
        if (negative) parameter = -parameter;
        if (m_pos < m_in.size() && m_in.at(m_pos) == ' ') ++m_pos; // the delimiting blank belongs to the word
        const auto found = knownWords().constFind(name);
        if (found == knownWords().constEnd()) return; // unknown words are skipped
        apply(*found, hasParameter, static_cast<int>(parameter));
    }

    void apply(Word word, bool hasParameter, int parameter) {
        const bool on = !hasParameter || parameter != 0;
        CharState& chars = m_state.chars;
        switch (word) {
        case Word::Par:
            paragraph();
            break;
        case Word::Line:
            text(0x2028);
            break;
        case Word::Tab:
            text(u'\t');
            break;
        case Word::Bold:
            chars.bold = on;
            break;
        case Word::Italic:
            chars.italic = on;
            break;
        case Word::Underline:
            chars.underline = on;
            break;
        case Word::UnderlineNone:
            chars.underline = false;
            break;
        case Word::FontSize:
            chars.halfPoints = hasParameter ? std::clamp(parameter, 2, 144) : 0;
            break;
        case Word::Colour:
            chars.colour = std::max(parameter, 0);
            break;
        case Word::Plain:
            chars = CharState{};
            break;
        case Word::Pard:
            m_state.alignment = Qt::AlignLeft;
            break;
        case Word::AlignLeft:
            m_state.alignment = Qt::AlignLeft;
            break;
        case Word::AlignCenter:
            m_state.alignment = Qt::AlignHCenter;
            break;
        case Word::AlignRight:
            m_state.alignment = Qt::AlignRight;
            break;
        case Word::AlignJustify:
            m_state.alignment = Qt::AlignJustify;
            break;
        case Word::Red:
            m_red = std::clamp(parameter, 0, 255), m_colourGiven = true;
            break;
        case Word::Green:
            m_green = std::clamp(parameter, 0, 255), m_colourGiven = true;
            break;
        case Word::Blue:
            m_blue = std::clamp(parameter, 0, 255), m_colourGiven = true;
            break;
        case Word::Unicode:
            unicode(parameter);
            break;
        case Word::UnicodeSkip:
            m_state.fallbackSkip = std::clamp(parameter, 0, kMaxFallbackSkip);
            break;
        case Word::Binary:
            m_pos += std::clamp<qint64>(parameter, 0, m_in.size() - m_pos);
            break;
        case Word::ColourTable:
            if (m_state.destination == Destination::Text) m_state.destination = Destination::ColourTable;
            break;
        case Word::SkippedDestination:
            m_state.destination = Destination::Skip;
            break;
        case Word::EmDash:
            text(0x2014);
            break;
        case Word::EnDash:
            text(0x2013);
            break;
        case Word::Bullet:
            text(0x2022);
            break;
        case Word::LeftQuote:
            text(0x2018);
            break;
        case Word::RightQuote:
            text(0x2019);
            break;
        case Word::LeftDoubleQuote:
            text(0x201C);
            break;
        case Word::RightDoubleQuote:
            text(0x201D);
            break;
        }
    }

    void unicode(int parameter) {
        // The parameter is a signed 16-bit value: negative numbers stand for the upper half.
        const int code = ((parameter % 65536) + 65536) % 65536;
        if (m_state.destination == Destination::Text && code != 0) {
            appendCharacter(static_cast<char16_t>(code));
        }
        m_fallbackPending = m_state.fallbackSkip;
    }

    // A shown character; the stand-ins that follow a \uN are dropped.
    void text(char16_t c) {
        if (m_fallbackPending > 0) {
            --m_fallbackPending;
            return;
        }
        if (m_state.destination != Destination::Text) return;
        appendCharacter(c);
    }

    void appendCharacter(char16_t c) {
        if (isStructuralCharacter(c)) return;
        if (!(m_state.chars == m_runFormat) &&
            (m_run.isEmpty() || m_current.runs.size() + 1 < kMaxRunsPerParagraph)) {
            flushRun();
            m_runFormat = m_state.chars;
        }
        m_run.append(QChar(c));
    }

    void flushRun() {
        if (m_run.isEmpty()) return;
        m_current.runs.push_back({m_run, m_runFormat});
        m_run.clear();
    }

    void paragraph() {
        if (m_state.destination != Destination::Text) return;
        m_fallbackPending = 0;
        endParagraph();
        m_current = Paragraph{};
    }

    void endParagraph() {
        flushRun();
        m_current.alignment = m_state.alignment;
        m_paragraphs.push_back(std::move(m_current));
    }

    void endColour() {
        if (m_colours.size() < kMaxColours)
            m_colours.push_back(m_colourGiven ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colourGiven = false;
    }

    const QByteArray& m_in;
    qsizetype m_pos = 0;
    bool m_finished = false;
    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0;
    GroupState m_state;
    int m_fallbackPending = 0;

    std::vector<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;

    std::vector<Paragraph> m_paragraphs;
    Paragraph m_current;
    QString m_run;
    CharState m_runFormat;
};

bool isRtf(const QByteArray& data) {
    qsizetype start = 0;
    while (start < data.size() && (data.at(start) == ' ' || data.at(start) == '\t' ||
                                   data.at(start) == '\r' || data.at(start) == '\n'))
        ++start;
    return data.mid(start, 5) == "{\\rtf";
}

QTextCharFormat charFormat(const CharState& state, const std::vector<QColor>& colours) {
    QTextCharFormat format;
    if (state.bold) format.setFontWeight(QFont::Bold);
    if (state.italic) format.setFontItalic(true);
    if (state.underline) format.setFontUnderline(true);
    if (state.halfPoints > 0) format.setFontPointSize(state.halfPoints / 2.0);
    if (state.colour > 0 && state.colour < static_cast<int>(colours.size()) &&
        colours[state.colour].isValid())
        format.setForeground(colours[state.colour]);
    return format;
}

} // namespace

bool readRtf(const QByteArray& rtf, QTextDocument& document) {
    document.clear();
    if (!isRtf(rtf)) return false;
    const qsizetype start = rtf.indexOf('{');
    const QByteArray body = rtf.mid(start + 1); // the outermost group is open from here on
    Parser parser(body);
    std::vector<Paragraph> paragraphs = parser.parse();

    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    bool first = true;
    for (Paragraph& paragraph : paragraphs) {
        for (Run& run : paragraph.runs)
            repairSurrogates(run.text);
        boundClusters(paragraph);
        QTextBlockFormat block;
        block.setAlignment(paragraph.alignment);
        if (hasLongUnbrokenStretch(paragraph)) block.setNonBreakableLines(true);
        if (first) {
            cursor.setBlockFormat(block);
            first = false;
        } else {
            cursor.insertBlock(block);
        }
        for (const Run& run : paragraph.runs)
            cursor.insertText(run.text, charFormat(run.format, parser.colours()));
    }
    cursor.endEditBlock();
    return true;
}

bool loadRtfFile(const QString& path, QTextDocument& document) {
    document.clear();
    // Only a regular file is opened: opening a pipe would wait for a writer that never comes.
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) return false;
    const QByteArray data = file.read(kMaxFileSize + 1);
    if (data.size() > kMaxFileSize) return false;
    return readRtf(data, document);
}

QString rtfPlainText(const QByteArray& rtf) {
    QTextDocument document;
    readRtf(rtf, document);
    return document.toPlainText();
}
