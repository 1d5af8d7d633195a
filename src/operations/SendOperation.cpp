// Placeholder: Send is being built.
#include "operations/Operations.h"

void installSend(frmDXS&) {}
QString ValidateInputItem(frmDXS&) { return {}; }
