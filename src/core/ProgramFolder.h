#pragma once
#include <QString>

// The folder the program runs from: where the setting file, the help document and the COMn links
// live. Tests point it at a folder of their own.
QString programFolder();
void setProgramFolder(const QString& folder);
