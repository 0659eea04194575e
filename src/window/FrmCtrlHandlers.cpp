// The editing window's edit handlers: the two frames every handler follows, and the gain, mute,
// loudness, phase and unit lock handlers.
//
// A handler whose setter reports a failed send stops at once: the link has told the operator and
// closed the window, so nothing is redrawn, repeated on linked devices or written to controls.
#include "common/Numbers.h"
#include "params/EqSetters.h"
#include "params/ProgramLoad.h"
#include "params/ValueGrids.h"
#include "window/FrmCtrl.h"

#include <cmath>

namespace {
size_t U(int i) {
    return static_cast<size_t>(i);
}
bool ValidChannel(int ch) {
    return ch >= 0 && ch < kChannels;
}

constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;
constexpr int kCtrlC = 3, kCtrlV = 22, kCtrlX = 24, kCtrlZ = 26;

const QString kWarningTitle = QStringLiteral("Advertencia");
const QString kBadValue = QStringLiteral("  Valor Incorrecto");

bool IsDigit(int key) {
    return key >= '0' && key <= '9';
}
} // namespace

template <typename Body> void FrmCtrl::switchFrame(bool busy, Body body) {
    // While a ping waits with events running no edit starts: nothing would reach the device.
    if (st_.SuppressEvents || !cx_ || cx_->link.Busy()) return;
    if (busy) st_.EditBusy = true;
    LoadCorrectWindow();
    body();
    if (busy) st_.EditBusy = false;
}

// ---------------------------------------------------------------- gain

void FrmCtrl::Text1_KeyPress(int ch, int& keyAscii) {
    LoadCorrectWindow();
    if (st_.SuppressEvents || !cx_ || !ValidChannel(ch)) return;
    const int key = keyAscii;
    if (IsDigit(key) || key == kKeyBackspace || key == '-' || key == '+' || key == kCtrlC || key == kCtrlV ||
        key == kCtrlX || key == kCtrlZ)
        return;
    if (key == ',' || key == '.') {
        keyAscii = DecimalSign(st_.DecimalComma).unicode();
        return;
    }
    TextBox& field = Text1[U(ch)];
    auto refuse = [&] {
        cx_->msg.show(kBadValue, kWarningTitle, MsgButtons::Ok, MsgIcon::None);
        keyAscii = '?';
    };
    if (key != kKeyEnter) return refuse();
    if (cx_->link.Busy()) return; // no exchange can start: the field and slider stay as they are

    // Enter: the typed gain, held within -36..+12 dB and snapped to the 0.5 dB grid. Text that is
    // not a number is refused before anything changes.
    auto read = [&] { return ParseNumber(field.Text, st_.DecimalComma); };
    auto v = read();
    if (!v) return refuse();
    if (*v > 12) field.Text = QStringLiteral("12");
    v = read();
    if (*v < -36) field.Text = QStringLiteral("-36");
    v = read();
    field.Text = NumberText(SnapChannelGain(*v), st_.DecimalComma);
    v = read();
    if (!v) return refuse();
    Slider1[U(ch)].setValue(static_cast<int>(std::lround(24 - 2 * *v)));
    if (SendGain(*cx_, ch)) return;
    cx_->graph.RedrawGraph(ch);
    cx_->linked.LinkGain(ch);
}

void FrmCtrl::ApplyGainSlider(int ch) {
    if (!ValidChannel(ch)) return;
    switchFrame(true, [&] {
        if (SendGain(*cx_, ch)) return;
        cx_->graph.RedrawGraph(ch);
        cx_->linked.LinkGain(ch);
    });
}

// ---------------------------------------------------------------- channel switches

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

void FrmCtrl::Check10_Click() {
    switchFrame(true, [&] {
        const int dev = st_.CurDevice();
        if (!ValidBusAddress(dev)) return;
        const uint8_t lock = Check10.value() == 1 ? 1 : 0;
        st_.DevRecs[U(dev)].UnitLock = lock;
        st_.DevProgs[U(dev)].Ext[23] = lock;
        if (cx_->link.SendFrame(dev, CmdWriteByte, Data8{0, 23, 0, 0, lock, 0, 0, 0})) return;
        ApplyLockState(*cx_);
    });
}

void FrmCtrl::bindProcedures() {
    Check5.Click = [this] { Check5_Click(); };
    Check10.Click = [this] { Check10_Click(); };
    for (int ch = 1; ch < kChannels; ++ch)
        Check2[U(ch)].Click = [this, ch] { Check2_Click(ch); };
    for (int ch = 0; ch < kChannels; ++ch)
        Slider1[U(ch)].Change = [this, ch] { ApplyGainSlider(ch); };
    if (cx_) BindOption1Click(*cx_, *this);
}

void FrmCtrl::setContext(EqContext* cx) {
    cx_ = cx;
    bindProcedures();
}
