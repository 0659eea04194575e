#pragma once
// The name the response graph code still gives the editing windows' slots (it takes a
// `CtrlWindows&`). Only that code and its tests use it; it goes once they name CtrlWindowSlots.
#include "window/CtrlWindowSlots.h"

class CtrlWindows : public CtrlWindowSlots {
  public:
    using CtrlWindowSlots::CtrlWindowSlots;
};
