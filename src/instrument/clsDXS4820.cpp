// Placeholder: the instrument link is being built.
#include "instrument/clsDXS4820.h"

void clsDXS4820::writeLine(const QString& line) {
    if (txtMsg) txtMsg(line);
}

void clsDXS4820::ConnectMethod(const QString& sVar) {
    writeLine("Set [Configure " + sVar + "] to DXS-4820...");
    bReady = false;
    sConnectMethod = sVar;
    writeLine("Set [Configure " + sVar + "] to DXS-4820 OK");
}

bool clsDXS4820::Ready() {
    bReady = !SendCommand("*IDN?").isEmpty();
    writeLine(bReady ? "DXS-4820 <--> PC: [Ready]" : "DXS-4820 <--> PC: [Failure]");
    return bReady;
}

QString clsDXS4820::IDN() { return SendCommand("*IDN?"); }
void clsDXS4820::set(Property, double) {}
double clsDXS4820::check(Property) { return 0; }
QString clsDXS4820::SendCommand(const QString&) { return {}; }
