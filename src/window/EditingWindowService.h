#pragma once
// The editing windows as the device list and the serial link see them: showing the window of a
// slot the list has bound, and closing a device's window when the link gives the device up.
#include "bus/FrmSearchNet.h"
#include "window/CtrlWindowSlots.h"

#include <functional>

class EditingWindowService : public EditingWindowOpener {
  public:
    explicit EditingWindowService(AppState& st, CtrlWindowSlots& windows) : st_(st), windows_(windows) {}

    // Creates the slot's window object when the slot holds none (else reuses it), runs its load
    // and shows it. False when the load refused the slot; true also when the link closed the
    // window during its load (the close freed the slot).
    bool ShowEditingWindow(int slot) override;
    // Closes the window open for the device without asking: hidden and unbound, the object kept,
    // so that a procedure of that window still running finds it. The current slot is kept.
    void CloseDeviceWindow(int busAddress) override;
    // Brings the window open for the device to the front (through Shown).
    void RaiseDeviceWindow(int busAddress) override;

    // The window of a slot, when it is open.
    FrmCtrl* openWindow(int slot) const;

    // Run after a window was loaded or asked to the front (show and raise its view) and after one
    // was closed (hide its view).
    std::function<void(FrmCtrl&)> Shown;
    std::function<void(FrmCtrl&)> Closed;

  private:
    AppState& st_;
    CtrlWindowSlots& windows_;
};
