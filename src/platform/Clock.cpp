#include "platform/Clock.h"

#include <QElapsedTimer>
#include <QThread>
#include <chrono>

SystemClock::SystemClock() {
    start_ = std::chrono::duration_cast<std::chrono::nanoseconds>(
                 std::chrono::steady_clock::now().time_since_epoch())
                 .count();
}

double SystemClock::nowSeconds() {
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count();
    return static_cast<double>(now - start_) / 1e9;
}

void SystemClock::sleepMs(int msecs) {
    if (msecs > 0) QThread::msleep(static_cast<unsigned long>(msecs));
}
