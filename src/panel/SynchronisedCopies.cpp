#include "panel/SynchronisedCopies.h"

#include "panel/NumericBox.h"
#include "panel/RuleContext.h"
#include "panel/rules/Synchronisation.h"

#include <QCheckBox>

void copySynchronised(RuleContext& ctx, NumericBox* source) {
    if (!source || !ctx.panel.chkSyncRateSym || !ctx.panel.chkSyncRateSym->isChecked()) return;
    for (const SyncCopy& copy : synchronisedCopies(source->objectName())) {
        auto* receiver = ctx.window.findChild<NumericBox*>(QString::fromLatin1(copy.receiver));
        auto* from = ctx.window.findChild<NumericBox*>(QString::fromLatin1(copy.from));
        if (!receiver || !from) continue;
        receiver->setText(from->text());
        receiver->markAccepted();
    }
}
