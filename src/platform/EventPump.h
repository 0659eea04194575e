#pragma once
#include <functional>

// Lets pending window events and timers run during a wait that allows them.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
    // Runs timers and painting but holds back the operator's input (keys, mouse), which stays
    // queued until events run in full again.
    virtual void processEventsExceptUserInput() = 0;
};

// Runs Qt's pending events of the calling thread.
class QtEventPump : public EventPump {
public:
    void processEvents() override;
    void processEventsExceptUserInput() override;
};

// For tests: counts the passes and runs an optional hook in each.
class CountingEventPump : public EventPump {
public:
    void processEvents() override;
    void processEventsExceptUserInput() override;
    int passes = 0;
    int passesWithUserInput = 0; // passes that let the operator's input through
    std::function<void()> hook;
};
