// Placeholder: the connection frame is being built.
#include "operations/Operations.h"

void fillConnectionLists(frmDXS&) {}
void InitDevice(frmDXS&) {}
void installConnectionFrame(frmDXS&) {}
