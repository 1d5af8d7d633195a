#pragma once
// One operation that talks to the instrument at a time. While Send or the connection test waits for
// a reply the window stays live; the commands that would start another exchange are disabled for
// that time (Load with them), and refused should one arrive anyway, so exchanges never interleave on the wire.
struct OperationContext;

class InstrumentOperation {
public:
    explicit InstrumentOperation(OperationContext& ctx);
    ~InstrumentOperation();
    InstrumentOperation(const InstrumentOperation&) = delete;
    InstrumentOperation& operator=(const InstrumentOperation&) = delete;

    // True while an operation runs or an exchange (the readiness check's included) waits.
    static bool busy(OperationContext& ctx);

private:
    void enableCommands(bool enabled);
    OperationContext& m_ctx;
};
