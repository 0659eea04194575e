#pragma once
// The program's link routines: an edit made in the window of a device of the link group is
// repeated on every other linked device that answered the scan, in ascending bus address order.
// Each member gets the edited value copied into its program image and records and the same
// command frame; when its own editing window is open, that window's controls and input graph
// follow.
//
// A member is a device whose device-list row has its "Link" cell set. Nothing is repeated while
// sending is suspended (a window load or a memory recall fills the current window from its
// device's own program: that is no edit). In demo mode nothing is sent, but images, records and
// open windows of the members follow as they would with devices attached.
#include "common/AppState.h"
#include "link/Link.h"
#include "linked/LinkedRoutines.h"

class CtrlWindowSlots;
class FrmCtrl;
class ModGraph;

class ModDevLinked final : public LinkedRoutines {
  public:
    ModDevLinked(AppState& st, Link& link, CtrlWindowSlots& windows, ModGraph& graph)
        : st_(st), link_(link), windows_(windows), graph_(graph) {}

    // ---- Equaliser: the input's bands 0..4 and its bypass only ----
    void LinkEqBand(int b) override;
    void LinkEqFlat(int ch) override;
    void LinkEqBypass(int ch) override;

    // ---- Scalar parameters ----
    void LinkGain(int ch) override;
    void LinkMute(int ch) override;
    void LinkDynLoudness() override;
    void LinkDelay(int ch) override;
    void LinkDelayUnit() override;
    void LinkTemperature() override;
    void LinkTempUnit() override;

    // ---- Input graph of a member's open window in slot w ----
    // Recomputes input band b (0..4) with the delay phase and the input sum, and redraws the
    // input graph; a band of an output (5 or more) changes nothing.
    void CalcLinkedBandGraph(int b, int w);
    // Redraws the input graph (g = 0) from the stored sums; other graphs are left alone.
    void RedrawLinkedGraph(int g, int w);

    // True when bus address d is in the link group.
    bool IsMember(int d) const;

  private:
    // Runs `step` for every other present member, in ascending order, while the current device
    // is a member itself; `step` returns false when its send failed and was reported, which ends
    // the walk.
    template <typename Step> void walk(Step step);
    bool send(int d, uint8_t cmd, const Data8& data);
    // The open editing window of device d, or nullptr.
    FrmCtrl* openWindow(int d) const;
    FrmCtrl& current() const;
    // Writes channel k's delay field and delay in samples of device d's window w.
    void showDelay(FrmCtrl& w, int d, int k);
    // The delay-unit byte of the current device into d: image, record and frame. False when the
    // send failed and was reported.
    bool copyDelayUnit(int d);
    // Writes all three delay fields of d's window, redrawing its input graph after channel 0.
    void showDelays(FrmCtrl& w, int d);
    // Input band b of the current device into d: records, type, mask and band bytes, then the
    // band frame. False when the send failed and was reported.
    bool copyBand(int d, int b);
    // d's window w shows input band b as the current window does, enabled by d's own band, and
    // its input graph is recomputed for the band.
    void showBand(FrmCtrl& w, int d, int b);

    AppState& st_;
    Link& link_;
    CtrlWindowSlots& windows_;
    ModGraph& graph_;
};
