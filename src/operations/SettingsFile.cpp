// Placeholder: the setting files are being built.
#include "operations/Operations.h"

void LoadOperation(frmDXS&) {}
void SaveOperation(frmDXS&) {}
void SaveFile(frmDXS&) {}
void LoadFile(frmDXS&) {}
void RestoreData(frmDXS&) {}
QString defaultSettingFile() { return {}; }
