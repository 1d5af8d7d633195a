#include "operations/InstrumentOperation.h"

#include "operations/OperationContext.h"

#include <QAction>
#include <QPushButton>

namespace {
constexpr const char* kRunning = "instrumentOperationRunning";
}

InstrumentOperation::InstrumentOperation(OperationContext& ctx) : m_ctx(ctx) {
    m_ctx.window.setProperty(kRunning, true);
    enableCommands(false);
}

InstrumentOperation::~InstrumentOperation() {
    m_ctx.window.setProperty(kRunning, false);
    enableCommands(true);
}

bool InstrumentOperation::busy(OperationContext& ctx) {
    return ctx.window.property(kRunning).toBool() || ctx.instrument.isExchanging();
}

void InstrumentOperation::enableCommands(bool enabled) {
    if (m_ctx.mnuSend) m_ctx.mnuSend->setEnabled(enabled);
    if (m_ctx.mnuRead) m_ctx.mnuRead->setEnabled(enabled);
    if (m_ctx.mnuSetting) m_ctx.mnuSetting->setEnabled(enabled);
    // A setting loaded while a send walks the panel would be half sent and its send-all flag lost.
    if (m_ctx.LoadFile) m_ctx.LoadFile->setEnabled(enabled);
    if (m_ctx.panel.OKButton) m_ctx.panel.OKButton->setEnabled(enabled);
    if (m_ctx.panel.cmdTestConnect) m_ctx.panel.cmdTestConnect->setEnabled(enabled);
}
