#include "record/SettingsRecord.h"

#include <QList>
#include <QStringView>
#include <array>
#include <cassert>

namespace {

constexpr RecordFieldLayout integerAt(RecordField field, int offset) {
    return {field, offset, 2, false};
}
constexpr RecordFieldLayout textAt(RecordField field, int offset, int width) {
    return {field, offset, width, true};
}

// One row per field, in field order.
constexpr std::array<RecordFieldLayout, 32> kLayout = {{
    integerAt(RecordField::ComPort, 0),        integerAt(RecordField::BaudRate, 2),
    integerAt(RecordField::GpibAddress, 4),    textAt(RecordField::Rs232Flag, 6, 1),
    textAt(RecordField::GpibFlag, 7, 1),       integerAt(RecordField::SkipSameValue, 8),
    integerAt(RecordField::CycleTime, 10),     integerAt(RecordField::MainWaveform, 12),
    textAt(RecordField::MainFreq, 14, 10),     textAt(RecordField::Amplitude, 24, 6),
    textAt(RecordField::DCOffset, 30, 6),      textAt(RecordField::Duty, 36, 2),
    integerAt(RecordField::SweepModel, 38),    textAt(RecordField::SweepStart, 40, 10),
    textAt(RecordField::SweepStop, 50, 10),    textAt(RecordField::SweepSymmetry, 60, 2),
    textAt(RecordField::SweepRate, 62, 6),     integerAt(RecordField::ModSource, 68),
    textAt(RecordField::AMRate, 70, 6),        integerAt(RecordField::AMSymmetry, 76),
    textAt(RecordField::AMDepth, 78, 6),       textAt(RecordField::FMRate, 84, 6),
    textAt(RecordField::FMSymmetry, 90, 3),    textAt(RecordField::FMSpan, 93, 6),
    integerAt(RecordField::TriggerType, 99),   integerAt(RecordField::Reserved26, 101),
    textAt(RecordField::TriggerRate, 103, 6),  textAt(RecordField::TriggerSymmetry, 109, 3),
    textAt(RecordField::TriggerPhase, 112, 3), integerAt(RecordField::Reserved30, 115),
    integerAt(RecordField::SweepSegment, 117), integerAt(RecordField::SyncRateSym, 119),
}};

// Windows-1252 characters 0x80..0x9F; the rest of the set matches Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

const RecordFieldLayout& SettingsRecord::layout(RecordField field) {
    const int number = int(field);
    assert(number >= 1 && number <= FieldCount);
    return kLayout[size_t(number - 1)];
}

int16_t SettingsRecord::integer(RecordField field) const {
    const int at = layout(field).offset;
    const auto low = uint8_t(m_bytes[at]);
    const auto high = uint8_t(m_bytes[at + 1]);
    return int16_t(uint16_t(low | (high << 8)));
}

void SettingsRecord::setInteger(RecordField field, int16_t value) {
    const int at = layout(field).offset;
    const auto bits = uint16_t(value);
    m_bytes[at] = char(bits & 0xFF);
    m_bytes[at + 1] = char(bits >> 8);
}

QByteArray SettingsRecord::rawText(RecordField field) const {
    const RecordFieldLayout& row = layout(field);
    return m_bytes.mid(row.offset, row.width);
}

QString SettingsRecord::text(RecordField field) const {
    return fromWindows1252(rawText(field));
}

void SettingsRecord::setText(RecordField field, const QString& value) {
    const RecordFieldLayout& row = layout(field);
    QByteArray bytes = toWindows1252(value).left(row.width);
    bytes.append(QByteArray(row.width - bytes.size(), ' '));
    m_bytes.replace(row.offset, row.width, bytes);
}

void SettingsRecord::setBytes(const QByteArray& bytes) {
    m_bytes = bytes.left(DataSize);
    m_bytes.append(QByteArray(DataSize - m_bytes.size(), '\0'));
}

void SettingsRecord::clear() {
    m_bytes.fill('\0');
}

QByteArray SettingsRecord::slot() const {
    return m_bytes + QByteArray(SlotSize - DataSize, '\0');
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    // By code point, so that a character outside the Basic Multilingual Plane (two UTF-16 units)
    // still takes one byte and a field's width stays a count of characters.
    for (const char32_t u : QStringView(text).toUcs4()) {
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char mapped = '?';
        for (size_t i = 0; i < kHighControls.size(); ++i)
            if (kHighControls[i] == u) mapped = char(0x80 + i);
        out.append(mapped);
    }
    return out;
}

QString fromWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto byte = uint8_t(b);
        out.append(byte >= 0x80 && byte < 0xA0 ? QChar(kHighControls[byte - 0x80]) : QChar(byte));
    }
    return out;
}
