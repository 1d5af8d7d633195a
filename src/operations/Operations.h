#pragma once
// The menu commands' work and the start-up procedures of the main window.
#include <QString>

struct OperationContext;

// Settings record and its files.
void LoadOperation(OperationContext& ctx);
void SaveOperation(OperationContext& ctx);
void SaveFile(OperationContext& ctx);
void LoadFile(OperationContext& ctx);
void RestoreData(OperationContext& ctx);
// The default setting file's path.
QString defaultSettingFile();

// Connection frame: the port and baud-rate lists, the stored connection, OK, test and Help.
void fillConnectionLists(OperationContext& ctx);
void InitDevice(OperationContext& ctx);
void installConnectionFrame(OperationContext& ctx);

// Send.
void installSend(OperationContext& ctx);
QString ValidateInputItem(OperationContext& ctx);

// Read: the instrument's setting into the panel, as confirmed entries.
enum class ReadResult {
    NotStarted,       // refused (another exchange under way, window closing) or the user kept the edits
    NotReady,         // the readiness query got no reply
    NoIdentification, // ready, but the identification came back empty
    Incomplete,       // read, but some value failed or was not reached
    Complete,         // every value read
};
void installRead(OperationContext& ctx);
ReadResult ReadOperation(OperationContext& ctx);
