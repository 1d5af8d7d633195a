#pragma once
#include <QString>

// The folder the program runs from: where the setting file, the help document and the COMn links
// live. Tests point it at a folder of their own.
QString programFolder();
void setProgramFolder(const QString& folder);

// Whether the program runs as an installed copy: from <prefix>/bin, with its data folder
// <prefix>/share/dxs4820 beside that folder.
bool installedCopy();

// Where the program's file `name` (such as the help document) is read from: beside the program
// when it is there, else in the installed data folder ../share/dxs4820 next to the program's
// folder; when neither holds it, the path beside the program.
QString programDataFile(const QString& name);
