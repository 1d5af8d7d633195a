#pragma once
// The menu commands' work and the start-up procedures of the main window.
#include <QString>
#include <memory>

class DefaultFileLock;
struct OperationContext;

// Settings record and its files.
void LoadOperation(OperationContext& ctx);
// Stores the record in the default file; returns why it could not (empty: stored).
QString SaveOperation(OperationContext& ctx);
void SaveFile(OperationContext& ctx);
void LoadFile(OperationContext& ctx);
void RestoreData(OperationContext& ctx);
// The default setting file's path.
QString defaultSettingFile();
// Claims the default file for this copy of the program (see DefaultFileLock); the holder also
// clears what an interrupted save of it left behind.
std::unique_ptr<DefaultFileLock> ClaimDefaultFile();

// Connection frame: the port and baud-rate lists, the stored connection, OK, test and Help.
void fillConnectionLists(OperationContext& ctx);
void InitDevice(OperationContext& ctx);
void installConnectionFrame(OperationContext& ctx);

// Send.
void installSend(OperationContext& ctx);
QString ValidateInputItem(OperationContext& ctx);
