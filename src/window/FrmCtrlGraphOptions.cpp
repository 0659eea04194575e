// The editing window's graph view options: magnitude or phase, the dB range of each graph,
// "Output" or "Output+Input" and the overlay of the other output; with them the axis captions
// beside the graphs, and the block diagram labels, whose clicks change nothing.
//
// None of these handlers waits for SuppressEvents: the whole-program load selects "Output" or
// "Output+Input" and ticks the overlay boxes, and their handlers then run. Those that hold
// EditBusy hold it by a scoped guard, so a load that holds it keeps it to its end.
#include "common/Index.h"
#include "graph/MarkerScale.h"
#include "params/EqSetters.h"
#include "window/FrmCtrl.h"
#include "window/WindowContext.h"

namespace {

bool ValidGraph(int g) {
    return g >= 0 && g < kGraphs;
}

constexpr int kDbCaptions = 7; // dB captions beside a graph, Label4 8g + 1 .. 8g + 7
constexpr int kPhaseCaptions = 9;

// The dB captions of each range, top to bottom; they fall on the grid's seven lines.
constexpr std::array<std::array<const char*, kDbCaptions>, kMagScaleChoices> kDbCaptionTexts{{
    {"+30", "+20", "+10", " 0", "-10", "-20", "-30"},
    {"+14", "+7", " 0", "-7", "-14", "-21", "-28"},
    {"+15", "+10", "+5", " 0", "-5", "-10", "-15"},
}};

} // namespace

void FrmCtrl::bindGraphOptionsPanel() {
    for (int g = 0; g < kGraphs; ++g) {
        Option2[U(g)].Click = [this, g] { Option2_Click(g); };
        Option5[U(g)].Click = [this, g] { Option5_Click(g); };
    }
    for (int i = 0; i < static_cast<int>(Option3.size()); ++i)
        Option3[U(i)].Click = [this, i] { Option3_Click(i); };
    for (int i = 0; i < static_cast<int>(Option4.size()); ++i)
        Option4[U(i)].Click = [this, i] { Option4_Click(i); };
    for (int k = 0; k < static_cast<int>(Check4.size()); ++k)
        Check4[U(k)].Click = [this, k] { Check4_Click(k); };
    for (int i = 0; i < static_cast<int>(Label100.size()); ++i)
        Label100[U(i)].Click = [this, i] { Label100_Click(i); };
    for (int i = 0; i < 2; ++i) {
        Label200[U(i)].Click = [this, i] { Label200_Click(i); };
        Label300[U(i)].Click = [this, i] { Label300_Click(i); };
        Label400[U(i)].Click = [this, i] { Label400_Click(i); };
    }
}

MagScale FrmCtrl::GainScale(int g) const {
    if (!ValidGraph(g)) return kFullMagScale;
    for (int c = 0; c < kMagScaleChoices; ++c)
        if (Option3[U(3 * g + c)].value()) return MagScaleOf(c);
    return kFullMagScale;
}

void FrmCtrl::LoadLabelGraph(int g) {
    if (!ValidGraph(g)) return;
    const bool mag = Option2[U(g)].value();
    // The frequency caption (Label4 8g) stays in both views.
    for (int i = 0; i < kPhaseCaptions; ++i)
        Label6[U(9 * g + i)].Visible = !mag;
    for (int i = 1; i <= kDbCaptions; ++i)
        Label4[U(8 * g + i)].Visible = mag;
    if (g == 0) return;
    const int k = g - 1;
    const int dev = st_.SlotTable[U(slot_)].Device;
    const bool secondModel = ValidBusAddress(dev) && st_.ModelCode[U(dev)] == 2;
    Check4[U(k)].Visible = mag && !secondModel;
    Option4[U(2 * k)].Visible = mag;
    Option4[U(2 * k + 1)].Visible = mag;
}

// "Mag" and "Phase" recompute the channel through its first band (and, on an output, through one
// of its crossover filters) in the view now chosen, then show the captions of that view. This
// window is made current first, so a click never redraws another window's graph.
void FrmCtrl::Option2_Click(int g) {
    if (!cx_ || !ValidGraph(g)) return;
    LoadCorrectWindow();
    cx_->graph.CalcBandGraph(ChannelFirstBand(g));
    if (g > 0) cx_->graph.CalcXoverGraph(g); // the first output's low-pass, the second's high-pass
    LoadLabelGraph(g);
}

void FrmCtrl::Option5_Click(int g) {
    Option2_Click(g);
}

void FrmCtrl::applyGainScale(int g, int choice) {
    const MagScale scale = MagScaleOf(choice);
    const auto& texts = kDbCaptionTexts[U(choice)];
    for (int i = 0; i < kDbCaptions; ++i)
        Label4[U(8 * g + 1 + i)].Caption = texts[U(i)];
    // The markers at their bands' gains on the new range, as the band setter places them.
    const int first = ChannelFirstBand(g);
    for (int b = first; b < first + ChannelBandCount(g); ++b)
        Label5[U(b)].Top = MarkerTopOfGain(EqGainOfSlider(Slider2[U(b)].value()), scale);
}

void FrmCtrl::Option3_Click(int i) {
    if (!cx_ || i < 0 || i >= static_cast<int>(Option3.size())) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    const int choice = i % kMagScaleChoices;
    if (i >= 2 * kMagScaleChoices) {
        // The second output's graph has a range of its own.
        applyGainScale(2, choice);
        cx_->graph.RedrawGraph(2);
        return;
    }
    // The input graph and the first output's graph share their range: the other one's option is
    // selected as well (its own click then runs once more with the same result).
    applyGainScale(0, choice);
    applyGainScale(1, choice);
    Option3[U(i < kMagScaleChoices ? i + kMagScaleChoices : i - kMagScaleChoices)].setValue(true);
    cx_->graph.RedrawGraph(0);
    cx_->graph.RedrawGraph(1);
}

void FrmCtrl::Option4_Click(int i) {
    if (!cx_ || i < 0 || i >= static_cast<int>(Option4.size())) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    SetViewOption(*cx_, i);
    cx_->graph.RedrawGraph(i / 2 + 1);
}

void FrmCtrl::Check4_Click(int k) {
    if (!cx_ || k < 0 || k >= static_cast<int>(Check4.size())) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    ApplyViewChannelCheck(*cx_, k);
}

void FrmCtrl::Label100_Click(int /*index*/) {}
void FrmCtrl::Label200_Click(int /*index*/) {}
void FrmCtrl::Label300_Click(int /*index*/) {}
void FrmCtrl::Label400_Click(int /*index*/) {}
