// The editing window's equaliser handlers: per band the bypass and type buttons, the gain slider
// and text, the frequency and Q steppers and texts and the marker on the graph; per channel
// "EQ Flat", the equaliser bypass and the cursor box.
//
// A handler whose setter reports a failed send stops at once: the link has told the operator and
// closed the window, so nothing is redrawn, repeated on linked devices or written to controls.
#include "common/Index.h"
#include "common/Numbers.h"
#include "graph/MarkerScale.h"
#include "params/EqSetters.h"
#include "params/ValueGrids.h"
#include "window/FrmCtrl.h"
#include "window/FrmSelFilter.h"
#include "window/NumberEntry.h"
#include "window/WindowContext.h"

#include <algorithm>
#include <cmath>

namespace {
bool ValidChannel(int ch) {
    return ch >= 0 && ch < kChannels;
}
bool ValidBand(int b) {
    return b >= 0 && b < kBands;
}
constexpr int kMinFreq = 20;
constexpr int kMaxFreq = 20000;
constexpr int kPointerBusy = 13; // arrow and hourglass
} // namespace

void FrmCtrl::bindEqualiserPanel() {
    for (int b = 0; b < kBands; ++b) {
        const size_t i = U(b);
        Command5[i].Click = [this, b] { Command5_Click(b); };
        Command10[i].Click = [this, b] { Command10_Click(b); };
        Slider2[i].Change = [this, b] { ApplyBandGainSlider(b); };
        UpDown4[i].Change = [this, b] { StepBandFrequency(b); };
        UpDown3[i].Change = [this, b] { StepBandQ(b); };
        Text9[i].KeyPress = [this, b](int& key) { Text9_KeyPress(b, key); };
        Text4[i].KeyPress = [this, b](int& key) { Text4_KeyPress(b, key); };
        Text5[i].KeyPress = [this, b](int& key) { Text5_KeyPress(b, key); };
        Text50[i].KeyPress = [this, b](int& key) { Text50_KeyPress(b, key); };
        // A disabled marker (its band is off) takes no mouse action.
        Label5[i].MouseDown = [this, b](int button, int shift, int x, int y) {
            if (Label5[U(b)].Enabled) Label5_MouseDown(b, button, shift, x, y);
        };
        Label5[i].MouseMove = [this, b](int button, int shift, int x, int y) {
            if (Label5[U(b)].Enabled) Label5_MouseMove(b, button, shift, x, y);
        };
        Label5[i].MouseUp = [this, b](int button, int shift, int x, int y) {
            if (Label5[U(b)].Enabled) Label5_MouseUp(b, button, shift, x, y);
        };
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        Command1[U(ch)].Click = [this, ch] { Command1_Click(ch); };
        Command40[U(ch)].Click = [this, ch] { Command40_Click(ch); };
        Check3[U(ch)].Click = [this, ch] { Check3_Click(ch); };
    }
}

void FrmCtrl::applyBand(int b) {
    if (SendEqBand(*cx_, b)) return;
    cx_->graph.CalcBandGraph(b);
    cx_->linked.LinkEqBand(b);
}

// ---- Band switches, slider and steppers ----

void FrmCtrl::Command5_Click(int b) {
    if (!ValidBand(b)) return;
    switchFrame(true, [&] {
        ToggleBandBypass(*cx_, b);
        applyBand(b);
    });
}

void FrmCtrl::ApplyBandGainSlider(int b) {
    if (!ValidBand(b)) return;
    switchFrame(true, [&] { applyBand(b); });
}

void FrmCtrl::StepBandFrequency(int b) {
    if (!ValidBand(b)) return;
    switchFrame(true, [&] {
        Text4[U(b)].Text = QString::number(UpDown4[U(b)].value());
        applyBand(b);
    });
}

void FrmCtrl::StepBandQ(int b) {
    if (!ValidBand(b)) return;
    // The setter writes the Q and width texts from the stepper's index.
    switchFrame(true, [&] { applyBand(b); });
}

void FrmCtrl::Command10_Click(int b) {
    // Runs also while code sets controls; holds EditBusy until the dialog has closed.
    if (!cx_ || !ValidBand(b)) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    st_.FilterDialogBand = static_cast<int16_t>(b);
    FrmSelFilter dialog(*cx_);
    dialog.Form_Load();
    cx_->dialogs.ShowModal(dialog);
}

// ---- Band number fields ----

void FrmCtrl::Text9_KeyPress(int b, int& keyAscii) {
    LoadCorrectWindow();
    if (st_.SuppressEvents || !cx_ || !ValidBand(b)) return;
    NumberFieldKey(NumberFields::BandGain, keyAscii, cx_->msg, st_.DecimalComma,
                   [&] { return applyBandGainText(b); });
}

bool FrmCtrl::applyBandGainText(int b) {
    const size_t i = U(b);
    const int32_t comma = st_.DecimalComma;
    // The band's frequency text is brought into range first, as the band is sent with it.
    TextBox& freq = Text4[i];
    if (const auto f = ParseNumber(freq.Text, comma)) {
        if (*f > kMaxFreq)
            freq.Text = QString::number(kMaxFreq);
        else if (*f < kMinFreq)
            freq.Text = QString::number(kMinFreq);
    }
    // The typed gain, held within -15..+15 dB and snapped to the 0.5 dB grid.
    TextBox& field = Text9[i];
    auto read = [&] { return ParseNumber(field.Text, comma); };
    auto v = read();
    if (!v) return false;
    if (*v > 15) field.Text = QStringLiteral("15");
    v = read();
    if (*v < -15) field.Text = QStringLiteral("-15");
    v = read();
    field.Text = NumberText(SnapEqGain(*v), comma);
    v = read();
    if (!v) return false;
    Slider2[i].setValue(static_cast<int>(std::lround(30 - 2 * static_cast<float>(*v))));
    applyBand(b);
    return true;
}

void FrmCtrl::Text4_KeyPress(int b, int& keyAscii) {
    LoadCorrectWindow();
    if (st_.SuppressEvents || !cx_ || !ValidBand(b)) return;
    NumberFieldKey(NumberFields::BandFrequency, keyAscii, cx_->msg, st_.DecimalComma,
                   [&] { return applyBandFrequencyText(b); });
}

bool FrmCtrl::applyBandFrequencyText(int b) {
    // Held within 20..20000 Hz; a frequency in between is sent as typed, not snapped.
    TextBox& field = Text4[U(b)];
    auto read = [&] { return ParseNumber(field.Text, st_.DecimalComma); };
    auto v = read();
    if (!v) return false;
    if (*v > kMaxFreq) field.Text = QString::number(kMaxFreq);
    v = read();
    if (*v < kMinFreq) field.Text = QString::number(kMinFreq);
    applyBand(b);
    return true;
}

// The Q and width fields filter their keys before they make the window current, and do so only
// on Enter.
void FrmCtrl::Text5_KeyPress(int b, int& keyAscii) {
    if (st_.SuppressEvents || !cx_ || !ValidBand(b)) return;
    NumberFieldKey(NumberFields::BandQ, keyAscii, cx_->msg, st_.DecimalComma,
                   [&] { return applyBandQText(b, false); });
}

void FrmCtrl::Text50_KeyPress(int b, int& keyAscii) {
    if (st_.SuppressEvents || !cx_ || !ValidBand(b)) return;
    NumberFieldKey(NumberFields::BandQ, keyAscii, cx_->msg, st_.DecimalComma,
                   [&] { return applyBandQText(b, true); });
}

bool FrmCtrl::applyBandQText(int b, bool widthField) {
    LoadCorrectWindow();
    const size_t i = U(b);
    const int32_t comma = st_.DecimalComma;
    TextBox& field = widthField ? Text50[i] : Text5[i];
    // With a decimal point only the first characters count (4 of a Q, 6 of a width).
    const QString s = field.Text.trimmed();
    const QString t = comma == 1 ? QString(s).replace(u'.', u',') : s.left(widthField ? 6 : 4);
    const auto v = ParseNumber(t, comma);
    if (!v) return false;
    int index = 0;
    if (widthField) {
        field.Text = NumberText(SnapToWidthTable(st_.Tables, *v), comma);
        index = WidthTableIndex(st_.Tables, ParseNumber(field.Text, comma).value_or(*v));
    } else {
        index = EqQToIndex(*v);
    }
    if (index == UpDown3[i].value()) {
        // The stepper stays and runs nothing: both texts show the index the band has, so they
        // never show a Q the band does not have. Nothing is sent.
        Text5[i].Text = NumberText(EqQOfIndex(index), comma);
        Text50[i].Text = NumberText(EqWidthShown(st_.Tables, index), comma);
        return true;
    }
    UpDown3[i].setValue(index); // its change procedure sends the band
    return true;
}

// ---- Channel buttons ----

void FrmCtrl::Command1_Click(int ch) {
    // Runs also while code sets controls.
    if (!cx_ || !ValidChannel(ch)) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    const MsgAnswer a = cx_->msg.show(QStringLiteral("                 Esta seguro?"),
                                      QStringLiteral("EQ Flat"), MsgButtons::YesNo, MsgIcon::None);
    if (a == MsgAnswer::No) return;
    if (SetEqFlat(*cx_, ch)) return;
    cx_->linked.LinkEqFlat(ch);
}

void FrmCtrl::Command40_Click(int ch) {
    if (!ValidChannel(ch)) return;
    switchFrame(true, [&] {
        const ScopedValue<int> pointer(MousePointer, kPointerBusy);
        if (ToggleEqBypass(*cx_, ch)) return;
        RedrawChannelBands(*cx_, ch);
        cx_->linked.LinkEqBypass(ch);
    });
}

void FrmCtrl::Check3_Click(int ch) {
    // Runs also while code sets controls: the whole-program load sets the box and holds EditBusy
    // itself, which this handler leaves raised when it ends.
    if (!cx_ || !ValidChannel(ch)) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    ShowGraphCursor(*cx_, ch);
}

// ---- Band marker drag ----

void FrmCtrl::Label5_MouseDown(int b, int /*button*/, int /*shift*/, int /*x*/, int y) {
    if (!cx_ || !ValidBand(b)) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    MarkerDrag& d = markerDrag_[U(b)];
    d = MarkerDrag{};
    const int dev = st_.CurDevice();
    // The markers of a bypassed equaliser do not move.
    if (!ValidBusAddress(dev) || st_.EqBypass[U(dev)][U(BandChannel(b))] != 0) return;
    d.armed = true;
    // A band whose gain lies at or beyond the edge of the range shown has its marker held on the
    // picture's edge, at a height that stands for a smaller gain. Its drag starts from the band's
    // own gain where it was grabbed, so that a sideways move keeps the gain.
    const MagScale scale = GainScale(BandChannel(b));
    d.gain = EqGainOfSlider(Slider2[U(b)].value());
    const int own = MarkerTopOfGainOffPicture(d.gain, scale);
    const Label& m = Label5[U(b)];
    if (own != MarkerTopOfGain(d.gain, scale)) d.topOffset = own - (m.Top + y - kMarkerSizeTwips / 2);
}

void FrmCtrl::Label5_MouseMove(int b, int button, int /*shift*/, int x, int y) {
    // Only a move with the button held drags; a pointer passing over a marker changes nothing.
    if (!cx_ || !ValidBand(b) || !markerDrag_[U(b)].armed || button == 0) return;
    const int dev = st_.CurDevice();
    if (!ValidBusAddress(dev)) return;
    const size_t i = U(b);
    MarkerDrag& d = markerDrag_[i];
    const int32_t comma = st_.DecimalComma;
    d.moved = true;

    // The marker's centre follows the pointer, on the dB range its graph shows: the gain held
    // within a band's -15 .. +15 dB and that range (or the band's own gain where that lies beyond
    // the range), the marker on the picture.
    Label& m = Label5[i];
    const int half = kMarkerSizeTwips / 2;
    m.Left = std::clamp(m.Left + x - half, kMarkerMinLeft, kMarkerMaxLeft);
    const MagScale scale = GainScale(BandChannel(b));
    const GainRange range = MarkerGainRange(scale);
    const double g = std::clamp(MarkerGainOfTop(m.Top + y - half + d.topOffset, scale),
                                std::min(range.Low, d.gain), std::max(range.High, d.gain));
    m.Top = MarkerTopOfGain(g, scale);

    // The gain cut down to its tenth of a decibel, the frequency placed on the frequency table.
    const double r = std::floor(g * 10) / 10;
    Text9[i].Text = NumberText(r, comma);
    Slider2[i].setValue(static_cast<int>(std::lround(30 - 2 * r)));
    const double f = MarkerFrequencyOfLeft(st_.Tables.TwipsPerDecade, m.Left);
    const double snapped = SnapToFrequencyTable(st_.Tables, f);
    Text4[i].Text = NumberText(snapped, comma);

    DeviceRec& rec = st_.DevRecs[U(dev)];
    rec.BandGain[i] = static_cast<float>(r);
    rec.BandFreq[i] = static_cast<float>(ParseNumber(Text4[i].Text, comma).value_or(snapped));
    // The curve follows; the device gets the band at the release.
    cx_->graph.CalcBandGraph(b);
}

void FrmCtrl::Label5_MouseUp(int b, int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {
    if (!cx_ || !ValidBand(b)) return;
    MarkerDrag& d = markerDrag_[U(b)];
    const bool moved = d.armed && d.moved;
    d = MarkerDrag{};
    if (!moved) return;
    // The setter takes the gain from the slider (0.5 dB steps) and puts the marker at its height.
    applyBand(b);
}
