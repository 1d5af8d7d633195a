// The settings record's bytes: field positions, Integers, texts and their character set.
#include "operations/record/SettingsRecord.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (int value : values)
        out.append(char(value));
    return out;
}

// A record with a known value in every field, and the bytes a file holds for it, written out by
// hand from the field table.
SettingsRecord knownRecord() {
    SettingsRecord record;
    record.setInteger(RecordField::ComPort, 1);
    record.setInteger(RecordField::BaudRate, 9600);
    record.setInteger(RecordField::GpibAddress, -2);
    record.setText(RecordField::Rs232Flag, "1");
    record.setText(RecordField::GpibFlag, "0");
    record.setInteger(RecordField::SkipSameValue, 1);
    record.setInteger(RecordField::CycleTime, 300);
    record.setInteger(RecordField::MainWaveform, 2);
    record.setText(RecordField::MainFreq, "1000.0");
    record.setText(RecordField::Amplitude, "5.00");
    record.setText(RecordField::DCOffset, "-1.5");
    record.setText(RecordField::Duty, "50");
    record.setInteger(RecordField::SweepModel, 1);
    record.setText(RecordField::SweepStart, "1000.00");
    record.setText(RecordField::SweepStop, "2000.00");
    record.setText(RecordField::SweepSymmetry, "90");
    record.setText(RecordField::SweepRate, "1000.0");
    record.setInteger(RecordField::ModSource, 3);
    record.setText(RecordField::AMRate, "100.0");
    record.setInteger(RecordField::AMSymmetry, -32768);
    record.setText(RecordField::AMDepth, "50");
    record.setText(RecordField::FMRate, "0.01");
    record.setText(RecordField::FMSymmetry, "50");
    record.setText(RecordField::FMSpan, "1.5");
    record.setInteger(RecordField::TriggerType, 1);
    record.setInteger(RecordField::Reserved26, 0x1234);
    record.setText(RecordField::TriggerRate, "10.0");
    record.setText(RecordField::TriggerSymmetry, "50");
    record.setText(RecordField::TriggerPhase, "-90");
    record.setInteger(RecordField::Reserved30, 32767);
    record.setInteger(RecordField::SweepSegment, 5);
    record.setInteger(RecordField::SyncRateSym, 1);
    return record;
}

QByteArray knownBytes() {
    QByteArray b;
    b += bytesOf({0x01, 0x00}); // 0   COM port 1
    b += bytesOf({0x80, 0x25}); // 2   baud rate 9600
    b += bytesOf({0xFE, 0xFF}); // 4   GPIB address -2
    b += "1";                   // 6   RS232 flag
    b += "0";                   // 7   GPIB flag
    b += bytesOf({0x01, 0x00}); // 8   skip same value
    b += bytesOf({0x2C, 0x01}); // 10  cycle time 300
    b += bytesOf({0x02, 0x00}); // 12  waveform Triangle
    b += "1000.0    ";          // 14  main frequency
    b += "5.00  ";              // 24  amplitude
    b += "-1.5  ";              // 30  DC offset
    b += "50";                  // 36  duty
    b += bytesOf({0x01, 0x00}); // 38  sweep model Log
    b += "1000.00   ";          // 40  sweep start
    b += "2000.00   ";          // 50  sweep stop
    b += "90";                  // 60  sweep symmetry
    b += "1000.0";              // 62  sweep rate
    b += bytesOf({0x03, 0x00}); // 68  modulation source Square
    b += "100.0 ";              // 70  AM rate
    b += bytesOf({0x00, 0x80}); // 76  AM symmetry -32768
    b += "50    ";              // 78  AM depth
    b += "0.01  ";              // 84  FM rate
    b += "50 ";                 // 90  FM symmetry
    b += "1.5   ";              // 93  FM span
    b += bytesOf({0x01, 0x00}); // 99  trigger type Multi (odd offset)
    b += bytesOf({0x34, 0x12}); // 101 reserved
    b += "10.0  ";              // 103 trigger rate
    b += "50 ";                 // 109 trigger symmetry
    b += "-90";                 // 112 trigger phase
    b += bytesOf({0xFF, 0x7F}); // 115 reserved 32767
    b += bytesOf({0x05, 0x00}); // 117 sweep segment 5
    b += bytesOf({0x01, 0x00}); // 119 rate and symmetry synchronisation
    return b;
}

} // namespace

TEST(SettingsRecord, FieldsArePackedWithoutGapsInto121Bytes) {
    int next = 0;
    for (int number = 1; number <= SettingsRecord::FieldCount; ++number) {
        const RecordFieldLayout& row = SettingsRecord::layout(RecordField(number));
        EXPECT_EQ(int(row.field), number);
        EXPECT_EQ(row.offset, next) << "field " << number;
        EXPECT_EQ(row.width, row.isText ? row.width : 2) << "field " << number;
        next = row.offset + row.width;
    }
    EXPECT_EQ(next, SettingsRecord::DataSize);
}

TEST(SettingsRecord, KnownValuesGiveTheHandWrittenBytes) {
    const QByteArray expected = knownBytes();
    ASSERT_EQ(expected.size(), SettingsRecord::DataSize);
    EXPECT_EQ(knownRecord().bytes(), expected);

    const QByteArray slot = knownRecord().slot();
    ASSERT_EQ(slot.size(), SettingsRecord::SlotSize);
    EXPECT_EQ(slot.left(SettingsRecord::DataSize), expected);
    EXPECT_EQ(slot.mid(SettingsRecord::DataSize),
              QByteArray(SettingsRecord::SlotSize - SettingsRecord::DataSize, '\0'));
}

TEST(SettingsRecord, HandWrittenBytesReadBackAsTheKnownValues) {
    SettingsRecord record;
    record.setBytes(knownBytes());
    EXPECT_EQ(record, knownRecord());
    struct Case {
        RecordField field;
        int16_t value;
    };
    const std::vector<Case> integers = {
        {RecordField::BaudRate, 9600},  {RecordField::GpibAddress, -2},    {RecordField::AMSymmetry, -32768},
        {RecordField::TriggerType, 1},  {RecordField::Reserved26, 0x1234}, {RecordField::Reserved30, 32767},
        {RecordField::SweepSegment, 5}, {RecordField::SyncRateSym, 1},
    };
    for (const Case& c : integers)
        EXPECT_EQ(record.integer(c.field), c.value) << "field " << int(c.field);
    EXPECT_EQ(record.text(RecordField::MainFreq), QString("1000.0    "));
    EXPECT_EQ(record.text(RecordField::TriggerPhase), QString("-90"));
}

TEST(SettingsRecord, TextsAreBlankPaddedOrCutToTheFieldWidth) {
    struct Case {
        RecordField field;
        QString text;
        QByteArray stored;
    };
    const std::vector<Case> cases = {
        {RecordField::MainFreq, "123456789012", "1234567890"}, // 12 characters keep the first 10
        {RecordField::MainFreq, "10000", "10000     "},
        {RecordField::Duty, "5", "5 "},
        {RecordField::Duty, "", "  "},
        {RecordField::FMSymmetry, "100", "100"},
        {RecordField::Rs232Flag, "1", "1"},
        {RecordField::Amplitude, QString::fromUtf8("5€é"), bytesOf({'5', 0x80, 0xE9, ' ', ' ', ' '})},
        {RecordField::Amplitude, QString::fromUtf8("Ω1"), "?1    "}, // not in the set
        {RecordField::Amplitude, QString::fromUtf8("😀2"), "?2    "}, // one character, one byte
        {RecordField::Amplitude, QString::fromUtf8("1234567😀"), "123456"},
    };
    for (const Case& c : cases) {
        SettingsRecord record;
        record.setText(c.field, c.text);
        EXPECT_EQ(record.rawText(c.field), c.stored) << c.text.toStdString();
        const RecordFieldLayout& row = SettingsRecord::layout(c.field);
        EXPECT_EQ(record.bytes().left(row.offset), QByteArray(row.offset, '\0'));
        EXPECT_EQ(record.bytes().mid(row.offset + row.width),
                  QByteArray(SettingsRecord::DataSize - row.offset - row.width, '\0'));
    }
}

TEST(SettingsRecord, NeverWrittenTextsAreZeroCharacters) {
    const SettingsRecord record;
    EXPECT_EQ(record.rawText(RecordField::MainFreq), QByteArray(10, '\0'));
    EXPECT_EQ(record.text(RecordField::Duty), QString(2, QChar(0)));
}

TEST(SettingsRecord, SetBytesReadsMissingBytesAsZeroAndIgnoresExtraOnes) {
    const QByteArray full = knownBytes();
    for (int size : {0, 1, 13, 99, 120, 121, 122, 214, 400}) {
        SettingsRecord record;
        record.setInteger(RecordField::SyncRateSym, 7);
        const QByteArray given =
            size <= full.size() ? full.left(size) : full + QByteArray(size - full.size(), 'x');
        record.setBytes(given);
        const int kept = std::min(size, SettingsRecord::DataSize);
        EXPECT_EQ(record.bytes(), full.left(kept) + QByteArray(SettingsRecord::DataSize - kept, '\0'))
            << size;
    }
}

TEST(SettingsRecord, EveryByteDecodesAndEncodesBackAsWindows1252) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toWindows1252(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0xE9], QChar(0x00E9));
}
