#pragma once
// An editing window on slot 0 bound to a simulated device, with the graph and link routines
// recorded, for the equaliser, crossover and whole-program tests.
#include "params/EqSetters.h"
#include "support/RecordingFakes.h"
#include "support/SimEnv.h"
#include "window/EditingWindowParts.h"

#include <string>
#include <vector>

struct EqTestEnv : SimEnv {
    static constexpr int kDev = 5;
    RecordingGraph graph;
    RecordingLinked linked;
    EditingWindowParts parts{st, link, sv, linked, &graph};
    CtrlWindowSlots& windows = parts.windows;
    WindowContext& ctx = parts.context;
    SimDevice* device = nullptr;

    EqTestEnv() {
        graph.st = &st;
        device = &bus.addDevice(kDev);
        st.SlotTable[0] = {-1, kDev, 0};
        st.CurSlot = 0;
        st.DeviceSlot[kDev] = 0;
        st.DeviceWindowOpen[kDev] = true;
    }
    FrmCtrl& w() { return windows.CtrlWindow(0); }
    ProgRecord& img() { return st.DevProgs[kDev]; }
    DeviceRec& rec() { return st.DevRecs[kDev]; }
    // Frames the device received, from index `from` on.
    std::vector<Frame13> sent(size_t from = 0) const {
        return {bus.frames.begin() + static_cast<long>(std::min(from, bus.frames.size())), bus.frames.end()};
    }
};
