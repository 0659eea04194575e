// The editing window's utilities: the unit lock.
#include "params/Setters.h"
#include "window/FrmCtrl.h"
#include "window/WindowContext.h"

void FrmCtrl::Check10_Click() {
    switchFrame(true, [&] {
        const int dev = st_.CurDevice();
        if (!ValidBusAddress(dev)) return;
        const uint8_t lock = Check10.value() == 1 ? 1 : 0;
        st_.DevRecs[static_cast<size_t>(dev)].UnitLock = lock;
        st_.DevProgs[static_cast<size_t>(dev)].Ext[23] = lock;
        if (cx_->link.SendFrame(dev, CmdWriteByte, Data8{0, 23, 0, 0, lock, 0, 0, 0})) return;
        ApplyLockState(*cx_);
    });
}
