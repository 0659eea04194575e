#pragma once
// Scoped raising of the program-wide flags that a procedure raises for part of its run. The
// guard raises the flag and, when it goes out of scope (also on an early return), puts back the
// value it found, so that a procedure called while the flag is already raised by its caller does
// not lower it under the caller's feet.
#include "common/AppState.h"

template <typename T> class [[nodiscard]] ScopedValue {
  public:
    ScopedValue(T& flag, T raised) : flag_(flag), found_(flag) { flag_ = raised; }
    ~ScopedValue() { flag_ = found_; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

  private:
    T& flag_;
    T found_;
};

// Code is setting controls itself: the controls' procedures return at once.
[[nodiscard]] inline ScopedValue<bool> RaiseSuppressEvents(AppState& st) {
    return {st.SuppressEvents, true};
}
// An edit handler is talking to the device: the meter poll keeps off the line.
[[nodiscard]] inline ScopedValue<bool> RaiseEditBusy(AppState& st) {
    return {st.EditBusy, true};
}
// The graph line routines draw nothing.
[[nodiscard]] inline ScopedValue<int16_t> RaiseDrawSuspended(AppState& st) {
    return {st.DrawSuspended, int16_t{1}};
}
// Every send returns at once without sending.
[[nodiscard]] inline ScopedValue<bool> RaiseCommSuspended(AppState& st) {
    return {st.CommSuspended, true};
}
