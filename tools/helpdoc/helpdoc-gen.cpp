// Lays out the help document: reads the readable source (HelpDoc.txt) and writes HelpDoc.rtf, with
// every passage heading marked "@at N" starting exactly at character position N of the document's
// plain text (one character per shown character, one per paragraph end). The text before a
// positioned heading is padded with blanks at the end of its last paragraph, which a reader does not
// see, plus one empty paragraph that sets the heading apart.
//
// Usage: helpdoc-gen SOURCE OUTPUT [--report]   (--report lists how full each passage is)
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Paragraph {
    std::string rtf;
    long length = 0; // characters in the plain text, the paragraph end not included
};

struct Failure {
    std::string message;
};

// UTF-8 to code points; a malformed sequence is a failure of the source.
std::vector<char32_t> decodeUtf8(const std::string& text) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = 0;
        if (byte < 0x80) {
            code = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            code = byte & 0x1F, extra = 1;
        } else if ((byte & 0xF0) == 0xE0) {
            code = byte & 0x0F, extra = 2;
        } else if ((byte & 0xF8) == 0xF0) {
            code = byte & 0x07, extra = 3;
        } else {
            throw Failure{"the source is not UTF-8"};
        }
        if (i + extra >= text.size() && extra > 0) throw Failure{"the source is not UTF-8"};
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) throw Failure{"the source is not UTF-8"};
            code = (code << 6) | (next & 0x3F);
        }
        out.push_back(code);
        i += 1 + extra;
    }
    return out;
}

void appendUnit(Paragraph& paragraph, char16_t unit) {
    paragraph.rtf += "\\u" + std::to_string(static_cast<int16_t>(unit)) + "?";
    ++paragraph.length;
}

// Inline text: "**" switches bold on and off; everything else is shown as it stands.
void appendText(Paragraph& paragraph, const std::string& text) {
    const std::vector<char32_t> codes = decodeUtf8(text);
    bool bold = false;
    for (size_t i = 0; i < codes.size(); ++i) {
        const char32_t c = codes[i];
        if (c == '*' && i + 1 < codes.size() && codes[i + 1] == '*') {
            bold = !bold;
            paragraph.rtf += bold ? "\\b " : "\\b0 ";
            ++i;
        } else if (c == '\\' || c == '{' || c == '}') {
            paragraph.rtf += '\\';
            paragraph.rtf += static_cast<char>(c);
            ++paragraph.length;
        } else if (c >= 0x20 && c < 0x7F) {
            paragraph.rtf += static_cast<char>(c);
            ++paragraph.length;
        } else if (c < 0x20) {
            throw Failure{"control character in the source"};
        } else if (c < 0x10000) {
            appendUnit(paragraph, static_cast<char16_t>(c));
        } else {
            const char32_t v = c - 0x10000;
            appendUnit(paragraph, static_cast<char16_t>(0xD800 + (v >> 10)));
            appendUnit(paragraph, static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        }
    }
    if (bold) paragraph.rtf += "\\b0 ";
}

struct Passage {
    long position;
    std::string heading;
    long available; // characters from its heading to the next positioned heading (-1: open end)
    long used;
};

class Layout {
public:
    explicit Layout(bool report) : m_report(report) {}

    void title(const std::string& text) {
        Paragraph p;
        p.rtf = "\\pard\\qc{\\b\\fs32\\cf2 ";
        appendText(p, text);
        p.rtf += "}";
        add(p);
        m_alignmentPending = true;
    }

    void section(const std::string& text) {
        separate();
        add(heading(text, 3));
    }

    void passage(long position, const std::string& text, int line) {
        closeParagraph();
        const long now = length();
        if (now > position) {
            std::ostringstream message;
            message << "line " << line << ": the text before the passage at " << position << " is "
                    << now - position << " characters too long";
            throw Failure{message.str()};
        }
        if (m_passages.empty() && m_report) std::cout << "0\t" << now << "/" << position << "\t(opening)\n";
        if (!m_passages.empty()) {
            m_passages.back().used = now - m_passages.back().position;
            m_passages.back().available = position - m_passages.back().position;
        }
        if (now < position) {
            // One empty paragraph sets the heading apart; blanks at the end of the last paragraph
            // make up the rest.
            const long blanks = position - now - 1;
            if (m_paragraphs.empty()) {
                add(Paragraph{std::string(blanks, ' '), blanks});
            } else {
                m_paragraphs.back().rtf += std::string(blanks, ' ');
                m_paragraphs.back().length += blanks;
            }
            add(Paragraph{});
        }
        m_passages.push_back({position, text, -1, 0});
        add(heading(text, 2));
    }

    // A line of running text: a bullet above ends; otherwise it continues the open paragraph.
    void line(const std::string& text) {
        if (m_bullet) closeParagraph();
        this->text(text);
    }

    // Text joined to the open paragraph with one blank.
    void text(const std::string& line) {
        if (!m_open) {
            m_current = Paragraph{};
            if (m_alignmentPending) {
                m_current.rtf = "\\pard\\ql ";
                m_alignmentPending = false;
            }
            m_open = true;
        } else {
            appendText(m_current, " ");
        }
        appendText(m_current, line);
    }

    void bullet(const std::string& line) {
        closeParagraph();
        text("");
        m_bullet = true;
        m_current.rtf += "\\bullet  ";
        m_current.length += 2;
        appendText(m_current, line);
    }

    void closeParagraph() {
        if (!m_open) return;
        m_open = false;
        m_bullet = false;
        add(m_current);
    }

    std::string finish() {
        closeParagraph();
        std::string out =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
            "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
            "{\\colortbl;\\red0\\green0\\blue0;\\red176\\green0\\blue0;\\red0\\green0\\blue160;}"
            "{\\*\\generator helpdoc-gen;}"
            "\n\\viewkind4\\pard\\plain\\f0\\fs20\n";
        for (const Paragraph& p : m_paragraphs)
            out += p.rtf + "\\par\n";
        out += "}\n";
        if (m_report) {
            if (!m_passages.empty()) m_passages.back().used = length() - m_passages.back().position;
            for (const Passage& p : m_passages)
                std::cout << p.position << "\t" << p.used << "/" << p.available << "\t" << p.heading << "\n";
        }
        return out;
    }

private:
    static Paragraph heading(const std::string& text, int colour) {
        Paragraph p;
        p.rtf = "{\\b\\fs24\\cf" + std::to_string(colour) + " ";
        appendText(p, text);
        p.rtf += "}";
        return p;
    }

    void separate() {
        closeParagraph();
        if (!m_paragraphs.empty()) add(Paragraph{});
    }

    void add(const Paragraph& p) { m_paragraphs.push_back(p); }

    // The plain text's length so far, every paragraph end counted.
    long length() const {
        long total = 0;
        for (const Paragraph& p : m_paragraphs)
            total += p.length + 1;
        return total;
    }

    bool m_report;
    std::vector<Paragraph> m_paragraphs;
    Paragraph m_current;
    bool m_open = false;
    bool m_bullet = false; // the open paragraph is a bullet item
    bool m_alignmentPending = false;
    std::vector<Passage> m_passages;
};

std::string trimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\t'))
        s.pop_back();
    return s;
}

std::string generate(std::istream& source, bool report) {
    Layout layout(report);
    std::string raw;
    int line = 0;
    while (std::getline(source, raw)) {
        ++line;
        const std::string text = trimRight(raw);
        if (!text.empty() && text[0] == '#') continue;
        if (text.empty()) {
            layout.closeParagraph();
        } else if (text.rfind("@title ", 0) == 0) {
            layout.title(text.substr(7));
        } else if (text.rfind("@section ", 0) == 0) {
            layout.section(text.substr(9));
        } else if (text.rfind("@at ", 0) == 0) {
            std::istringstream words(text.substr(4));
            long position = -1;
            words >> position;
            std::string heading;
            std::getline(words >> std::ws, heading);
            if (position < 0 || heading.empty())
                throw Failure{"line " + std::to_string(line) + ": @at needs a position and a heading"};
            layout.passage(position, heading, line);
        } else if (text.rfind("- ", 0) == 0) {
            layout.bullet(text.substr(2));
        } else if (text.rfind("  ", 0) == 0) {
            layout.text(text.substr(text.find_first_not_of(' ')));
        } else if (text[0] == '@') {
            throw Failure{"line " + std::to_string(line) + ": unknown directive"};
        } else {
            layout.line(text);
        }
    }
    return layout.finish();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: helpdoc-gen SOURCE OUTPUT [--report]\n";
        return 2;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::cerr << "helpdoc-gen: cannot read " << argv[1] << "\n";
        return 1;
    }
    try {
        const std::string rtf = generate(source, argc > 3 && std::string(argv[3]) == "--report");
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << rtf;
        if (!out) {
            std::cerr << "helpdoc-gen: cannot write " << argv[2] << "\n";
            return 1;
        }
    } catch (const Failure& failure) {
        std::cerr << argv[1] << ": " << failure.message << "\n";
        return 1;
    }
    return 0;
}
