#pragma once
// The program's command line: --help, --version, --transcript FILE, a setting file to load, and the
// scripts (--send FILE, --read FILE with --port and --baud). Without arguments the program starts as
// it always has.
#include "app/ScriptMode.h"
#include "instrument/Transport.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class frmDXS;
class Transcript;

struct CommandLine {
    bool run = true;                     // false: print the texts below and exit with exitCode
    int exitCode = 0;                    // 2 for a command line we cannot follow
    QString output;                      // for standard output (help, version)
    QString error;                       // for standard error
    QString transcriptPath;              // empty: nothing recorded; "-": standard error
    QString settingFile;                 // loaded at start as File > Load does (empty: none)
    std::optional<ScriptRequest> script; // --send or --read: run without a window
};

// Reads the arguments (the program's name first). The toolkit's own options (-platform, -style, ...)
// are left for the toolkit and pass unremarked.
CommandLine parseCommandLine(const QStringList& arguments);

// Routes the window's exchanges through the transcript; keep the result as long as the window.
std::vector<std::unique_ptr<Transport>> recordExchanges(frmDXS& window, Transcript& transcript);
