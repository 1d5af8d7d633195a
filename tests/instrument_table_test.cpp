// The 29 settings: command texts, queries and progress lines, row by row, on a recording transport
// selected as GPIB (no pacing); the reply conversions of the check rules.
#include "instrument/clsDXS4820.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct Row {
    Property property;
    double value;
    const char* command;
    const char* setStart;
    const char* setOk;
    const char* setFailure; // for an out-of-range Integer; null for Double rows, which cannot fail
    const char* query;
    const char* checkStart;
    const char* checkOk;
    const char* checkFailure; // for an empty reply; null for Double rows (OK and 0)
};

using P = Property;

// clang-format off
const Row rows[] = {
    {P::MainFreqWaveForm, 1, ":FUNC:WAV 1", "Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820...", "Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820 OK", "",
     ":FUNC:WAV ?", "Check [Main Func Freq. Wave Form] from DXS-4820...", "Check [Main Func Freq. Wave Form] from DXS-4820 OK", "Check [Main Func Freq. Wave Form] from DXS-4820 FAILURE"},
    {P::MainFreq, 1000, ":FREQ 1000", "Set [Main Func Freq] to DXS-4820...", "Set [Main Func Freq] to DXS-4820 OK", nullptr,
     ":FREQ ?", "Check [Main Func Freq.] from DXS-4820...", "Check [Main Func Freq.] from DXS-4820 OK", nullptr},
    {P::AmplitudeVoltage, 0.5, ":AMPL:VOLT 0.5", "Set [Amplitude Voltage] to DXS-4820...", "Set [Amplitude Voltage] to DXS-4820 OK", nullptr,
     ":AMPL:VOLT ?", "Check [Amplitude Voltage] from DXS-4820...", "Check [Amplitude Voltage] from DXS-4820 OK", nullptr},
    {P::OFFSet, -2.5, ":OFFS -2.5", "Set [OFFSet] to DXS-4820...", "Set [OFFSet] to DXS-4820 OK", nullptr,
     ":OFFS ?", "Check [OFFSet] from DXS-4820...", "Check [OFFSet] from DXS-4820 OK", nullptr},
    {P::DUTY, 50, ":DUTY 50", "Set [DUTY] to DXS-4820...", "Set [DUTY] to DXS-4820 OK", "Set [DUTY] to DXS-4820 FAILURE",
     ":DUTY ?", "Check [DUTY] from DXS-4820...", "Check [DUTY] from DXS-4820 OK", "Check [DUTY] from DXS-4820 FAILURE"},
    {P::SourceWaveForm, 2, ":SOUR:WAV 2", "Set [Source Wave Form] to DXS-4820...", "Set [Source Wave Form] to DXS-4820 OK", "Set [Source Wave Form] to DXS-4820 FAILURE",
     ":SOUR:WAV ?", "Check [Source Wave Form] from DXS-4820...", "Check [Source Wave Form] from DXS-4820 OK", "Check [Source Wave Form] from DXS-4820 FAILURE"},
    {P::SourceState, 3, ":SOUR:STAT 3", "Set [Source State] to DXS-4820...", "Set [Source State] to DXS-4820 OK", "Set [Source State] to DXS-4820 FAILURE",
     ":SOUR:STAT ?", "Check [Source State] from DXS-4820...", "Check [Source State] from DXS-4820 OK", "Check [Source State] from DXS-4820 FAILURE"},
    {P::SourceSource, 1, ":SOURCE:SOURCE 1", "Set [Source Source] to DXS-4820...", "Set [Source Source] to DXS-4820 OK", "Set [Source Source] to DXS-4820 FAILURE",
     ":SOUR:SOUR ?", "Check [Source Source] from DXS-4820...", "Get [Source Source] to DXS-4820 OK", "Get [Source Source] to DXS-4820 FAILURE"},
    {P::SourceModAMRate, 1e-5, ":SOUR:MODAM:RAT 1E-05", "Set [Source AM Rate] to DXS-4820...", "Set [Source AM Rate] to DXS-4820 OK", nullptr,
     ":SOUR:MODAM:RAT ?", "Check [Source AM Rate] from DXS-4820...", "Check [Source AM Rate] from DXS-4820 OK", nullptr},
    {P::SourceModFMRate, 1e15, ":SOUR:MODFM:RAT 1E+15", "Set [Source FM Rate] to DXS-4820...", "Set [Source FM Rate] to DXS-4820 OK", nullptr,
     ":SOUR:MODFM:RAT ?", "Check [Source FM Rate] from DXS-4820...", "Check [Source FM Rate] from DXS-4820 OK", nullptr},
    {P::SourceMODAMSpan, 100, ":SOUR:MODAM:SPAN 100", "Set [Source AM SPAN] to DXS-4820...", "Set [Source AM SPAN] to DXS-4820 OK", "Set [Source AM SPAN] to DXS-4820 FAILURE",
     ":SOUR:MODAM:SPAN ?", "Check [Source AM SPAN] from DXS-4820...", "Check [Source AM SPAN] from DXS-4820 OK", "Check [Source AM SPAN] from DXS-4820 FAILURE"},
    {P::SourceMODFMSpan, 32767, ":SOUR:MODFM:SPAN 32767", "Set [Source FM Span] to DXS-4820...", "Set [Source FM Span] to DXS-4820 OK", "Set [Source FM Span] to DXS-4820 FAILURE",
     ":SOUR:MODFM:SPAN ?", "Check [Source FM Span] from DXS-4820...", "Check [Source FM Span] from DXS-4820 OK", "Check [Source FM Span] from DXS-4820 FAILURE"},
    {P::SourceMODAMSym, 50, ":SOUR:MODAM:SYM 50", "Set [Source AM Sym] to DXS-4820...", "Set [Source AM Sym] to DXS-4820 OK", "Set [Source AM Sym] to DXS-4820 FAILURE",
     ":SOUR:MODAM:SYM ?", "Check [Source AM Sym] from DXS-4820...", "Check [Source AM Sym] from DXS-4820 OK", "Check [Source AM Sym] from DXS-4820 FAILURE"},
    {P::SourceMODFMSym, 20, ":SOUR:MODFM:SYM 20", "Set [Source FM Sym] to DXS-4820...", "Set [Source FM Sym] to DXS-4820 OK", "Set [Source FM Sym] to DXS-4820 FAILURE",
     ":SOUR:MODFM:SYM ?", "Check [Source FM Sym] from DXS-4820...", "Check [Source FM Sym] from DXS-4820 OK", "Check [Source FM Sym] from DXS-4820 FAILURE"},
    {P::SourceSweepStart, 100, ":SOUR:SWE:STAR 100", "Set [Source Sweep Start Frequence] to DXS-4820...", "Set [Source Sweep Start Frequence] to DXS-4820 OK", nullptr,
     ":SOUR:SWE:STAR ?", "Check [Source Sweep Start Frequence] from DXS-4820...", "Check [Source Sweep Start Frequence] from DXS-4820 OK", nullptr},
    {P::SourceSweepStop, 2e6, ":SOUR:SWE:STOP 2000000", "Set [Source Sweep Stop Frequence] to DXS-4820...", "Set [Source Sweep Stop Frequence] to DXS-4820 OK", nullptr,
     ":SOUR:SWE:STOP ?", "Check [Source Sweep Stop Frequence] from DXS-4820...", "Check [Source Sweep Stop Frequence] from DXS-4820 OK", nullptr},
    {P::SourceSweepCenter, 0.0001, ":SOUR:SWE:CENT 0.0001", "Set [Source Sweep Center Frequence] to DXS-4820...", "Set [Source Sweep Center Frequence] to DXS-4820 OK", nullptr,
     ":SOUR:SWE:CENT ?", "Check [Source Sweep Center Frequence] from DXS-4820...", "Check [Source Sweep Center Frequence] from DXS-4820 OK", nullptr},
    {P::SourceSweepSpan, 123.456, ":SOUR:SWE:SPAN 123.456", "Set [Source Sweep Span Frequence] to DXS-4820...", "Set [Source Sweep Span Frequence] to DXS-4820 OK", nullptr,
     ":SOUR:SWE:SPAN ?", "Check [Source Sweep Span Frequence] from DXS-4820...", "Check [Source Sweep Span Frequence] from DXS-4820 OK", nullptr},
    {P::SourceSweepRate, 0.01, ":SOUR:SWE:RAT 0.01", "Set [Source Sweep Trigger Rate] to DXS-4820...", "Set [Source Sweep Trigger Rate] to DXS-4820 OK", nullptr,
     ":SOUR:SWE:RAT ?", "Check [Source Sweep Trigger Rate] from DXS-4820...", "Check [Source Sweep Trigger Rate] from DXS-4820 OK", nullptr},
    {P::SourceSweepSym, -32768, ":SOUR:SWE:SYM -32768", "Set [Source Sweep SYM] to DXS-4820...", "Set [Source Sweep SYM] to DXS-4820 OK", "Set [Source Sweep SYM] to DXS-4820 FAILURE",
     ":SOUR:SWE:SYM ?", "Check [Source Sweep SYM] from DXS-4820...", "Check [Source Sweep SYM] from DXS-4820 OK", "Check [Source Sweep SYM] from DXS-4820 FAILURE"},
    {P::SourceSweepSpace, 1, ":SOUR:SWE:SPAC 1", "Set [Source Sweep Method] to DXS-4820...", "Set [Source Sweep Method] to DXS-4820 OK", "Set [Source Sweep Method] to DXS-4820 FAILURE",
     ":SOUR:SWE:SPAC ?", "Check [Source Sweep Method] from DXS-4820...", "Check [Source Sweep Method] from DXS-4820 OK", "Check [Source Sweep Method] from DXS-4820 FAILURE"},
    {P::SourceTriggerRate, 2.5e-3, ":SOUR:TRIG:RAT 0.0025", "Set [Source Trigger Rate] to DXS-4820...", "Set [Source Trigger Rate] to DXS-4820 OK", nullptr,
     ":SOUR:TRIG:RAT ?", "Check [Source Trigger Rate] from DXS-4820...", "Check [Source Trigger Rate] from DXS-4820 OK", nullptr},
    {P::SourceTriggerState, 1, ":SOUR:TRIG:STAT 1", "Set [Source Trigger Rate] to DXS-4820...", "Set [Source Trigger Rate] to DXS-4820 OK", "Set [Source Trigger Rate] to DXS-4820 FAILURE",
     ":SOUR:TRIG:STAT ?", "Check [Source Trigger Rate] from DXS-4820...", "Check [Source Trigger Rate] from DXS-4820 OK", "Check [Source Trigger Rate] from DXS-4820 FAILURE"},
    {P::SourceTriggerPhase, -90, ":SOUR:TRIG:PHAS -90", "Set [Source Trigger Phase] to DXS-4820...", "Set [Source Trigger Phase] to DXS-4820 OK", "Set [Source Trigger Phase] to DXS-4820 FAILURE",
     ":SOUR:TRIG:PHAS ?", "Check [Source Trigger Phase] from DXS-4820...", "Check [Source Trigger Phase] from DXS-4820 OK", "Check [Source Trigger Phase] from DXS-4820 FAILURE"},
    {P::SourceTriggerMode, 0, ":SOUR:TRIG:MOD 0", "Set [Source Trigger Mode] to DXS-4820...", "Set [Source Trigger Mode] to DXS-4820 OK", "Set [Source Trigger Mode] to DXS-4820 FAILURE",
     ":SOUR:TRIG:MOD ?", "Check [Source Trigger Mode] from DXS-4820...", "Check [Source Trigger Mode] from DXS-4820 OK", "Check [Source Trigger Mode] from DXS-4820 FAILURE"},
    {P::SourceTriggerSource, 1, ":SOUR:TRIG:SOUR 1", "Set [Source Trigger Souce] to DXS-4820...", "Set [Source Trigger Souce] to DXS-4820 OK", "Set [Source Trigger Souce] to DXS-4820 FAILURE",
     ":SOUR:TRIG:SOUR ?", "Check [Source Trigger Source] from DXS-4820...", "Check [Source Trigger Source] from DXS-4820 OK", "Check [Source Trigger Source] from DXS-4820 FAILURE"},
    {P::SourceTriggerSYM, 75, ":SOUR:TRIG:SYM 75", "Set [Source Trigger SYM] to DXS-4820...", "Set [Source Trigger SYM] to DXS-4820 OK", "Set [Source Trigger SYM] to DXS-4820 FAILURE",
     ":SOUR:TRIG:SYM ?", "Check [Source Trigger SYM] from DXS-4820...", "Check [Source Trigger SYM] from DXS-4820 OK", "Check [Source Trigger SYM] from DXS-4820 FAILURE"},
    {P::SourceCounterGATE, 3, ":SOUR:COUN:GAT 3", "Set [Source Gate Time of Counter] to DXS-4820...", "Set [Source Gate Time of Counter] to DXS-4820 OK", "Set [Source Gate Time of Counter] to DXS-4820 FAILURE",
     ":SOUR:COUN:GAT ?", "Check [Source Gate Time of Counter] from DXS-4820...", "Check [Source Gate Time of Counter] from DXS-4820 OK", "Check [Source Gate Time of Counter] from DXS-4820 FAILURE"},
    {P::SourceCounterSource, 1, ":SOUR:COUN:SOUR 1", "Set [Source Counter Source] to DXS-4820...", "Set [Source Counter Source] to DXS-4820 OK", "Set [Source Counter Source] to DXS-4820 FAILURE",
     ":SOUR:COUN:SOUR ?", "Set [Source Counter Source] from DXS-4820...", "Set [Source Counter Source] from DXS-4820 OK", "Set [Source Counter Source] from DXS-4820 FAILURE"},
};
// clang-format on

class InstrumentTable : public ::testing::Test {
protected:
    void SetUp() override {
        dxs.txtMsg = [this](const QString& line) { lines << line; };
        dxs.CWGPIB1 = &link;
        dxs.ConnectMethod("GPIB");
        lines.clear();
    }
    void reset() {
        lines.clear();
        link.writes.clear();
    }
    RecordingTransport link;
    clsDXS4820 dxs;
    QStringList lines;
};

} // namespace

TEST_F(InstrumentTable, EveryRowSendsItsCommandAndWritesItsLines) {
    ASSERT_EQ(std::size(rows), size_t(PropertyCount));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const bool integerRow = row.checkFailure != nullptr;

        reset();
        dxs.set(row.property, row.value);
        EXPECT_EQ(link.writes, QByteArrayList{row.command});
        EXPECT_EQ(lines, QStringList({row.setStart, row.setOk}));

        if (integerRow) { // a value beyond 16 bits is refused before anything is sent
            reset();
            dxs.set(row.property, 40000);
            EXPECT_TRUE(link.writes.isEmpty());
            const QStringList expected = QString(row.setFailure).isEmpty()
                                             ? QStringList()
                                             : QStringList({row.setStart, row.setFailure});
            EXPECT_EQ(lines, expected);
        }

        reset();
        link.reply = "7\n";
        EXPECT_EQ(dxs.check(row.property), 7);
        EXPECT_EQ(link.writes, QByteArrayList{row.query});
        EXPECT_EQ(lines, QStringList({row.checkStart, row.checkOk}));

        reset();
        link.reply = "";
        EXPECT_EQ(dxs.check(row.property), 0);
        EXPECT_EQ(lines, QStringList({row.checkStart, integerRow ? row.checkFailure : row.checkOk}));
    }
}

TEST_F(InstrumentTable, MainWaveformStartLineNamesTheWaveformAndOtherCodesWriteNothing) {
    const struct {
        double code;
        const char* command;
        QStringList lines;
    } cases[] = {
        {1,
         ":FUNC:WAV 1",
         {"Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820...",
          "Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820 OK"}},
        {2,
         ":FUNC:WAV 2",
         {"Set [Main Func Freq. Wave Form: (Triangle)] to DXS-4820...",
          "Set [Main Func Freq. Wave Form: (Triangle)] to DXS-4820 OK"}},
        {3,
         ":FUNC:WAV 3",
         {"Set [Main Func Freq. Wave Form: (Square)] to DXS-4820...",
          "Set [Main Func Freq. Wave Form: (Square)] to DXS-4820 OK"}},
        {4, ":FUNC:WAV 4", {}},
        {0, ":FUNC:WAV 0", {}},
    };
    for (const auto& c : cases) {
        reset();
        dxs.set(Property::MainFreqWaveForm, c.code);
        EXPECT_EQ(link.writes, QByteArrayList{c.command});
        EXPECT_EQ(lines, c.lines);
    }
}

TEST_F(InstrumentTable, ChecksConvertRepliesByTheirRule) {
    const struct {
        Property property;
        const char* reply;
        double value;
        bool ok;
    } cases[] = {
        {P::MainFreq, "1.000000E+03\n", 1000, true},
        {P::MainFreq, "  -2.5E-3 V\r\n", -0.0025, true},
        {P::MainFreq, "garbage", 0, true},
        {P::MainFreq, "", 0, true},
        {P::DUTY, "50.5", 50, true},
        {P::DUTY, "51.5", 52, true},
        {P::DUTY, "49.7%\n", 50, true},
        {P::DUTY, "", 0, false},
        {P::DUTY, "abc", 0, false},
        {P::DUTY, "40000", 0, false},
        {P::SourceState, "", 0, false},
        {P::SourceState, "2\r\n", 2, true},
        {P::SourceSweepSym, "2.7", 2, true},
        {P::SourceSweepSym, "-2.5", -3, true},
        {P::SourceSweepSym, "1.000000E+01\n", 10, true},
        {P::SourceSweepSym, "32768", 0, false},
        {P::SourceSweepSym, "-32768.5", 0, false},
        {P::SourceSweepSym, "12abc", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        reset();
        link.reply = c.reply;
        EXPECT_DOUBLE_EQ(dxs.check(c.property), c.value);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1].endsWith(" OK"), c.ok) << lines[1].toStdString();
    }
}

TEST_F(InstrumentTable, IntegerRowsTakeWholeNumbersRoundedHalvesToEven) {
    const struct {
        double value;
        const char* command;
    } cases[] = {{50.5, ":DUTY 50"}, {51.5, ":DUTY 52"}, {-0.4, ":DUTY 0"}, {32767.4, ":DUTY 32767"}};
    for (const auto& c : cases) {
        reset();
        dxs.set(Property::DUTY, c.value);
        EXPECT_EQ(link.writes, QByteArrayList{c.command});
    }
}
