#include "graph/ModGraph.h"
#include "common/Index.h"

#include "window/CtrlWindowSlots.h"
#include "window/FrmCtrl.h"

namespace {
bool ValidPoint(int i) {
    return i >= 0 && i < kGraphPoints;
}
bool ValidGraph(int g) {
    return g >= 0 && g < kGraphChannels;
}
} // namespace

bool ModGraph::validSlot(int slot) const {
    return slot >= 0 && slot < kWindowSlots && ValidBusAddress(device(slot));
}

int ModGraph::device(int slot) const {
    return st_.SlotTable[U(slot)].Device;
}

bool ModGraph::magView(const FrmCtrl& w, int g) const {
    return w.Option2[U(g)].value();
}

void ModGraph::notify(FrmCtrl& w, int g) {
    if (w.Picture1[U(g)].Picture) w.Picture1[U(g)].Picture();
}

void ModGraph::clearGraph(int slot, FrmCtrl& w, int g) {
    if (!st_.Graph.Image.Loaded()) st_.Graph.Image.Form_Load(st_.Tables.PointsPerDecade);
    ClearGraph(w.Picture1[U(g)], st_.Graph.Image, magView(w, g), st_.Graph.Drawn(slot, g));
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
void ModGraph::drawOverlay(int slot, int g) {
    if (g == 0 || st_.OverlayOther[U(slot)][U(g - 1)] == 0) return;
    drawMag(slot, g == 1 ? 2 : 1, g, 0, kGraphPoints);
}

// Magnitude segments of channel ch ending at points from..to-1, into graph `pic` of the slot, on
// the dB range that graph's scale options show.
void ModGraph::drawMag(int slot, int ch, int pic, int from, int to) {
    if (st_.DrawSuspended == 1) return;
    const DeviceRec& rec = st_.DevRecs[U(device(slot))];
    const SlotResponse& r = st_.Graph.Slot(slot);
    PenPos& pen = st_.Graph.Pen(slot, pic);
    FrmCtrl& w = windows_.CtrlWindow(slot);
    const MagScale scale = w.GainScale(pic);
    GraphCanvas canvas(w.Picture1[U(pic)], st_.Graph.Drawn(slot, pic));
    const QRgb color = CurvePixel(CurveColor(ch));
    const auto& own = r.OutMag[U(ch)];
    const auto& input = r.OutMag[0];
    const float gain = rec.ChanGain[U(ch)];
    const float inputGain = rec.ChanGain[0];
    const bool addInput = ch >= 1 && st_.AddInputGain[U(slot)][U(ch - 1)] == 1;
    for (int i = from; i < to; ++i) {
        if (i == 0) GraphMoveTo(pen, kPenStartX, kPenStartY);
        const double y = addInput ? MagRowY(scale, {gain, own[U(i)], inputGain, input[U(i)]})
                                  : MagRowY(scale, {gain, own[U(i)]});
        canvas.LineTo(pen, i, PixelRow(y), color, kGraphPenWidth);
    }
}

// Phase segments of channel g ending at points from..to-1.
void ModGraph::drawPhase(int slot, int g, int from, int to) {
    if (st_.DrawSuspended == 1) return;
    const auto& phase = st_.Graph.Slot(slot).OutPhase[U(g)];
    PenPos& pen = st_.Graph.Pen(slot, g);
    GraphCanvas canvas(windows_.CtrlWindow(slot).Picture1[U(g)], st_.Graph.Drawn(slot, g));
    const QRgb color = CurvePixel(CurveColor(g));
    for (int i = from; i < to; ++i) {
        if (i == 0) GraphMoveTo(pen, kPenStartX, kPenStartY);
        canvas.LineTo(pen, i, PixelRow(PhaseRowY(phase[U(i)])), color, kGraphPenWidth);
    }
}

// Draws channel ch just summed: the magnitude curve, or in the phase view the sums shifted by
// the output's polarity and wrapped (kept so in the store), then their curve.
void ModGraph::finishChannel(int slot, FrmCtrl& w, int ch) {
    if (magView(w, ch)) {
        drawMag(slot, ch, ch, 0, kGraphPoints);
        return;
    }
    auto& phase = st_.Graph.Slot(slot).OutPhase[U(ch)];
    const bool inverted = ch >= 1 && w.Check2[U(ch)].value() == 1;
    for (double& p : phase) {
        if (inverted) p -= 180;
        NormPhase(p);
    }
    drawPhase(slot, ch, 0, kGraphPoints);
}

void ModGraph::CalcBandGraph(int slot, int band) {
    if (band < 0 || band >= kGraphBands || !validSlot(slot)) return;
    const int d = device(slot);
    const int g = BandChannel(band);
    FrmCtrl& w = windows_.CtrlWindow(slot);
    clearGraph(slot, w, g);
    if (magView(w, g)) drawOverlay(slot, g);

    const double density = st_.Tables.PointsPerDecade;
    SlotResponse& r = st_.Graph.Slot(slot);
    st_.Graph.UpdateDelayPhase(slot, g, st_.DelaySamples[U(d)][U(g)], density);
    const BandResponse resp(BandOf(d, band, w),
                            ShelfTables{st_.Tables.ShelfFactorA, st_.Tables.ShelfFactorB});
    resp.Sweep(st_.Graph.Frequencies(density), r.BandMag[U(band)], r.BandPhase[U(band)]);
    SumChannel(r, g, st_.EqBypass[U(d)][U(g)] != 0);
    finishChannel(slot, w, g);
    notify(w, g);
}

void ModGraph::CalcXoverGraph(int slot, int k) {
    if (k < 0 || k >= kGraphXovers || !validSlot(slot)) return;
    const int d = device(slot);
    const int ch = XoverChannel(k);
    FrmCtrl& w = windows_.CtrlWindow(slot);
    clearGraph(slot, w, ch);
    if (magView(w, ch)) drawOverlay(slot, ch);

    SlotResponse& r = st_.Graph.Slot(slot);
    const XoverResponse resp(k, XoverOf(d, k));
    resp.Sweep(st_.Graph.Frequencies(st_.Tables.PointsPerDecade), r.XoverMag[U(k)], r.XoverPhase[U(k)]);
    SumChannel(r, ch, st_.EqBypass[U(d)][U(ch)] != 0);
    finishChannel(slot, w, ch);
    notify(w, ch);
}

void ModGraph::RedrawGraph(int slot, int g) {
    if (!ValidGraph(g) || !validSlot(slot)) return;
    FrmCtrl& w = windows_.CtrlWindow(slot);
    clearGraph(slot, w, g);
    if (magView(w, g)) {
        drawOverlay(slot, g);
        drawMag(slot, g, g, 0, kGraphPoints);
    } else {
        drawPhase(slot, g, 0, kGraphPoints);
    }
    notify(w, g);
}

void ModGraph::DrawMagLine(int slot, int i, int g) {
    DrawMagOverlayLine(slot, i, g, g);
}

void ModGraph::DrawMagOverlayLine(int slot, int i, int ch, int pic) {
    if (!ValidPoint(i) || !ValidGraph(ch) || !ValidGraph(pic) || !validSlot(slot)) return;
    drawMag(slot, ch, pic, i, i + 1);
}

void ModGraph::DrawPhaseLine(int slot, int i, int g) {
    if (!ValidPoint(i) || !ValidGraph(g) || !validSlot(slot)) return;
    drawPhase(slot, g, i, i + 1);
}
