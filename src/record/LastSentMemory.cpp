#include "record/LastSentMemory.h"

namespace {

constexpr SentValueRow code(SentValue value) {
    return {value, SentValueRow::Code, 0};
}
constexpr SentValueRow text(SentValue value, int width) {
    return {value, SentValueRow::Text, width};
}

// One row per skippable value, in the order the send reaches them.
constexpr std::array<SentValueRow, SentValueCount> kRows = {{
    code(SentValue::MainWaveform),     text(SentValue::MainFreq, 10),
    text(SentValue::MainAmp, 6),       text(SentValue::MainDCOffset, 6),
    text(SentValue::MainDuty, 2),      code(SentValue::SweepModel),
    text(SentValue::SweepStart, 10),   text(SentValue::SweepStop, 10),
    text(SentValue::SweepSymmetry, 2), text(SentValue::SweepRate, 6),
    text(SentValue::AMRate, 6),        {SentValue::AMSymmetry, SentValueRow::IntegerText, 0},
    text(SentValue::AMSpanDepth, 6),   text(SentValue::FMRate, 6),
    text(SentValue::FMSymmetry, 3),    text(SentValue::FMSpan, 6),
    text(SentValue::TrgRate, 6),       text(SentValue::TrgSymmetry, 3),
    text(SentValue::TrgPhase, 3),
}};

size_t indexOf(SentValue value) {
    return size_t(value);
}

} // namespace

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

LastSentMemory::LastSentMemory() {
    // Never-sent texts are zero characters, which no field text trims to.
    for (const SentValueRow& row : kRows)
        if (row.kind == SentValueRow::Text) m_texts[indexOf(row.value)] = QString(row.width, QChar(0));
}

const SentValueRow& LastSentMemory::row(SentValue value) {
    return kRows[indexOf(value)];
}

bool LastSentMemory::differs(SentValue value, const QString& fieldText) const {
    const QString remembered = row(value).kind == SentValueRow::IntegerText
                                   ? QString::number(m_codes[indexOf(value)])
                                   : m_texts[indexOf(value)];
    return trimBlanks(fieldText) != trimBlanks(remembered);
}

bool LastSentMemory::differs(SentValue value, int code) const {
    return m_codes[indexOf(value)] != code;
}

void LastSentMemory::remember(SentValue value, const QString& fieldText) {
    const int width = row(value).width;
    m_texts[indexOf(value)] = fieldText.left(width).leftJustified(width, u' ');
}

void LastSentMemory::remember(SentValue value, int code) {
    m_codes[indexOf(value)] = code;
}

QString LastSentMemory::rememberedText(SentValue value) const {
    return m_texts[indexOf(value)];
}
int LastSentMemory::rememberedCode(SentValue value) const {
    return m_codes[indexOf(value)];
}
