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

QString programDataFile(const QString& name) {
    const QString beside = programFolder() + "/" + name;
    if (QFileInfo::exists(beside)) return beside;
    // An installed copy runs from <prefix>/bin with its data in <prefix>/share/dxs4820.
    const QString installed = QDir::cleanPath(programFolder() + "/../share/dxs4820/" + name);
    return QFileInfo::exists(installed) ? installed : beside;
}
