#pragma once
// What the menu commands' work and the start-up procedures may touch: the panel's controls, the
// settings record, the instrument object and its transports, the send state, the dialogs, the
// message line and the commands an instrument operation disables. The window builds one once its
// menus exist and keeps it for its whole life.
#include "instrument/clsDXS4820.h"
#include "record/LastSentMemory.h"
#include "record/SettingsRecord.h"
#include "panel/Panel.h"
#include "panel/UserDialogs.h"

#include <QString>
#include <QWidget>
#include <functional>

class GpibTransport;
class QAction;
class SerialTransport;

struct OperationContext {
    // The window: the operations' objects and connections live with it, and it carries the mark
    // of an instrument operation under way.
    QWidget& window;
    Panel& panel;
    SettingsRecord& record;
    clsDXS4820& instrument;
    SerialTransport& serial;
    GpibTransport& gpib;
    bool& sendAll; // the next Send transmits every value
    // The dialogs in use now (tests replace them after the window is built).
    std::function<UserDialogs&()> dialogs;
    // The message line: every writer replaces its whole text.
    std::function<void(const QString&)> setMessage;
    // True from the moment the window starts closing: operations under way end without more traffic.
    std::function<bool()> isClosing;
    // Menu commands (null where a window has none).
    QAction* mnuSend = nullptr;
    QAction* mnuSetting = nullptr;
    QAction* LoadFile = nullptr;
    QAction* mnuRead = nullptr;
    // What the last Send transmitted, or the last complete Read found: the next Send skips what
    // still matches it. Lives with the window; no file holds it.
    LastSentMemory lastSent;

    // Transports the instrument object talks through.
    SerialTransport& CWSerial1() const { return serial; }
    GpibTransport& CWGPIB1() const { return gpib; }
};
