#include "instrument/Pacing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <thread>

double elapsedMilliseconds(int32_t start, int32_t now) {
    const double s = start;
    const double n = now;
    if (n >= s) return n - s;
    return 4294967296.0 - s + n; // the counter wrapped
}

int32_t millisecondCounter() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms)));
}

bool PacingWait::wait(double ms) {
    if (m_cancelled) return false;
    if (!(ms > 0)) return true;
    // The counter ticks in whole milliseconds, so one tick more than asked guarantees the full
    // interval whatever fraction of a tick had passed at the first reading.
    const double needed = ms + 1;
    const int32_t start = millisecondCounter();
    double elapsed = elapsedMilliseconds(start, millisecondCounter());
    while (elapsed < needed && !m_cancelled) {
        const double remaining = needed - elapsed;
        const int timeout = remaining > 1e9 ? 1000000000 : static_cast<int>(std::ceil(remaining));
        if (QCoreApplication::instance()) {
            QEventLoop loop;
            QTimer timer;
            timer.setSingleShot(true);
            timer.setTimerType(Qt::PreciseTimer);
            QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
            timer.start(timeout);
            QEventLoop* outer = m_loop;
            m_loop = &loop;
            loop.exec();
            m_loop = outer;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
        }
        elapsed = elapsedMilliseconds(start, millisecondCounter());
    }
    return !m_cancelled;
}

void PacingWait::cancel() {
    m_cancelled = true;
    if (m_loop) m_loop->quit();
}

void Delay(double ms) {
    PacingWait wait;
    wait.wait(ms);
}
