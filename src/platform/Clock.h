#pragma once

// Monotonic time in seconds and sleeps. The program uses SystemClock; tests use FakeClock,
// whose time moves only when something waits on it, so long time-outs run at once.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double nowSeconds() = 0;
    virtual void sleepMs(int msecs) = 0;
};

class SystemClock : public Clock {
public:
    SystemClock();
    double nowSeconds() override;
    void sleepMs(int msecs) override;

private:
    long long start_ = 0;
};

class FakeClock : public Clock {
public:
    double nowSeconds() override { return now_; }
    void sleepMs(int msecs) override { now_ += msecs / 1000.0; }
    void advance(double seconds) { now_ += seconds; }
    void set(double seconds) { now_ = seconds; }

private:
    double now_ = 1000.0;
};
