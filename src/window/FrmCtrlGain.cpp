// The editing window's gain, mute, loudness and phase handlers.
//
// A handler whose setter reports a failed send stops at once: the link has told the operator and
// closed the window, so nothing is redrawn, repeated on linked devices or written to controls.
#include "common/Index.h"
#include "common/Numbers.h"
#include "params/EqSetters.h"
#include "params/ValueGrids.h"
#include "window/FrmCtrl.h"
#include "window/NumberEntry.h"
#include "window/WindowContext.h"

#include <cmath>

namespace {
bool ValidChannel(int ch) {
    return ch >= 0 && ch < kChannels;
}
} // namespace

void FrmCtrl::Text1_KeyPress(int ch, int& keyAscii) {
    LoadCorrectWindow();
    if (st_.SuppressEvents || !cx_ || !ValidChannel(ch)) return;
    NumberFieldKey(NumberFields::ChannelGain, keyAscii, cx_->msg, st_.DecimalComma,
                   [&] { return applyGainText(ch); });
}

bool FrmCtrl::applyGainText(int ch) {
    // The typed gain, held within -36..+12 dB and snapped to the 0.5 dB grid. Text that is not a
    // number is refused before anything changes. While a ping holds the link the field and slider
    // stay as they are.
    if (linkHeld()) return true;
    TextBox& field = Text1[U(ch)];
    auto read = [&] { return ParseNumber(field.Text, st_.DecimalComma); };
    auto v = read();
    if (!v) return false;
    if (*v > 12) field.Text = QStringLiteral("12");
    v = read();
    if (*v < -36) field.Text = QStringLiteral("-36");
    v = read();
    field.Text = NumberText(SnapChannelGain(*v), st_.DecimalComma);
    v = read();
    if (!v) return false;
    Slider1[U(ch)].setValue(static_cast<int>(std::lround(24 - 2 * *v)));
    if (SendGain(*cx_, ch)) return true;
    cx_->graph.RedrawGraph(ch);
    cx_->linked.LinkGain(ch);
    return true;
}

void FrmCtrl::ApplyGainSlider(int ch) {
    if (!ValidChannel(ch)) return;
    switchFrame(true, [&] {
        if (SendGain(*cx_, ch)) return;
        cx_->graph.RedrawGraph(ch);
        cx_->linked.LinkGain(ch);
    });
}

void FrmCtrl::Command4_Click(int ch) {
    if (!ValidChannel(ch)) return;
    switchFrame(true, [&] {
        if (SendMute(*cx_, ch)) return;
        cx_->linked.LinkMute(ch);
    });
}

void FrmCtrl::Check5_Click() {
    switchFrame(true, [&] {
        if (SendDynLoudness(*cx_)) return;
        cx_->linked.LinkDynLoudness();
    });
}

void FrmCtrl::Check2_Click(int ch) {
    if (ch != 1 && ch != 2) return;
    // The phase boxes do not hold EditBusy and repeat nothing on linked devices.
    switchFrame(false, [&] {
        if (SendPolarity(*cx_, ch)) return;
        RedrawChannelResponse(*cx_, ch);
    });
}
