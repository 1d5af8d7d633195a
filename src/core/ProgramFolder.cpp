#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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
