#include "panel/Synchronisation.h"

#include "app/frmDXS.h"
#include "panel/NumericBox.h"
#include "panel/rules/Synchronisation.h"

#include <QCheckBox>

void copySynchronised(frmDXS& window, NumericBox* source) {
    if (!source || !window.panel.chkSyncRateSym || !window.panel.chkSyncRateSym->isChecked()) return;
    for (const SyncCopy& copy : synchronisedCopies(source->objectName())) {
        auto* receiver = window.findChild<NumericBox*>(QString::fromLatin1(copy.receiver));
        auto* from = window.findChild<NumericBox*>(QString::fromLatin1(copy.from));
        if (!receiver || !from) continue;
        receiver->setText(from->text());
        receiver->markAccepted();
    }
}
