#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
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
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
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
