#pragma once
#include <functional>

// Lets pending window events and timers run during a wait that allows them.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

// Runs Qt's pending events of the calling thread.
class QtEventPump : public EventPump {
public:
    void processEvents() override;
};

// For tests: counts the passes and runs an optional hook in each.
class CountingEventPump : public EventPump {
public:
    void processEvents() override;
    int passes = 0;
    std::function<void()> hook;
};
