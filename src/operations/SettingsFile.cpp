// The setting files: the default file read at start-up and written at shutdown, the File menu's
// Save and Load, and putting a loaded record back into the panel.
#include "core/ProgramFolder.h"
#include "operations/InstrumentOperation.h"
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "panel/BoxTable.h"
#include "panel/NumericBox.h"
#include "record/DefaultFileLock.h"
#include "record/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QtDebug>
#include <memory>
#include <optional>

namespace {

constexpr char SettingFileFilter[] = "DXS4820(*.Log)|*.Log";
constexpr int FirstSweepSegment = 1;
constexpr int LastSweepSegment = 8;
// The Recent list and the folder the file dialogs last used, kept beside the default setting file as
// UTF-8 lines "LastFolder=<folder>" and "Recent=<file>", newest file first. A name holding a line
// break cannot be kept in it and is not remembered.
constexpr char FileHistoryName[] = "DXS4820.ini";
constexpr QLatin1StringView LastFolderKey("LastFolder=");
constexpr QLatin1StringView RecentKey("Recent=");
constexpr int RecentCount = 5;

// The application-data folder (the settings folder, where the COMn links are looked for too) is made
// before the default file in it is first locked or stored.
void makeFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!settingsFolder().isEmpty() &&
        QDir::cleanPath(folder) == QDir::cleanPath(QDir(settingsFolder()).absolutePath()))
        QDir().mkpath(folder);
}

recordfile::DefaultLocation defaultLocation() {
    return recordfile::defaultLocation(programFolder(), settingsFolder(), installedCopy());
}

bool writableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isWritable();
}

struct FileHistory {
    QString path;
    QStringList recent;
    QString lastFolder;
};

// The file history, or none where its name is taken by something other than a file (a pipe there
// would hold the program up when read). A history that cannot be read is an empty one.
std::optional<FileHistory> fileHistory() {
    FileHistory history;
    history.path = QDir(QFileInfo(defaultSettingFile()).absolutePath()).filePath(FileHistoryName);
    const QFileInfo info(history.path);
    if (info.exists() && !info.isFile()) return std::nullopt;
    QFile file(history.path);
    if (!file.open(QIODevice::ReadOnly)) return history;
    for (const QByteArray& bytes : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(bytes);
        if (line.startsWith(RecentKey) && line.size() > RecentKey.size())
            history.recent << line.mid(RecentKey.size());
        else if (line.startsWith(LastFolderKey) && history.lastFolder.isEmpty())
            history.lastFolder = line.mid(LastFolderKey.size());
    }
    return history;
}

// Losing the history costs the user a shortcut only: a warning, no box.
void storeHistory(const FileHistory& history) {
    QByteArray text;
    if (!history.lastFolder.isEmpty()) text += (LastFolderKey + history.lastFolder).toUtf8() + '\n';
    for (const QString& file : history.recent)
        text += (RecentKey + file).toUtf8() + '\n';
    // The first Save or Load of an installed copy may come before the folder was ever made.
    QDir().mkpath(QFileInfo(history.path).absolutePath());
    if (const auto result = recordfile::writeFile(history.path, text, /*keepTail=*/false); !result)
        qWarning().noquote() << QStringLiteral("The list of recent setting files could not be kept in %1: %2")
                                    .arg(QDir::toNativeSeparators(history.path), result.reason);
}

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// A file loaded or saved heads the Recent list, and its folder is where the next dialog opens.
void rememberFile(const QString& path) {
    const QString file = absolute(path);
    if (file.contains(u'\n')) return;
    auto history = fileHistory();
    if (!history) return;
    history->recent.removeAll(file);
    history->recent.prepend(file);
    history->recent = history->recent.mid(0, RecentCount);
    history->lastFolder = QFileInfo(file).absolutePath();
    storeHistory(*history);
}

void forgetFile(const QString& path) {
    auto history = fileHistory();
    if (history && history->recent.removeAll(absolute(path)) > 0) storeHistory(*history);
}

// The folder the file dialogs open in: the one last used, else the user's documents or home
// folder; never one the user cannot write (the program's own folder of an installed copy).
QString dialogFolder() {
    QStringList candidates;
    if (const auto history = fileHistory()) candidates << history->lastFolder;
    candidates << QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) << QDir::homePath()
               << QFileInfo(defaultSettingFile()).absolutePath() << QDir::tempPath();
    for (const QString& folder : candidates)
        if (writableFolder(folder)) return QDir::toNativeSeparators(folder);
    return {};
}

UserDialogs::FileDialogRequest fileDialog(UserDialogs::FileDialogKind kind, const QString& title,
                                          const QString& proposedName) {
    return {kind, title, dialogFolder(), proposedName, SettingFileFilter};
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
    const bool am = ctx.panel.optModAM->isChecked();
    for (const NumericBox* box : ctx.panel.boxes())
        storeInRecord(*box, am, ctx.record);
    ctx.record.setInteger(RecordField::SweepSegment, int16_t(ctx.panel.HScrollSweep->value()));
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
    const QString path = ctx.dialogs().chooseFile(
        fileDialog(UserDialogs::FileDialogKind::Save, "Save", recordfile::DefaultFileName));
    if (path.isEmpty()) return;
    copyPanelIntoRecord(ctx);
    if (const auto result = recordfile::writeRecord(path, ctx.record); !result) {
        ctx.dialogs().message(QStringLiteral("The setting could not be saved to %1.\n%2")
                                  .arg(QDir::toNativeSeparators(path), result.reason),
                              UserDialogs::Buttons::Ok, UserDialogs::Icon::Warning);
        return;
    }
    rememberFile(path);
}

void LoadFile_Click(OperationContext& ctx) {
    const QString path =
        ctx.dialogs().chooseFile(fileDialog(UserDialogs::FileDialogKind::Open, "Load", QString()));
    if (!path.isEmpty()) {
        // A missing (or unreadable) file leaves the record as it is; the panel is restored from it.
        if (recordfile::readRecord(path, ctx.record) == recordfile::ReadStatus::Read) rememberFile(path);
        RestoreData(ctx);
    }
    ctx.sendAll = true;
}

bool loadSettingFile(OperationContext& ctx, const QString& path) {
    // Not while a send walks the panel: the setting would be half sent (Load is disabled then too).
    if (InstrumentOperation::busy(ctx)) return false;
    const QString shown = QDir::toNativeSeparators(absolute(path));
    switch (recordfile::readRecord(path, ctx.record)) {
    case recordfile::ReadStatus::Read:
        rememberFile(path);
        RestoreData(ctx);
        ctx.sendAll = true;
        return true;
    case recordfile::ReadStatus::Missing:
        forgetFile(path);
        ctx.setMessage(QStringLiteral("Setting file not found: %1").arg(shown));
        return false;
    case recordfile::ReadStatus::Unreadable:
        ctx.setMessage(QStringLiteral("Setting file could not be read: %1").arg(shown));
        return false;
    }
    return false;
}

QStringList recentSettingFiles() {
    const auto history = fileHistory();
    return history ? history->recent.mid(0, RecentCount) : QStringList();
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
