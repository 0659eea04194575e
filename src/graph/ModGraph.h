#pragma once
// The response graph of the current editing window (CurSlot): recomputes a band or crossover
// filter over the 576-point grid, rebuilds its channel's sum point by point and draws the curve
// into the window's graph picture. The store lives in AppState::Graph, the view switches in
// AddInputGain and OverlayOther; this class holds nothing of its own and can be made wherever the
// state and the windows are at hand.
#include "common/AppState.h"
#include "graph/GraphDraw.h"
#include "graph/GraphMath.h"

class CtrlWindows;
class FrmCtrl;

class ModGraph {
  public:
    ModGraph(AppState& st, CtrlWindows& windows) : st_(st), windows_(windows) {}

    // Recomputes band b (0..18) of the current window's device, the delay phase and the sum of
    // its channel, and redraws that channel's graph.
    void CalcBandGraph(int band);
    // Recomputes crossover filter k (0..3), the sum of its output and redraws that output's graph.
    void CalcXoverGraph(int k);
    // Clears graph g (0..2) and draws it again from the stored sums.
    void RedrawGraph(int g);

    // Magnitude segment of channel g ending at point i, into graph g.
    void DrawMagLine(int i, int g);
    // Magnitude segment of channel ch ending at point i, into graph `pic` (colour and gain of ch).
    void DrawMagOverlayLine(int i, int ch, int pic);
    // Phase segment of channel g ending at point i.
    void DrawPhaseLine(int i, int g);

    // The band and crossover settings as the computations read them from the window's device.
    BandSettings BandOf(int dev, int band, const FrmCtrl& w) const;
    XoverSettings XoverOf(int dev, int k) const;

  private:
    bool currentValid() const;
    FrmCtrl& window();
    int device() const;
    void clearGraph(FrmCtrl& w, int g);
    bool magView(const FrmCtrl& w, int g) const;
    void drawOverlay(int g);
    void finishPoint(FrmCtrl& w, SlotResponse& r, int ch, int i);
    void notify(FrmCtrl& w, int g);

    AppState& st_;
    CtrlWindows& windows_;
};
