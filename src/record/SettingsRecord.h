#pragma once
// The settings record: 32 fields at fixed offsets in a 121-byte block, stored in a 214-byte slot.
// Integers are 2 bytes little-endian two's complement; texts are N bytes of Windows-1252, blank-padded
// when written from a text, zero bytes where never written.
#include <QByteArray>
#include <QString>
#include <cstdint>

enum class RecordField {
    ComPort = 1,
    BaudRate,
    GpibAddress,
    Rs232Flag,
    GpibFlag,
    SkipSameValue,
    CycleTime,
    MainWaveform,
    MainFreq,
    Amplitude,
    DCOffset,
    Duty,
    SweepModel,
    SweepStart,
    SweepStop,
    SweepSymmetry,
    SweepRate,
    ModSource,
    AMRate,
    AMSymmetry,
    AMDepth,
    FMRate,
    FMSymmetry,
    FMSpan,
    TriggerType,
    Reserved26,
    TriggerRate,
    TriggerSymmetry,
    TriggerPhase,
    Reserved30,
    SweepSegment,
    SyncRateSym,
};

struct RecordFieldLayout {
    RecordField field;
    int offset;
    int width;   // bytes
    bool isText; // otherwise a 16-bit Integer
};

class SettingsRecord {
public:
    static constexpr int FieldCount = 32;
    static constexpr int DataSize = 121;
    static constexpr int SlotSize = 214;

    static const RecordFieldLayout& layout(RecordField field);

    int16_t integer(RecordField field) const;
    void setInteger(RecordField field, int16_t value);

    // The field's raw bytes, and decoded as text (zero characters included).
    QByteArray rawText(RecordField field) const;
    QString text(RecordField field) const;
    // Stores a text left-aligned: blank-padded, or cut to the field's width.
    void setText(RecordField field, const QString& value);

    // The whole 121-byte block; setBytes reads missing bytes as zero and ignores extra ones.
    const QByteArray& bytes() const { return m_bytes; }
    void setBytes(const QByteArray& bytes);
    void clear();

    // The record as it stands in its file slot: the 121 data bytes, then zero bytes up to 214.
    QByteArray slot() const;

    friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;

private:
    QByteArray m_bytes = QByteArray(DataSize, '\0');
};

// Windows-1252, the 8-bit character set of setting files: one byte per character, '?' for a
// character the set cannot hold.
QByteArray toWindows1252(const QString& text);
QString fromWindows1252(const QByteArray& bytes);
