#include "graph/ModGraph.h"

#include "window/CtrlWindows.h"
#include "window/FrmCtrl.h"

namespace {
bool ValidPoint(int i) {
    return i >= 0 && i < kGraphPoints;
}
bool ValidGraph(int g) {
    return g >= 0 && g < kGraphChannels;
}
size_t U(int v) {
    return static_cast<size_t>(v);
}
} // namespace

bool ModGraph::currentValid() const {
    return st_.CurSlot >= 0 && st_.CurSlot < kWindowSlots && ValidBusAddress(st_.CurDevice());
}

FrmCtrl& ModGraph::window() {
    return windows_.CtrlWindow(st_.CurSlot);
}

int ModGraph::device() const {
    return st_.CurDevice();
}

bool ModGraph::magView(const FrmCtrl& w, int g) const {
    return w.Option2[U(g)].value();
}

void ModGraph::notify(FrmCtrl& w, int g) {
    if (w.Picture1[U(g)].Picture) w.Picture1[U(g)].Picture();
}

void ModGraph::clearGraph(FrmCtrl& w, int g) {
    if (!st_.Graph.Image.Loaded()) st_.Graph.Image.Form_Load(st_.Tables.PointsPerDecade);
    ClearGraph(w.Picture1[U(g)], st_.Graph.Image, magView(w, g));
}

BandSettings ModGraph::BandOf(int dev, int band, const FrmCtrl& w) const {
    const DeviceRec& rec = st_.DevRecs[U(dev)];
    BandSettings b;
    b.Type = st_.BandType[U(dev)][U(band)];
    b.Gain = rec.BandGain[U(band)];
    b.Freq = rec.BandFreq[U(band)];
    b.Q = rec.BandQ[U(band)];
    b.Off = rec.BandOff[U(band)];
    b.GainSlider = w.Slider2[U(band)].value();
    return b;
}

XoverSettings ModGraph::XoverOf(int dev, int k) const {
    const DeviceRec& rec = st_.DevRecs[U(dev)];
    XoverSettings x;
    x.Type = XoverTypeCode(rec.XoverType[U(k)]);
    x.F = {rec.XoverF1[U(k)], rec.XoverF2[U(k)], rec.XoverF3[U(k)], rec.XoverF4[U(k)]};
    x.Q = {rec.XoverQ1[U(k)], rec.XoverQ2[U(k)], rec.XoverQ3[U(k)], rec.XoverQ4[U(k)]};
    return x;
}

// The other output's magnitude curve drawn under an output's own curve, when switched on.
void ModGraph::drawOverlay(int g) {
    if (g == 0 || st_.OverlayOther[U(g - 1)] == 0) return;
    const int other = g == 1 ? 2 : 1;
    for (int i = 0; i < kGraphPoints; ++i)
        DrawMagOverlayLine(i, other, g);
}

// Draws point i of channel ch just summed: the magnitude segment, or in the phase view the sum
// shifted by the output's polarity and wrapped (kept so in the store), then its segment.
void ModGraph::finishPoint(FrmCtrl& w, SlotResponse& r, int ch, int i) {
    if (magView(w, ch)) {
        DrawMagLine(i, ch);
        return;
    }
    double& phase = r.OutPhase[U(ch)][U(i)];
    if (ch >= 1 && w.Check2[U(ch)].value() == 1) phase -= 180;
    NormPhase(phase);
    DrawPhaseLine(i, ch);
}

void ModGraph::CalcBandGraph(int band) {
    if (band < 0 || band >= kGraphBands || !currentValid()) return;
    const int s = st_.CurSlot;
    const int d = device();
    const int g = ChannelOfBand(band);
    FrmCtrl& w = window();
    clearGraph(w, g);
    if (magView(w, g)) drawOverlay(g);

    const BandResponse resp(BandOf(d, band, w),
                            ShelfTables{st_.Tables.ShelfFactorA, st_.Tables.ShelfFactorB});
    const auto& freq = st_.Graph.Frequencies(st_.Tables.PointsPerDecade);
    const int32_t delay = st_.DelaySamples[U(d)][U(g)];
    const bool bypassed = st_.EqBypass[U(d)][U(g)] != 0;
    SlotResponse& r = st_.Graph.Slot(s);
    for (int i = 0; i < kGraphPoints; ++i) {
        const double f = freq[U(i)];
        r.DelayPhase[U(g)][U(i)] = DelayPhaseAt(f, delay);
        const StagePoint p = resp.At(f);
        r.BandMag[U(band)][U(i)] = static_cast<float>(p.Mag);
        r.BandPhase[U(band)][U(i)] = p.Phase;
        SumChannelPoint(r, g, i, bypassed);
        finishPoint(w, r, g, i);
    }
    notify(w, g);
}

void ModGraph::CalcXoverGraph(int k) {
    if (k < 0 || k >= kGraphXovers || !currentValid()) return;
    const int s = st_.CurSlot;
    const int d = device();
    const int ch = ChannelOfXover(k);
    FrmCtrl& w = window();
    const XoverResponse resp(k, XoverOf(d, k));
    const auto& freq = st_.Graph.Frequencies(st_.Tables.PointsPerDecade);
    clearGraph(w, ch);
    if (magView(w, ch)) drawOverlay(ch);

    const bool bypassed = st_.EqBypass[U(d)][U(ch)] != 0;
    SlotResponse& r = st_.Graph.Slot(s);
    for (int i = 0; i < kGraphPoints; ++i) {
        const XoverPoint p = resp.At(freq[U(i)]);
        r.XoverMag[U(k)][U(i)] = p.Mag;
        r.XoverPhase[U(k)][U(i)] = p.Phase;
        SumChannelPoint(r, ch, i, bypassed);
        finishPoint(w, r, ch, i);
    }
    notify(w, ch);
}

void ModGraph::RedrawGraph(int g) {
    if (!ValidGraph(g) || !currentValid()) return;
    FrmCtrl& w = window();
    clearGraph(w, g);
    const bool mag = magView(w, g);
    if (mag) drawOverlay(g);
    for (int i = 0; i < kGraphPoints; ++i) {
        if (mag)
            DrawMagLine(i, g);
        else
            DrawPhaseLine(i, g);
    }
    notify(w, g);
}

void ModGraph::DrawMagLine(int i, int g) {
    DrawMagOverlayLine(i, g, g);
}

void ModGraph::DrawMagOverlayLine(int i, int ch, int pic) {
    if (st_.DrawSuspended == 1) return;
    if (!ValidPoint(i) || !ValidGraph(ch) || !ValidGraph(pic) || !currentValid()) return;
    const int s = st_.CurSlot;
    const DeviceRec& rec = st_.DevRecs[U(device())];
    PenPos& pen = st_.Graph.Pen(s, pic);
    if (i == 0) GraphMoveTo(pen, kPenStartX, kPenStartY);
    const SlotResponse& r = st_.Graph.Slot(s);
    const float own = r.OutMag[U(ch)][U(i)];
    double y;
    if (ch >= 1 && st_.AddInputGain[U(ch - 1)] == 1)
        y = MagRowY({rec.ChanGain[U(ch)], own, rec.ChanGain[0], r.OutMag[0][U(i)]});
    else
        y = MagRowY({rec.ChanGain[U(ch)], own});
    GraphLineTo(window().Picture1[U(pic)], pen, i, PixelRow(y), CurveColor(ch), kGraphPenWidth);
}

void ModGraph::DrawPhaseLine(int i, int g) {
    if (st_.DrawSuspended == 1) return;
    if (!ValidPoint(i) || !ValidGraph(g) || !currentValid()) return;
    const int s = st_.CurSlot;
    PenPos& pen = st_.Graph.Pen(s, g);
    if (i == 0) GraphMoveTo(pen, kPenStartX, kPenStartY);
    const double y = PhaseRowY(st_.Graph.Slot(s).OutPhase[U(g)][U(i)]);
    GraphLineTo(window().Picture1[U(g)], pen, i, PixelRow(y), CurveColor(g), kGraphPenWidth);
}
