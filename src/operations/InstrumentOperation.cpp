#include "operations/InstrumentOperation.h"

#include "app/frmDXS.h"

#include <QAction>
#include <QPushButton>

namespace {
constexpr const char* kRunning = "instrumentOperationRunning";
}

InstrumentOperation::InstrumentOperation(frmDXS& window) : m_window(window) {
    m_window.setProperty(kRunning, true);
    enableCommands(false);
}

InstrumentOperation::~InstrumentOperation() {
    m_window.setProperty(kRunning, false);
    enableCommands(true);
}

bool InstrumentOperation::busy(frmDXS& window) {
    return window.property(kRunning).toBool() || window.instrument.isExchanging();
}

void InstrumentOperation::enableCommands(bool enabled) {
    if (m_window.mnuSend) m_window.mnuSend->setEnabled(enabled);
    if (m_window.mnuSetting) m_window.mnuSetting->setEnabled(enabled);
    // A setting loaded while a send walks the panel would be half sent and its send-all flag lost.
    if (m_window.LoadFile) m_window.LoadFile->setEnabled(enabled);
    if (m_window.panel.OKButton) m_window.panel.OKButton->setEnabled(enabled);
    if (m_window.panel.cmdTestConnect) m_window.panel.cmdTestConnect->setEnabled(enabled);
}
