#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString& overriddenFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString programFolder() {
    if (!overriddenFolder().isEmpty()) return overriddenFolder();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) {
    overriddenFolder() = folder;
}

namespace {
QString& overriddenSettingsFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString settingsFolder() {
    if (!overriddenSettingsFolder().isEmpty()) return overriddenSettingsFolder();
#ifdef Q_OS_WIN
    // Only the front panel itself runs on Windows, where ports are named by the system.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#else
    // As the application-data location of a program of that name (no organisation) is made, so the
    // simulated instrument, which has a name of its own, finds the front panel's folder.
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // A relative XDG_DATA_HOME is ignored, as if unset: the folder would move with the working
    // folder the program happens to be started from.
    const QString dataHome = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (!dataHome.isEmpty() && QDir::isRelativePath(dataHome) && data.startsWith(dataHome))
        data = QDir::homePath() + "/.local/share" + data.mid(dataHome.size());
    return data.isEmpty() ? QString() : data + "/" + frontPanelName;
#endif
}

void setSettingsFolder(const QString& folder) {
    overriddenSettingsFolder() = folder;
}

namespace {
QString installedDataFolder() {
    return QDir::cleanPath(programFolder() + "/../share/dxs4820");
}
} // namespace

bool installedCopy() {
    return QFileInfo(installedDataFolder()).isDir();
}

QString programDataFile(const QString& name) {
    const QString beside = programFolder() + "/" + name;
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = installedDataFolder() + "/" + name;
    return QFileInfo::exists(installed) ? installed : beside;
}
