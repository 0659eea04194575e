#pragma once
// The editing windows by window slot: one FrmCtrl per slot 0..65, created on first use and kept
// for the whole run, so that a slot's window object is reused after its window closed.
#include "common/AppState.h"
#include "window/FrmCtrl.h"

#include <array>
#include <memory>

class CtrlWindowSlots {
  public:
    explicit CtrlWindowSlots(AppState& st) : st_(st) {}

    // What the windows' procedures work with; handed to every window, present and future.
    void setContext(WindowContext* cx);

    // The window object of slot s (0..65), created when the slot holds none yet.
    FrmCtrl& CtrlWindow(int slot);
    // The window object of slot s when one was created, else nullptr (also for a slot outside 0..65).
    FrmCtrl* existing(int slot) const;
    // The window of the current slot (CurSlot), created when needed.
    FrmCtrl& current() { return CtrlWindow(st_.CurSlot); }

  private:
    AppState& st_;
    WindowContext* cx_ = nullptr;
    std::array<std::unique_ptr<FrmCtrl>, kWindowSlots> windows_;
};
