#pragma once
#include <QString>

// The folder the program runs from: where the setting file, the help document and the COMn links
// live. Tests point it at a folder of their own.
QString programFolder();
void setProgramFolder(const QString& folder);

// The front panel's application name: its window caption and the name of its settings folder.
inline constexpr char frontPanelName[] = "DXS-4820 Function Generator RS232 Interface Software";

// The front panel's folder in the user's application-data folder (on Linux
// ~/.local/share/<frontPanelName>), whichever program asks: the front panel keeps its setting
// there when its own folder is not writable and looks for COMn links there after its own folder;
// the simulated instrument places its link there by default. A relative XDG_DATA_HOME counts as
// unset. Empty when the system names no application-data folder. Tests point it at a folder of
// their own.
QString settingsFolder();
void setSettingsFolder(const QString& folder);

// Whether the program runs as an installed copy: from <prefix>/bin, with its data folder
// <prefix>/share/dxs4820 beside that folder.
bool installedCopy();

// Where the program's file `name` (such as the help document) is read from: beside the program
// when it is there, else in the installed data folder ../share/dxs4820 next to the program's
// folder; when neither holds it, the path beside the program.
QString programDataFile(const QString& name);
