// The 29 settings on a recording transport selected as GPIB (no pacing): command texts, queries and
// progress lines row by row, and the reply conversions of the check rules.
#include "instrument/clsDXS4820.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using P = Property;

// Progress lines are <stem>..., <stem> OK and <stem> FAILURE, the set stem "Set [setName] to DXS-4820";
// checkEnd is the stem of a check's OK / FAILURE line where it differs. Integer rows can fail, Double
// rows cannot.
struct Row {
    P property;
    double value;
    const char *command, *query, *setName, *checkStem;
    bool integer;
    const char* checkEnd = nullptr;
};

// clang-format off
const Row rows[] = {
    {P::MainFreqWaveForm, 1, ":FUNC:WAV 1", ":FUNC:WAV ?", "Main Func Freq. Wave Form: (Sin)", "Check [Main Func Freq. Wave Form] from DXS-4820", true},
    {P::MainFreq, 1000, ":FREQ 1000", ":FREQ ?", "Main Func Freq", "Check [Main Func Freq.] from DXS-4820", false},
    {P::AmplitudeVoltage, 0.5, ":AMPL:VOLT 0.5", ":AMPL:VOLT ?", "Amplitude Voltage", "Check [Amplitude Voltage] from DXS-4820", false},
    {P::OFFSet, -2.5, ":OFFS -2.5", ":OFFS ?", "OFFSet", "Check [OFFSet] from DXS-4820", false},
    {P::DUTY, 50, ":DUTY 50", ":DUTY ?", "DUTY", "Check [DUTY] from DXS-4820", true},
    {P::SourceWaveForm, 2, ":SOUR:WAV 2", ":SOUR:WAV ?", "Source Wave Form", "Check [Source Wave Form] from DXS-4820", true},
    {P::SourceState, 3, ":SOUR:STAT 3", ":SOUR:STAT ?", "Source State", "Check [Source State] from DXS-4820", true},
    {P::SourceSource, 1, ":SOURCE:SOURCE 1", ":SOUR:SOUR ?", "Source Source", "Check [Source Source] from DXS-4820", true, "Get [Source Source] to DXS-4820"},
    {P::SourceModAMRate, 1e-5, ":SOUR:MODAM:RAT 1E-05", ":SOUR:MODAM:RAT ?", "Source AM Rate", "Check [Source AM Rate] from DXS-4820", false},
    {P::SourceModFMRate, 1e15, ":SOUR:MODFM:RAT 1E+15", ":SOUR:MODFM:RAT ?", "Source FM Rate", "Check [Source FM Rate] from DXS-4820", false},
    {P::SourceMODAMSpan, 100, ":SOUR:MODAM:SPAN 100", ":SOUR:MODAM:SPAN ?", "Source AM SPAN", "Check [Source AM SPAN] from DXS-4820", true},
    {P::SourceMODFMSpan, 32767, ":SOUR:MODFM:SPAN 32767", ":SOUR:MODFM:SPAN ?", "Source FM Span", "Check [Source FM Span] from DXS-4820", true},
    {P::SourceMODAMSym, 50, ":SOUR:MODAM:SYM 50", ":SOUR:MODAM:SYM ?", "Source AM Sym", "Check [Source AM Sym] from DXS-4820", true},
    {P::SourceMODFMSym, 20, ":SOUR:MODFM:SYM 20", ":SOUR:MODFM:SYM ?", "Source FM Sym", "Check [Source FM Sym] from DXS-4820", true},
    {P::SourceSweepStart, 100, ":SOUR:SWE:STAR 100", ":SOUR:SWE:STAR ?", "Source Sweep Start Frequence", "Check [Source Sweep Start Frequence] from DXS-4820", false},
    {P::SourceSweepStop, 2e6, ":SOUR:SWE:STOP 2000000", ":SOUR:SWE:STOP ?", "Source Sweep Stop Frequence", "Check [Source Sweep Stop Frequence] from DXS-4820", false},
    {P::SourceSweepCenter, 0.0001, ":SOUR:SWE:CENT 0.0001", ":SOUR:SWE:CENT ?", "Source Sweep Center Frequence", "Check [Source Sweep Center Frequence] from DXS-4820", false},
    {P::SourceSweepSpan, 123.456, ":SOUR:SWE:SPAN 123.456", ":SOUR:SWE:SPAN ?", "Source Sweep Span Frequence", "Check [Source Sweep Span Frequence] from DXS-4820", false},
    {P::SourceSweepRate, 0.01, ":SOUR:SWE:RAT 0.01", ":SOUR:SWE:RAT ?", "Source Sweep Trigger Rate", "Check [Source Sweep Trigger Rate] from DXS-4820", false},
    {P::SourceSweepSym, -32768, ":SOUR:SWE:SYM -32768", ":SOUR:SWE:SYM ?", "Source Sweep SYM", "Check [Source Sweep SYM] from DXS-4820", true},
    {P::SourceSweepSpace, 1, ":SOUR:SWE:SPAC 1", ":SOUR:SWE:SPAC ?", "Source Sweep Method", "Check [Source Sweep Method] from DXS-4820", true},
    {P::SourceTriggerRate, 2.5e-3, ":SOUR:TRIG:RAT 0.0025", ":SOUR:TRIG:RAT ?", "Source Trigger Rate", "Check [Source Trigger Rate] from DXS-4820", false},
    {P::SourceTriggerState, 1, ":SOUR:TRIG:STAT 1", ":SOUR:TRIG:STAT ?", "Source Trigger Rate", "Check [Source Trigger Rate] from DXS-4820", true},
    {P::SourceTriggerPhase, -90, ":SOUR:TRIG:PHAS -90", ":SOUR:TRIG:PHAS ?", "Source Trigger Phase", "Check [Source Trigger Phase] from DXS-4820", true},
    {P::SourceTriggerMode, 0, ":SOUR:TRIG:MOD 0", ":SOUR:TRIG:MOD ?", "Source Trigger Mode", "Check [Source Trigger Mode] from DXS-4820", true},
    {P::SourceTriggerSource, 1, ":SOUR:TRIG:SOUR 1", ":SOUR:TRIG:SOUR ?", "Source Trigger Souce", "Check [Source Trigger Source] from DXS-4820", true},
    {P::SourceTriggerSYM, 75, ":SOUR:TRIG:SYM 75", ":SOUR:TRIG:SYM ?", "Source Trigger SYM", "Check [Source Trigger SYM] from DXS-4820", true},
    {P::SourceCounterGATE, 3, ":SOUR:COUN:GAT 3", ":SOUR:COUN:GAT ?", "Source Gate Time of Counter", "Check [Source Gate Time of Counter] from DXS-4820", true},
    {P::SourceCounterSource, 1, ":SOUR:COUN:SOUR 1", ":SOUR:COUN:SOUR ?", "Source Counter Source", "Set [Source Counter Source] from DXS-4820", true},
};
// clang-format on

class InstrumentTable : public ::testing::Test {
protected:
    void SetUp() override {
        dxs.txtMsg = [this](const QString& line) { lines << line; };
        dxs.CWGPIB1 = &link;
        dxs.ConnectMethod("GPIB");
    }
    // Runs one action on a fresh record of writes and lines, the transport answering `reply`.
    template <class F> auto run(F action, const QByteArray& reply = "") {
        lines.clear();
        link.writes.clear();
        link.reply = reply;
        return action();
    }
    RecordingTransport link;
    clsDXS4820 dxs;
    QStringList lines;
};

QStringList progress(const QString& start, const QString& end, const char* outcome) {
    return {start + "...", end + outcome};
}

} // namespace

TEST_F(InstrumentTable, EveryRowSendsItsCommandAndWritesItsLines) {
    ASSERT_EQ(std::size(rows), size_t(PropertyCount));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const QString set = QString("Set [%1] to DXS-4820").arg(row.setName);
        const QString checkEnd = row.checkEnd ? row.checkEnd : row.checkStem;
        run([&] { dxs.set(row.property, row.value); });
        EXPECT_EQ(link.writes, QByteArrayList{row.command});
        EXPECT_EQ(lines, progress(set, set, " OK"));
        if (row.integer) { // a value beyond 16 bits is refused before anything is sent
            run([&] { dxs.set(row.property, 40000); });
            EXPECT_TRUE(link.writes.isEmpty());
            EXPECT_EQ(lines,
                      row.property == P::MainFreqWaveForm ? QStringList() : progress(set, set, " FAILURE"));
        }
        EXPECT_EQ(run([&] { return dxs.check(row.property); }, "7\n"), 7);
        EXPECT_EQ(link.writes, QByteArrayList{row.query});
        EXPECT_EQ(lines, progress(row.checkStem, checkEnd, " OK"));
        EXPECT_EQ(run([&] { return dxs.check(row.property); }), 0);
        EXPECT_EQ(lines, progress(row.checkStem, checkEnd, row.integer ? " FAILURE" : " OK"));
    }
}

TEST_F(InstrumentTable, SetRoundsIntegersAndNamesTheMainWaveform) {
    // Integers round halves to even; waveform codes other than 1 to 3 are sent without lines.
    // clang-format off
    const struct { P property; double value; const char* command; const char* wave; } cases[] = {
        {P::MainFreqWaveForm, 2, ":FUNC:WAV 2", "Triangle"}, {P::MainFreqWaveForm, 3, ":FUNC:WAV 3", "Square"},
        {P::MainFreqWaveForm, 4, ":FUNC:WAV 4", nullptr}, {P::MainFreqWaveForm, 0, ":FUNC:WAV 0", nullptr},
        {P::DUTY, 50.5, ":DUTY 50", nullptr}, {P::DUTY, 51.5, ":DUTY 52", nullptr},
        {P::DUTY, -0.4, ":DUTY 0", nullptr}, {P::DUTY, 32767.4, ":DUTY 32767", nullptr}};
    // clang-format on
    for (const auto& c : cases) {
        run([&] { dxs.set(c.property, c.value); });
        EXPECT_EQ(link.writes, QByteArrayList{c.command});
        const QString set = QString("Set [Main Func Freq. Wave Form: (%1)] to DXS-4820").arg(c.wave);
        if (c.property == P::MainFreqWaveForm)
            EXPECT_EQ(lines, c.wave ? progress(set, set, " OK") : QStringList());
    }
}

TEST_F(InstrumentTable, ChecksConvertRepliesByTheirRule) {
    // clang-format off
    const struct { P property; const char* reply; double value; bool ok; } cases[] = {
        {P::MainFreq, "1.000000E+03\n", 1000, true}, {P::MainFreq, "  -2.5E-3 V\r\n", -0.0025, true},
        {P::MainFreq, "garbage", 0, true}, {P::MainFreq, "", 0, true},
        {P::DUTY, "50.5", 50, true}, {P::DUTY, "51.5", 52, true}, {P::DUTY, "49.7%\n", 50, true},
        {P::DUTY, "", 0, false}, {P::DUTY, "abc", 0, false}, {P::DUTY, "40000", 0, false},
        {P::SourceState, "", 0, false}, {P::SourceState, "2\r\n", 2, true},
        {P::SourceSweepSym, "2.7", 2, true}, {P::SourceSweepSym, "-2.5", -3, true},
        {P::SourceSweepSym, "1.000000E+01\n", 10, true}, {P::SourceSweepSym, "32768", 0, false},
        {P::SourceSweepSym, "-32768.5", 0, false}, {P::SourceSweepSym, "12abc", 0, false}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        EXPECT_DOUBLE_EQ(run([&] { return dxs.check(c.property); }, c.reply), c.value);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1].endsWith(" OK"), c.ok) << lines[1].toStdString();
    }
}
