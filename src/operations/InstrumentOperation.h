#pragma once
// One operation that talks to the instrument at a time. While Send or the connection test waits for
// a reply the window stays live; the commands that would start another exchange are disabled for
// that time (Load with them), and refused should one arrive anyway, so exchanges never interleave on the wire.
class frmDXS;

class InstrumentOperation {
public:
    explicit InstrumentOperation(frmDXS& window);
    ~InstrumentOperation();
    InstrumentOperation(const InstrumentOperation&) = delete;
    InstrumentOperation& operator=(const InstrumentOperation&) = delete;

    // True while an operation runs or an exchange (the readiness check's included) waits.
    static bool busy(frmDXS& window);

private:
    void enableCommands(bool enabled);
    frmDXS& m_window;
};
