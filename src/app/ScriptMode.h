#pragma once
// The scripts: `--send FILE` and `--read FILE` drive the instrument without showing a window. They
// run the panel's own rules, Send and Read on a main window that is built but never shown, on the
// offscreen platform, so no display is needed (ssh, cron, CI). Every line the message line would
// show goes to standard output; message boxes go to standard error.
#include <QString>
#include <cstdio>
#include <optional>

class Transcript;

struct ScriptRequest {
    enum class Kind { Send, Read } kind = Kind::Send;
    QString file;
    // --port: a COM port number (1 to 4) or a device path; empty: the stored connection.
    std::optional<int> portNumber{};
    QString devicePath{};
    std::optional<int> baudRate{}; // --baud
};

// Exit statuses of a script.
enum ScriptExit {
    ScriptOk = 0,       // every step ended OK
    ScriptFailed = 1,   // an exchange failed, or the instrument was not ready
    ScriptUnusable = 2, // a usage error, or a file that cannot be read or written
};

// Checks --port and --baud; a text for standard error when they cannot be followed.
std::optional<QString> checkScriptConnection(const QString& port, const QString& baud,
                                             ScriptRequest& request);

// Before the application object is created: the scripts never need a display.
void prepareScriptPlatform();

// Runs the script on a hidden main window (the application object must exist).
int runScript(const ScriptRequest& request, Transcript* transcript, std::FILE* out = stdout,
              std::FILE* err = stderr);
