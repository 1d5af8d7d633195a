// The setting files: the default file read at start-up and written at shutdown, the File menu's
// Save and Load, and putting a loaded record back into the panel.
#include "core/NumberText.h"
#include "core/ProgramFolder.h"
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "record/DefaultFileLock.h"
#include "record/RecordFile.h"
#include "panel/NumericBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QtDebug>

namespace {

constexpr char SettingFileFilter[] = "DXS4820(*.Log)|*.Log";
constexpr int FirstSweepSegment = 1;
constexpr int LastSweepSegment = 8;

QString appDataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // A relative XDG_DATA_HOME is to be ignored, as if unset: the folder would move with the
    // working folder the program happens to be started from.
    const QString dataHome = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (!dataHome.isEmpty() && QDir::isRelativePath(dataHome) && folder.startsWith(dataHome))
        return QDir::homePath() + "/.local/share" + folder.mid(dataHome.size());
    return folder;
}

// The application-data folder is made before the default file in it is first locked or stored.
void makeFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!appDataFolder().isEmpty() &&
        QDir::cleanPath(folder) == QDir::cleanPath(QDir(appDataFolder()).absolutePath()))
        QDir().mkpath(folder);
}

recordfile::DefaultLocation defaultLocation() {
    return recordfile::defaultLocation(programFolder(), appDataFolder(), installedCopy());
}

// The folder the file dialogs open in: the program folder with a closing separator.
QString dialogFolder() {
    return QDir::toNativeSeparators(programFolder() + "/");
}

// A text field's text as a box shows it: up to the first zero character, without leading and
// trailing blanks. Empty when nothing is left: a field never written (zero bytes) or all blanks.
QString restoredText(const SettingsRecord& record, RecordField field) {
    QByteArray bytes = record.rawText(field);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) bytes.truncate(zero);
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && bytes[begin] == ' ')
        ++begin;
    while (end > begin && bytes[end - 1] == ' ')
        --end;
    return fromWindows1252(bytes.mid(begin, end - begin));
}

// Sets a box's text (its text-changed reaction runs) and then marks it accepted.
void restoreBoxText(NumericBox* box, const QString& text) {
    box->setText(text);
    box->markAccepted();
}

// A text field into its box; an empty field leaves the box as it is.
void restoreField(const SettingsRecord& record, RecordField field, NumericBox* box) {
    const QString text = restoredText(record, field);
    if (!text.isEmpty()) restoreBoxText(box, text);
}

// Chooses the option at `code - 1` when the code names one of the given options.
template <size_t N> void chooseByCode(const std::array<QRadioButton*, N>& options, int code, int lastCode) {
    if (code >= 1 && code <= lastCode) options[size_t(code - 1)]->setChecked(true);
}

void copyPanelIntoRecord(OperationContext& ctx) {
    Panel& panel = ctx.panel;
    SettingsRecord& record = ctx.record;
    const bool am = panel.optModAM->isChecked();
    record.setText(RecordField::MainFreq, panel.txtMainFreq->text());
    record.setText(RecordField::Amplitude, panel.txtMainAmp->text());
    record.setText(RecordField::DCOffset, panel.txtMainDCOffset->text());
    record.setText(RecordField::Duty, panel.txtMainDuty->text());
    record.setText(am ? RecordField::AMRate : RecordField::FMRate, panel.txtModRate->text());
    record.setText(am ? RecordField::AMDepth : RecordField::FMSpan, panel.txtModSpanDepth->text());
    if (am) {
        // A symmetry that is not a 16-bit whole number keeps the stored one.
        if (const auto symmetry = numtext::strictIntegerRounded(panel.txtModSymmetry->text()))
            record.setInteger(RecordField::AMSymmetry, *symmetry);
    } else {
        record.setText(RecordField::FMSymmetry, panel.txtModSymmetry->text());
    }
    record.setInteger(RecordField::SweepSegment, int16_t(panel.HScrollSweep->value()));
    record.setText(RecordField::SweepRate, panel.txtSweepRate->text());
    record.setText(RecordField::SweepStart, panel.txtSweepStartFreq->text());
    record.setText(RecordField::SweepStop, panel.txtSweepStopFreq->text());
    record.setText(RecordField::SweepSymmetry, panel.txtSweepSymmetry->text());
    record.setText(RecordField::TriggerPhase, panel.txtTrgPhase->text());
    record.setText(RecordField::TriggerRate, panel.txtTrgRate->text());
    record.setText(RecordField::TriggerSymmetry, panel.txtTrgSymmetry->text());
}

} // namespace

QString defaultSettingFile() {
    return defaultLocation().writePath;
}

void LoadOperation(OperationContext& ctx) {
    // No stored setting yet, or one that cannot be read: the record keeps its empty start state.
    const QString path = defaultLocation().readPath;
    if (!path.isEmpty()) recordfile::readRecord(path, ctx.record);
}

QString SaveOperation(OperationContext& ctx) {
    // A failure leaves the old file whole; the window tells the user before it goes.
    const QString path = defaultSettingFile();
    makeFolderOf(path);
    if (const auto result = recordfile::writeRecord(path, ctx.record); !result)
        return QStringLiteral("The setting could not be stored in %1.\n%2")
            .arg(QDir::toNativeSeparators(path), result.reason);
    return {};
}

std::unique_ptr<DefaultFileLock> ClaimDefaultFile() {
    const QString path = defaultSettingFile();
    makeFolderOf(path);
    auto lock = std::make_unique<DefaultFileLock>(path);
    if (lock->state() == DefaultFileLock::State::Held) recordfile::removeLeftoverTemporaries(path);
    return lock;
}

void SaveFile_Click(OperationContext& ctx) {
    const QString path =
        ctx.dialogs().chooseFile(dialogFolder(), recordfile::DefaultFileName, SettingFileFilter);
    if (path.isEmpty()) return;
    copyPanelIntoRecord(ctx);
    if (const auto result = recordfile::writeRecord(path, ctx.record); !result) {
        ctx.dialogs().message(QStringLiteral("The setting could not be saved to %1.\n%2")
                                  .arg(QDir::toNativeSeparators(path), result.reason),
                              UserDialogs::Buttons::Ok, UserDialogs::Icon::Warning);
    }
}

void LoadFile_Click(OperationContext& ctx) {
    const QString path = ctx.dialogs().chooseFile(dialogFolder(), QString(), SettingFileFilter);
    if (!path.isEmpty()) {
        // A missing (or unreadable) file leaves the record as it is; the panel is restored from it.
        recordfile::readRecord(path, ctx.record);
        RestoreData(ctx);
    }
    ctx.sendAll = true;
}

void RestoreData(OperationContext& ctx) {
    Panel& panel = ctx.panel;
    // Restoring itself writes no field; the reactions of the options and boxes set below may (the
    // waveform choice stores its code again), and each step reads the record as it then stands.
    const SettingsRecord& record = ctx.record;

    if (const int cycleTime = record.integer(RecordField::CycleTime); cycleTime >= 0)
        panel.txtCycleTime->setText(QString::number(cycleTime));

    chooseByCode(panel.optMainFunc, record.integer(RecordField::MainWaveform), 3);

    restoreField(record, RecordField::MainFreq, panel.txtMainFreq);
    restoreField(record, RecordField::Amplitude, panel.txtMainAmp);
    restoreField(record, RecordField::DCOffset, panel.txtMainDCOffset);
    restoreField(record, RecordField::Duty, panel.txtMainDuty);

    if (record.integer(RecordField::SweepModel) == 1) panel.optSweepModel[1]->setChecked(true);

    // Only a segment the chooser can show is taken; changing it runs the segment rule, which
    // rewrites the sweep frequency boxes before the stored texts below overwrite them.
    if (const int segment = record.integer(RecordField::SweepSegment);
        segment >= FirstSweepSegment && segment <= LastSweepSegment)
        panel.HScrollSweep->setValue(segment);

    restoreField(record, RecordField::SweepStart, panel.txtSweepStartFreq);
    restoreField(record, RecordField::SweepStop, panel.txtSweepStopFreq);
    restoreField(record, RecordField::SweepSymmetry, panel.txtSweepSymmetry);
    restoreField(record, RecordField::SweepRate, panel.txtSweepRate);

    // Sine, Triangle or Square; "Ext" is never restored.
    chooseByCode(panel.optModSource, record.integer(RecordField::ModSource), 3);

    if (panel.optModAM->isChecked()) restoreField(record, RecordField::AMRate, panel.txtModRate);
    if (panel.optModAM->isChecked())
        restoreBoxText(panel.txtModSymmetry, QString::number(record.integer(RecordField::AMSymmetry)));
    if (panel.optModAM->isChecked()) restoreField(record, RecordField::AMDepth, panel.txtModSpanDepth);
    if (panel.optModFM->isChecked()) restoreField(record, RecordField::FMRate, panel.txtModRate);
    if (panel.optModFM->isChecked()) restoreField(record, RecordField::FMSymmetry, panel.txtModSymmetry);
    if (panel.optModFM->isChecked()) restoreField(record, RecordField::FMSpan, panel.txtModSpanDepth);

    if (const int type = record.integer(RecordField::TriggerType); type >= 0)
        panel.optTriggerType[type == 0 ? 0 : 1]->setChecked(true);

    restoreField(record, RecordField::TriggerRate, panel.txtTrgRate);
    restoreField(record, RecordField::TriggerSymmetry, panel.txtTrgSymmetry);
    restoreField(record, RecordField::TriggerPhase, panel.txtTrgPhase);
}
