#pragma once
// The menu commands' work and the start-up procedures of the main window.
#include <QString>
#include <memory>
#include <QStringList>

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
