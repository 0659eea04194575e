#pragma once
#include <vector>

// The busy pointer over every window of the program, shown while a long wait holds the windows.
class BusyPointer {
  public:
    virtual ~BusyPointer() = default;
    // Shows the busy pointer (true) or the usual one again (false); repeating a state does nothing.
    virtual void setBusy(bool busy) = 0;
};

// Overrides the pointer of every window of the application.
class QtBusyPointer : public BusyPointer {
  public:
    ~QtBusyPointer() override { setBusy(false); }
    void setBusy(bool busy) override;

  private:
    bool busy_ = false;
};

// For tests: holds the state and every change.
class RecordingBusyPointer : public BusyPointer {
  public:
    void setBusy(bool b) override {
        if (b == busy) return;
        busy = b;
        changes.push_back(b);
    }
    bool busy = false;
    std::vector<bool> changes;
};
