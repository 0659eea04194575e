// The editing window's delay and temperature handlers.
#include "params/Setters.h"
#include "window/FrmCtrl.h"
#include "window/WindowContext.h"

void FrmCtrl::Option1_Click(int index) {
    if (index != 0 && index != 1) return;
    switchFrame(true, [&] {
        if (SendDelayUnit(*cx_, index)) return;
        cx_->linked.LinkDelayUnit();
    });
}
