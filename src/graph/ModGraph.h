#pragma once
// The response graph of an editing window slot: recomputes a band or crossover filter over the
// 576-point grid, rebuilds its channel's sum and draws the curve into that window's graph
// picture. Every routine takes the slot it works for; the handlers' current-window forms pass
// the current slot. The store lives in AppState::Graph, each slot's view switches in AddInputGain
// and OverlayOther, each graph's magnitude or phase view and dB range in its window's options;
// this class holds nothing of its own and can be made wherever the state and the windows are at
// hand.
//
// The input graph (bands 0..4, graph 0) reads neither the output view switches nor a polarity
// box, so these routines serve a linked device's open window as they serve the current one.
#include "common/AppState.h"
#include "graph/GraphDraw.h"
#include "graph/GraphMath.h"

class CtrlWindowSlots;
class FrmCtrl;

class ModGraph {
  public:
    ModGraph(AppState& st, CtrlWindowSlots& windows) : st_(st), windows_(windows) {}

    // The program-wide state the graph works on.
    AppState& State() const { return st_; }

    // Recomputes band b (0..18) of the device shown in window slot `slot`, the delay phase and
    // the sum of its channel, and redraws that channel's graph.
    void CalcBandGraph(int slot, int band);
    // Recomputes crossover filter k (0..3), the sum of its output and redraws that output's graph.
    void CalcXoverGraph(int slot, int k);
    // Clears graph g (0..2) and draws it again from the stored sums.
    void RedrawGraph(int slot, int g);

    // Magnitude segment of channel g ending at point i, into graph g.
    void DrawMagLine(int slot, int i, int g);
    // Magnitude segment of channel ch ending at point i, into graph `pic` (colour and gain of ch).
    void DrawMagOverlayLine(int slot, int i, int ch, int pic);
    // Phase segment of channel g ending at point i.
    void DrawPhaseLine(int slot, int i, int g);

    // The band and crossover settings as the computations read them from the window's device.
    BandSettings BandOf(int dev, int band, const FrmCtrl& w) const;
    XoverSettings XoverOf(int dev, int k) const;

  private:
    bool validSlot(int slot) const;
    int device(int slot) const;
    void clearGraph(int slot, FrmCtrl& w, int g);
    bool magView(const FrmCtrl& w, int g) const;
    void drawOverlay(int slot, int g);
    void drawMag(int slot, int ch, int pic, int from, int to);
    void drawPhase(int slot, int g, int from, int to);
    void finishChannel(int slot, FrmCtrl& w, int ch);
    void notify(FrmCtrl& w, int g);

    AppState& st_;
    CtrlWindowSlots& windows_;
};
