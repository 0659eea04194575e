#include "window/EditingWindowService.h"

bool EditingWindowService::ShowEditingWindow(int slot) {
    if (slot < 0 || slot >= kWindowSlots) return false;
    FrmCtrl& w = windows_.CtrlWindow(slot);
    if (!w.Form_Load()) return false;
    // A window that the link closed during its load has freed its slot itself.
    if (!w.loaded()) return true;
    w.Visible = true;
    if (Shown) Shown(w);
    return true;
}

void EditingWindowService::CloseDeviceWindow(int busAddress) {
    if (!ValidBusAddress(busAddress) || !st_.DeviceWindowOpen[static_cast<size_t>(busAddress)]) return;
    const int slot = st_.DeviceSlot[static_cast<size_t>(busAddress)];
    FrmCtrl* w = openWindow(slot);
    // Only the window that shows this very device is closed.
    if (!w || st_.SlotTable[static_cast<size_t>(slot)].Device != busAddress) return;
    const int16_t current = st_.CurSlot;
    w->CloseSilently();
    st_.CurSlot = current;
    if (Closed) Closed(*w);
}

void EditingWindowService::RaiseDeviceWindow(int busAddress) {
    if (!ValidBusAddress(busAddress) || !st_.DeviceWindowOpen[static_cast<size_t>(busAddress)]) return;
    const int slot = st_.DeviceSlot[static_cast<size_t>(busAddress)];
    FrmCtrl* w = openWindow(slot);
    if (w && st_.SlotTable[static_cast<size_t>(slot)].Device == busAddress && Shown) Shown(*w);
}

FrmCtrl* EditingWindowService::openWindow(int slot) const {
    FrmCtrl* w = windows_.existing(slot);
    return w && w->loaded() ? w : nullptr;
}
