#pragma once
// The menu commands' work and the start-up procedures of the main window.
#include <QString>

class frmDXS;

// Settings record and its files.
void LoadOperation(frmDXS& window);
void SaveOperation(frmDXS& window);
void SaveFile(frmDXS& window);
void LoadFile(frmDXS& window);
void RestoreData(frmDXS& window);
// The default setting file's path.
QString defaultSettingFile();

// Connection frame: the port and baud-rate lists, the stored connection, OK, test and Help.
void fillConnectionLists(frmDXS& window);
void InitDevice(frmDXS& window);
void installConnectionFrame(frmDXS& window);

// Send.
void installSend(frmDXS& window);
QString ValidateInputItem(frmDXS& window);
