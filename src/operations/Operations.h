#pragma once
// The menu commands' work and the start-up procedures of the main window.
#include <QString>
#include <memory>
#include <QStringList>

class DefaultFileLock;
class QPrinter;
struct OperationContext;

// Settings record and its files.
void LoadOperation(OperationContext& ctx);
// Stores the record in the default file; returns why it could not (empty: stored).
QString SaveOperation(OperationContext& ctx);
// The File menu's Save and Load (the menu items SaveFile and LoadFile).
void SaveFile_Click(OperationContext& ctx);
void LoadFile_Click(OperationContext& ctx);
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

// Printing (the File menu's Print).
// Prints an image of the main window on the default printer.
void printMainWindow(OperationContext& ctx);
// Prints the main window's image, scaled to fit the page keeping its shape, on a printer already set
// up (printMainWindow's own path, given the default printer); a failure shows in the message line.
void printMainWindowOn(OperationContext& ctx, QPrinter& printer);

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
