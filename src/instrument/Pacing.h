#pragma once
// The pacing wait after each RS232 write: the window stays live (events are processed) while the
// CPU idles on a timer.
#include <cstdint>

class QEventLoop;

// Milliseconds between two readings of a signed 32-bit millisecond counter that wraps about
// every 49.7 days: correct across 2147483647 -> -2147483648 and across -1 -> 0.
double elapsedMilliseconds(int32_t start, int32_t now);

// The system millisecond counter, as a signed 32-bit value that wraps.
int32_t millisecondCounter();

// A wait that another part of the program can end early (the window closing).
class PacingWait {
public:
    PacingWait() = default;
    PacingWait(const PacingWait&) = delete;
    PacingWait& operator=(const PacingWait&) = delete;

    // Waits at least ms while processing window events. Zero or negative returns at once without
    // processing events. Returns false when cancel() ended the wait early.
    bool wait(double ms);
    // Ends a wait in progress at once, and every later wait too.
    void cancel();
    bool cancelled() const { return m_cancelled; }
    bool waiting() const { return m_loop != nullptr; }

private:
    QEventLoop* m_loop = nullptr;
    bool m_cancelled = false;
};

// Waits at least ms while processing window events.
void Delay(double ms);
