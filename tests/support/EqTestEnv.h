#pragma once
// An editing window on slot 0 bound to a simulated device, with the graph and link routines
// recorded, for the equaliser, crossover and whole-program tests.
#include "params/EqSetters.h"
#include "support/SimEnv.h"

#include <string>
#include <vector>

struct RecordingGraph : ResponseGraph {
    std::vector<std::string> calls; // "band 7", "xover 2", "redraw 1"
    std::vector<int16_t> drawSuspendedAtCall;
    const AppState* st = nullptr;

    void note(std::string s) {
        calls.push_back(std::move(s));
        drawSuspendedAtCall.push_back(st ? st->DrawSuspended : 0);
    }
    void CalcBandGraph(int b) override { note("band " + std::to_string(b)); }
    void CalcXoverGraph(int k) override { note("xover " + std::to_string(k)); }
    void RedrawGraph(int g) override { note("redraw " + std::to_string(g)); }
};

struct RecordingLinked : LinkedRoutines {
    std::vector<std::string> calls;
    void LinkEqBand(int b) override { calls.push_back("eqband " + std::to_string(b)); }
    void LinkDelayUnit() override { calls.push_back("delayunit"); }
};

struct EqTestEnv : SimEnv {
    static constexpr int kDev = 5;
    CtrlWindows windows{st};
    RecordingGraph graph;
    RecordingLinked linked;
    EqContext ctx{{st, link, windows}, msg, graph, linked};
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
