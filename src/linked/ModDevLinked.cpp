#include "linked/ModDevLinked.h"
#include "common/Index.h"

#include "common/Numbers.h"
#include "common/ScopedFlags.h"
#include "graph/MarkerScale.h"
#include "graph/ModGraph.h"
#include "params/EqSetters.h"
#include "params/Setters.h"
#include "window/CtrlWindowSlots.h"
#include "window/FrmCtrl.h"

namespace {
uint8_t byteOf(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}
// Device addresses of the delay unit and the temperature unit.
constexpr uint8_t kDelayUnitAddr = 18;
constexpr uint8_t kTempUnitAddr = 21;
constexpr int kInputBands = 5;
} // namespace

bool ModDevLinked::IsMember(int d) const {
    const int row = st_.ListedRow(d);
    return row >= 0 && st_.LinkOn[U(row)];
}

template <typename Step> void ModDevLinked::walk(Step step) {
    // A window load or a memory recall sets the current window's controls from its own device
    // with sending suspended; its handlers' calls here are no edit to repeat.
    if (st_.CommSuspended) return;
    if (!IsMember(st_.CurDevice())) return;
    for (int d = 0; d < kBusAddresses; ++d) {
        if (d == st_.CurDevice() || !IsMember(d) || st_.DevTable[U(d)].Present != 1) continue;
        if (!step(d)) return;
    }
}

bool ModDevLinked::send(int d, uint8_t cmd, const Data8& data) {
    return link_.SendFrame(d, cmd, data);
}

FrmCtrl& ModDevLinked::current() const {
    return windows_.CtrlWindow(st_.CurSlot);
}

FrmCtrl* ModDevLinked::openWindow(int d) const {
    if (!st_.DeviceWindowOpen[U(d)]) return nullptr;
    const int slot = st_.DeviceSlot[U(d)];
    FrmCtrl* w = windows_.existing(slot);
    // Only a loaded window that still shows d is written.
    if (!w || !w->loaded() || st_.SlotTable[U(slot)].Device != d) return nullptr;
    return w;
}

void ModDevLinked::showDelay(FrmCtrl& w, int d, int k) {
    const DelayReading r = ReadDelay(w.UpDown2[U(k)].value(), w.UpDown1[U(k)].value(),
                                     st_.DevTemperature[U(d)], st_.DevRecs[U(d)].DelayUnit);
    w.Text2[U(k)].Text = DelayFieldText(r, st_.Tables, st_.DecimalComma);
    st_.DelaySamples[U(d)][U(k)] = r.samples;
}

void ModDevLinked::showDelays(FrmCtrl& w, int d) {
    for (int k = 0; k < kChannels; ++k) {
        showDelay(w, d, k);
        if (k == 0) CalcLinkedBandGraph(0, w.slot());
    }
}

bool ModDevLinked::copyDelayUnit(int d) {
    const uint8_t unit = st_.DevProgs[U(st_.CurDevice())].Ext[kDelayUnitAddr];
    st_.DevProgs[U(d)].Ext[kDelayUnitAddr] = unit;
    st_.DevRecs[U(d)].DelayUnit = unit == 0 ? 0 : 1;
    return !send(d, CmdWriteByte, {0, kDelayUnitAddr, 0, 0, unit, 0, 0, 0});
}

// ---------------------------------------------------------------- scalar routines

void ModDevLinked::LinkGain(int ch) {
    if (ch != 0) return;
    const FrmCtrl& cur = current();
    const int v = cur.Slider1[0].value();
    const int base = st_.Tables.GainBase[0];
    walk([&](int d) {
        auto& p = st_.DevProgs[U(d)].Params;
        p[U(base + 1)] = byteOf(96 - v);
        if (send(d, CmdSetGain, {0, 0, 0, 0, 0, 0, p[U(base)], p[U(base + 1)]})) return false;
        if (FrmCtrl* w = openWindow(d)) {
            // A slider set from code runs no procedure: the member's own handler stays quiet.
            w->Slider1[0].setValue(v);
            const double db = (96 - v) / 2.0 - 36.0;
            w->Text1[0].Text = NumberText(db, st_.DecimalComma);
            st_.DevRecs[U(d)].ChanGain[0] =
                static_cast<float>(ParseNumber(cur.Text1[0].Text, st_.DecimalComma).value_or(db));
            RedrawLinkedGraph(0, w->slot());
        }
        return true;
    });
}

void ModDevLinked::LinkMute(int ch) {
    if (ch < 0 || ch >= kChannels) return;
    const int16_t muted = st_.DevRecs[U(st_.CurDevice())].Mute[U(ch)];
    walk([&](int d) {
        DeviceRec& r = st_.DevRecs[U(d)];
        r.Mute[U(ch)] = muted;
        // The member's mute byte from its own three flags: its other channels keep their state.
        const uint8_t bits =
            byteOf((r.Mute[0] == 1 ? 1 : 0) | (r.Mute[1] == 1 ? 2 : 0) | (r.Mute[2] == 1 ? 4 : 0));
        st_.DevProgs[U(d)].Params[U(st_.Tables.MuteAddr)] = bits;
        if (send(d, CmdSetMute, {byteOf(ch), 0, 0, 0, 0, 0, 0, bits})) return false;
        if (FrmCtrl* w = openWindow(d)) {
            CommandButton& b = w->Command4[U(ch)];
            const bool on = r.Mute[U(ch)] == 1;
            b.Caption = on ? "Muted" : "Mute";
            b.BackColor = on ? RGBValue(255, 0, 0) : kButtonFace;
        }
        return true;
    });
}

void ModDevLinked::LinkDynLoudness() {
    const FrmCtrl& cur = current();
    const int addr = st_.Tables.DlfAddr;
    const uint8_t value = st_.DevProgs[U(st_.CurDevice())].Params[U(addr)];
    walk([&](int d) {
        st_.DevProgs[U(d)].Params[U(addr)] = value;
        if (send(d, CmdSetLoudness, {0, 0, 0, 0, 0, 0, 0, value})) return false;
        if (FrmCtrl* w = openWindow(d)) {
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w->Check5.setValue(cur.Check5.value());
            }
            w->Shape4.FillColor = cur.Shape4.FillColor;
        }
        return true;
    });
}

void ModDevLinked::LinkTemperature() {
    const FrmCtrl& cur = current();
    const int cd = st_.CurDevice();
    walk([&](int d) {
        st_.DevTemperature[U(d)] = st_.DevTemperature[U(cd)];
        st_.DevRecs[U(d)].TempSlider = st_.DevRecs[U(cd)].TempSlider;
        const int t = st_.DevTemperature[U(d)];
        if (send(d, CmdSetTemperature, {0, 0, 0, 0, 0, 0, 0, byteOf(t + 20)})) return false;
        FrmCtrl* w = openWindow(d);
        if (!w) return true;
        {
            const auto quiet = RaiseSuppressEvents(st_);
            w->HScroll1.setValue(cur.HScroll1.value());
            w->Label13.Caption = st_.DevRecs[U(d)].TempUnit != 0
                                     ? st_.Tables.FahrenheitLabels[U(w->HScroll1.value())]
                                     : NumberText(t, st_.DecimalComma);
        }
        // The open member also takes the current device's delay unit, with its options showing
        // the unit its delay texts are now written in.
        if (!copyDelayUnit(d)) return false;
        {
            const auto quiet = RaiseSuppressEvents(st_);
            w->Option1[U(st_.DevRecs[U(d)].DelayUnit)].setValue(true);
        }
        showDelays(*w, d);
        return true;
    });
}

void ModDevLinked::LinkTempUnit() {
    const FrmCtrl& cur = current();
    const int16_t unit = st_.DevRecs[U(st_.CurDevice())].TempUnit;
    walk([&](int d) {
        st_.DevRecs[U(d)].TempUnit = unit;
        if (send(d, CmdWriteByte, {0, kTempUnitAddr, 0, 0, byteOf(unit), 0, 0, 0})) return false;
        if (FrmCtrl* w = openWindow(d)) {
            const auto quiet = RaiseSuppressEvents(st_);
            w->Option6[cur.Option6[1].value() ? 1 : 0].setValue(true);
            // The member keeps its own temperature: only the unit it is shown in changes.
            const int h = w->HScroll1.value();
            w->Label13.Caption =
                unit != 0 ? st_.Tables.FahrenheitLabels[U(h)] : NumberText(h - 20, st_.DecimalComma);
        }
        return true;
    });
}

void ModDevLinked::LinkDelayUnit() {
    const FrmCtrl& cur = current();
    walk([&](int d) {
        if (!copyDelayUnit(d)) return false;
        if (FrmCtrl* w = openWindow(d)) {
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w->Option1[cur.Option1[1].value() ? 1 : 0].setValue(true);
            }
            showDelays(*w, d);
        }
        return true;
    });
}

void ModDevLinked::LinkDelay(int ch) {
    if (ch != 0) return;
    const FrmCtrl& cur = current();
    const int base = st_.Tables.DelayBase[0];
    const auto& src = st_.DevProgs[U(st_.CurDevice())].Params;
    walk([&](int d) {
        auto& p = st_.DevProgs[U(d)].Params;
        for (int i = base; i < base + 3; ++i)
            p[U(i)] = src[U(i)];
        if (send(d, CmdSetDelay, {0, 0, 0, 0, 0, p[U(base)], p[U(base + 1)], p[U(base + 2)]})) return false;
        if (FrmCtrl* w = openWindow(d)) {
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w->UpDown2[0].setValue(cur.UpDown2[0].value());
                w->UpDown1[0].setValue(cur.UpDown1[0].value());
            }
            showDelay(*w, d, 0);
            DeviceRec& r = st_.DevRecs[U(d)];
            r.DelayCoarse[0] = w->UpDown2[0].value();
            r.DelayFine[0] = w->UpDown1[0].value();
            CalcLinkedBandGraph(0, w->slot());
        }
        return true;
    });
}

// ---------------------------------------------------------------- equaliser routines

bool ModDevLinked::copyBand(int d, int b) {
    const int cd = st_.CurDevice();
    const size_t i = U(b);
    const DeviceRec& from = st_.DevRecs[U(cd)];
    DeviceRec& to = st_.DevRecs[U(d)];
    to.BandFreq[i] = from.BandFreq[i];
    to.BandOff[i] = from.BandOff[i];
    to.BandGain[i] = from.BandGain[i];
    to.BandQ[i] = from.BandQ[i];
    // The member's mask from its own five flags: its other bands keep their state.
    int mask = 0;
    for (int j = 0; j < kInputBands; ++j)
        if (to.BandOff[U(j)] != 0.0f) mask |= 1 << j;
    auto& p = st_.DevProgs[U(d)].Params;
    const int maskAddr = st_.Tables.BandMaskAddr[0];
    p[U(maskAddr)] = byteOf(mask);
    st_.BandType[U(d)][i] = st_.BandType[U(cd)][i];
    const int base = st_.Tables.BandBase[i];
    const auto& src = st_.DevProgs[U(cd)].Params;
    for (int k = base; k < base + 5; ++k)
        p[U(k)] = src[U(k)];
    return !send(d, CmdSetEqBand,
                 {0, byteOf(b), p[U(maskAddr)], p[U(base)], p[U(base + 1)], p[U(base + 2)], p[U(base + 3)],
                  p[U(base + 4)]});
}

void ModDevLinked::showBand(FrmCtrl& w, int d, int b) {
    const FrmCtrl& cur = current();
    const size_t i = U(b);
    {
        // The member's band handlers stay quiet while its steppers move.
        const auto quiet = RaiseSuppressEvents(st_);
        w.Slider2[i].setValue(cur.Slider2[i].value());
        w.UpDown3[i].setValue(cur.UpDown3[i].value());
        w.Text4[i].Text = cur.Text4[i].Text;
        w.Text9[i].Text = cur.Text9[i].Text;
        w.UpDown4[i].setValue(cur.UpDown4[i].value());
        w.Text5[i].Text = cur.Text5[i].Text;
        w.Text50[i].Text = cur.Text50[i].Text;
        w.Command10[i].Caption = cur.Command10[i].Caption;
        // The marker at the band's gain on the dB range of the member's own input graph, which
        // need not be the current window's.
        w.Label5[i].Top = MarkerTopOfGain(EqGainOfSlider(w.Slider2[i].value()), w.GainScale(0));
        w.Label5[i].Left = cur.Label5[i].Left;
        // The band's own off flag decides, not the member's channel bypass; the same rule as
        // the band setter's, so the member enables what the current window enables.
        ShowBandControlStates(w, b, st_.DevRecs[U(d)].BandOff[i] != 0.0f, st_.BandType[U(d)][i]);
    }
    CalcLinkedBandGraph(b, w.slot());
}

void ModDevLinked::LinkEqBand(int b) {
    if (b < 0 || b >= kInputBands) return;
    walk([&](int d) {
        if (!copyBand(d, b)) return false;
        if (FrmCtrl* w = openWindow(d)) showBand(*w, d, b);
        return true;
    });
}

void ModDevLinked::LinkEqFlat(int ch) {
    if (ch != 0) return;
    walk([&](int d) {
        // The whole input equaliser, band by band: a failed send leaves the later bands alone.
        for (int b = 0; b < kInputBands; ++b)
            if (!copyBand(d, b)) return false;
        if (FrmCtrl* w = openWindow(d))
            for (int b = 0; b < kInputBands; ++b)
                showBand(*w, d, b);
        return true;
    });
}

void ModDevLinked::LinkEqBypass(int ch) {
    if (ch != 0) return;
    const int16_t bypass = st_.EqBypass[U(st_.CurDevice())][0];
    const int addr = st_.Tables.EqBypassAddr[0];
    walk([&](int d) {
        st_.EqBypass[U(d)][0] = bypass;
        auto& p = st_.DevProgs[U(d)].Params;
        p[U(addr)] = byteOf(bypass);
        if (send(d, CmdSetEqBypass, {0, 0, 0, 0, 0, 0, 0, p[U(addr)]})) return false;
        if (FrmCtrl* w = openWindow(d)) {
            const bool bypassed = st_.EqBypass[U(d)][0] == 1;
            ShowEqBypassControls(*w, 0, bypassed);
            // A bypassed equaliser's bands do not count: one computation refreshes the curve.
            if (bypassed) {
                CalcLinkedBandGraph(0, w->slot());
            } else {
                for (int b = 0; b < kInputBands; ++b)
                    CalcLinkedBandGraph(b, w->slot());
            }
        }
        return true;
    });
}

// ---------------------------------------------------------------- linked window graph

void ModDevLinked::CalcLinkedBandGraph(int b, int w) {
    // The input graph reads no output view switch and has no overlay: the window's own band
    // computation serves the member's window as it serves the current one.
    if (b < 0 || b >= kInputBands) return;
    graph_.CalcBandGraph(w, b);
}

void ModDevLinked::RedrawLinkedGraph(int g, int w) {
    if (g != 0) return;
    graph_.RedrawGraph(w, g);
}
