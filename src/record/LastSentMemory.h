#pragma once
// What the last send transmitted, one row per skippable value. Text values are held as fixed-length
// text (cut or blank-padded to the row's width), so a text longer than its row never compares equal
// and is sent every time; codes are held as whole numbers.
#include <QString>
#include <array>

enum class SentValue {
    MainWaveform,
    MainFreq,
    MainAmp,
    MainDCOffset,
    MainDuty,
    SweepModel,
    SweepStart,
    SweepStop,
    SweepSymmetry,
    SweepRate,
    AMRate,
    AMSymmetry,
    AMSpanDepth,
    FMRate,
    FMSymmetry,
    FMSpan,
    TrgRate,
    TrgSymmetry,
    TrgPhase,
};
constexpr int SentValueCount = 19;

struct SentValueRow {
    SentValue value;
    enum Kind { Code, Text, IntegerText } kind;
    int width; // characters held, for Text rows
};

class LastSentMemory {
public:
    LastSentMemory();

    static const SentValueRow& row(SentValue value);

    // Whether the field's text differs from the remembered one, both trimmed of blanks. An
    // IntegerText row compares its remembered number, written in decimal, with the field text.
    bool differs(SentValue value, const QString& fieldText) const;
    // Whether a code differs from the remembered code.
    bool differs(SentValue value, int code) const;

    // Text rows keep the text cut or padded to their width.
    void remember(SentValue value, const QString& fieldText);
    // Code and IntegerText rows keep a number.
    void remember(SentValue value, int code);

    QString rememberedText(SentValue value) const;
    int rememberedCode(SentValue value) const;

private:
    std::array<QString, SentValueCount> m_texts;
    std::array<int, SentValueCount> m_codes{};
};

// A text without the blanks around it (only blanks: tabs and other characters stay).
QString trimBlanks(const QString& text);
