#pragma once
// The menu commands' work and the start-up procedures of the main window.
#include <QString>
#include <QStringList>

struct OperationContext;

// Settings record and its files.
void LoadOperation(OperationContext& ctx);
void SaveOperation(OperationContext& ctx);
void SaveFile(OperationContext& ctx);
void LoadFile(OperationContext& ctx);
void RestoreData(OperationContext& ctx);
// The default setting file's path.
QString defaultSettingFile();
// Loads a setting file named outside the Load dialog (Recent, the command line, a file dropped on
// the window) as Load does. A file that cannot be read changes nothing and is told in the message
// line; a missing one leaves the Recent list. False also while an instrument operation runs.
bool loadSettingFile(OperationContext& ctx, const QString& path);
// The setting files last loaded or saved, the latest first.
QStringList recentSettingFiles();

// Connection frame: the port and baud-rate lists, the stored connection, OK, test and Help.
void fillConnectionLists(OperationContext& ctx);
void InitDevice(OperationContext& ctx);
void installConnectionFrame(OperationContext& ctx);

// Send.
void installSend(OperationContext& ctx);
QString ValidateInputItem(OperationContext& ctx);
