#include "window/CtrlWindowSlots.h"

#include <stdexcept>

FrmCtrl& CtrlWindowSlots::CtrlWindow(int slot) {
    if (slot < 0 || slot >= kWindowSlots) throw std::out_of_range("window slot outside 0..65");
    auto& w = windows_[static_cast<size_t>(slot)];
    if (!w) {
        w = std::make_unique<FrmCtrl>(st_, slot);
        w->setContext(cx_);
    }
    return *w;
}

FrmCtrl* CtrlWindowSlots::existing(int slot) const {
    if (slot < 0 || slot >= kWindowSlots) return nullptr;
    return windows_[static_cast<size_t>(slot)].get();
}

void CtrlWindowSlots::setContext(WindowContext* cx) {
    cx_ = cx;
    for (auto& w : windows_)
        if (w) w->setContext(cx);
}
