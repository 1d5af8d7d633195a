// The settings on a recording transport selected as GPIB (no pacing): command texts, queries and
// progress lines, the integer refusal and the reply conversions of the check rules.
#include "instrument/clsDXS4820.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"

#include <gtest/gtest.h>

namespace {

using P = Property;

QStringList progress(const QString& start, const QString& end, const char* outcome) {
    return {start + "...", end + outcome};
}

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

} // namespace

TEST_F(InstrumentTable, EveryRowSendsItsCommandAndWritesItsLines) {
    // Lines are <stem>..., <stem> OK and <stem> FAILURE, a set's stem "Set [setName] to DXS-4820";
    // checkEnd is the stem of a check's OK / FAILURE line where it differs. Integer rows can fail. The
    // rows are those a send cannot show: queries, odd headers and lines, number forms at their edges.
    // clang-format off
    const struct { P property; double value; const char *command, *query, *setName, *checkStem; bool integer;
                   const char* checkEnd = nullptr; } rows[] = {
        {P::MainFreqWaveForm, 1, ":FUNC:WAV 1", ":FUNC:WAV ?", "Main Func Freq. Wave Form: (Sin)", "Check [Main Func Freq. Wave Form] from DXS-4820", true},
        {P::MainFreq, 1e-5, ":FREQ 1E-05", ":FREQ ?", "Main Func Freq", "Check [Main Func Freq.] from DXS-4820", false},
        {P::SourceSource, 1, ":SOURCE:SOURCE 1", ":SOUR:SOUR ?", "Source Source", "Check [Source Source] from DXS-4820", true, "Get [Source Source] to DXS-4820"},
        {P::SourceModFMRate, 1e15, ":SOUR:MODFM:RAT 1E+15", ":SOUR:MODFM:RAT ?", "Source FM Rate", "Check [Source FM Rate] from DXS-4820", false},
        {P::SourceSweepCenter, 0.0001, ":SOUR:SWE:CENT 0.0001", ":SOUR:SWE:CENT ?", "Source Sweep Center Frequence", "Check [Source Sweep Center Frequence] from DXS-4820", false},
        {P::SourceSweepSpan, 123.456, ":SOUR:SWE:SPAN 123.456", ":SOUR:SWE:SPAN ?", "Source Sweep Span Frequence", "Check [Source Sweep Span Frequence] from DXS-4820", false},
        {P::SourceSweepSym, -32768, ":SOUR:SWE:SYM -32768", ":SOUR:SWE:SYM ?", "Source Sweep SYM", "Check [Source Sweep SYM] from DXS-4820", true},
        {P::SourceTriggerState, 1, ":SOUR:TRIG:STAT 1", ":SOUR:TRIG:STAT ?", "Source Trigger Rate", "Check [Source Trigger Rate] from DXS-4820", true},
        {P::SourceTriggerSource, 1, ":SOUR:TRIG:SOUR 1", ":SOUR:TRIG:SOUR ?", "Source Trigger Souce", "Check [Source Trigger Source] from DXS-4820", true},
        {P::SourceCounterSource, 1, ":SOUR:COUN:SOUR 1", ":SOUR:COUN:SOUR ?", "Source Counter Source", "Set [Source Counter Source] from DXS-4820", true}};
    // clang-format on
    for (const auto& row : rows) {
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
    const struct { P property; double value; const char *command, *wave; } cases[] = {
        {P::MainFreqWaveForm, 2, ":FUNC:WAV 2", "Triangle"}, {P::MainFreqWaveForm, 3, ":FUNC:WAV 3", "Square"},
        {P::MainFreqWaveForm, 4, ":FUNC:WAV 4", nullptr}, {P::MainFreqWaveForm, 0, ":FUNC:WAV 0", nullptr},
        {P::DUTY, 50.5, ":DUTY 50", nullptr}, {P::DUTY, 51.5, ":DUTY 52", nullptr}, {P::DUTY, -0.4, ":DUTY 0", nullptr}};
    // clang-format on
    for (const auto& c : cases) {
        run([&] { dxs.set(c.property, c.value); });
        EXPECT_EQ(link.writes, QByteArrayList{c.command});
        const QString set = QString("Set [Main Func Freq. Wave Form: (%1)] to DXS-4820").arg(c.wave);
        if (c.property == P::MainFreqWaveForm) {
            EXPECT_EQ(lines, c.wave ? progress(set, set, " OK") : QStringList());
        }
    }
}

TEST_F(InstrumentTable, ChecksConvertRepliesByTheirRule) {
    // clang-format off
    const struct { P property; const char* reply; double value; bool ok; } cases[] = {
        {P::MainFreq, "1.000000E+03\n", 1000, true}, {P::MainFreq, "  -2.5E-3 V\r\n", -0.0025, true},
        {P::MainFreq, "garbage", 0, true}, {P::DUTY, "50.5", 50, true}, {P::DUTY, "51.5", 52, true},
        {P::DUTY, "49.7%\n", 50, true}, {P::DUTY, "", 0, false}, {P::DUTY, "abc", 0, false},
        {P::SourceState, "2\r\n", 2, true}, {P::SourceSweepSym, "-2.5", -3, true},
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
