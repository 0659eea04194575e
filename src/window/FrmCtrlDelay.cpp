// The editing window's delay and temperature handlers.
//
// A handler whose setter reports a failed send stops at once: the link has told the operator and
// closed the window, so nothing is redrawn or repeated on linked devices.
#include "common/Index.h"
#include "common/Numbers.h"
#include "params/EqSetters.h"
#include "params/Setters.h"
#include "window/FrmCtrl.h"
#include "window/WindowContext.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kBlank = 32;

// The longest delay the device holds: 790 coarse and 48 fine steps.
constexpr double kMaxDelayMetres = 268.936;
constexpr double kCoarseMetres = 0.34;
// A fine step as a fraction of a coarse step, and the largest count of coarse steps a delay
// split may start from.
constexpr double kFineInCoarse = 0.0208;
constexpr double kMaxCoarseSteps = 790.9981;

bool ValidChannel(int ch) {
    return ch >= 0 && ch < kChannels;
}

struct DelaySteps {
    int coarse;
    int fine;
};

// A delay in metres as the device counts it: whole coarse steps, and the rest in fine steps to
// the nearest count (a half to the even one). Times are turned into metres before they come
// here, so that a time entry is split as finely as a distance entry.
DelaySteps SplitDelay(double metres) {
    const double d = std::clamp(metres, 0.0, kMaxDelayMetres);
    const double n = std::min(d / kCoarseMetres, kMaxCoarseSteps);
    const double coarse = std::floor(n);
    const double fine = RoundHalfEven((n - coarse) / kFineInCoarse);
    return {std::clamp(static_cast<int>(coarse), 0, 790), std::clamp(static_cast<int>(fine), 0, 48)};
}

} // namespace

void FrmCtrl::bindDelayPanel() {
    for (int ch = 0; ch < kChannels; ++ch) {
        UpDown2[U(ch)].Change = [this, ch] { StepDelayCoarse(ch); };
        UpDown1[U(ch)].Change = [this, ch] { StepDelayFine(ch); };
        Text2[U(ch)].KeyPress = [this, ch](int& key) { Text2_KeyPress(ch, key); };
    }
    // The scroll bar has one procedure, run for every new position, drag steps included.
    HScroll1.Change = [this] { HScroll1_Change(); };
    for (int i = 0; i < 2; ++i)
        Option6[U(i)].Click = [this, i] { Option6_Click(i); };
}

void FrmCtrl::Option1_Click(int index) {
    if (index != 0 && index != 1) return;
    switchFrame(true, [&] {
        if (SendDelayUnit(*cx_, index)) return;
        cx_->linked.LinkDelayUnit();
    });
}

void FrmCtrl::Option6_Click(int index) {
    if (index != 0 && index != 1) return;
    switchFrame(true, [&] {
        if (SendTempUnit(*cx_, index)) return;
        cx_->linked.LinkTempUnit();
    });
}

void FrmCtrl::HScroll1_Change() {
    // Every channel's delay phase depends on the speed of sound: all three graphs are redrawn.
    switchFrame(true, [&] {
        if (SendTemperature(*cx_)) return;
        for (int ch = 0; ch < kChannels; ++ch)
            RedrawChannelResponse(*cx_, ch);
        cx_->linked.LinkTemperature();
    });
}

void FrmCtrl::HScroll1_Scroll() {
    HScroll1_Change();
}

void FrmCtrl::StepDelayCoarse(int ch) {
    stepDelay(ch);
}

void FrmCtrl::StepDelayFine(int ch) {
    stepDelay(ch);
}

void FrmCtrl::stepDelay(int ch) {
    if (!ValidChannel(ch)) return;
    switchFrame(true, [&] {
        if (SendDelay(*cx_, ch)) return;
        RedrawChannelResponse(*cx_, ch);
        cx_->linked.LinkDelay(ch);
    });
}

void FrmCtrl::Text2_KeyPress(int ch, int& keyAscii) {
    if (st_.SuppressEvents || !cx_ || !ValidChannel(ch)) return;
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == kBackspace || keyAscii == kBlank) return;
    if (keyAscii == ',' || keyAscii == '.') {
        keyAscii = DecimalSign(st_.DecimalComma).unicode();
        return;
    }
    if (keyAscii != kEnter) {
        // A refused key leaves a blank, without a message.
        keyAscii = kBlank;
        return;
    }
    if (!applyDelayText(ch))
        cx_->msg.show(QStringLiteral("  Valor Incorrecto"), QStringLiteral("Advertencia"), MsgButtons::Ok,
                      MsgIcon::None);
}

bool FrmCtrl::applyDelayText(int ch) {
    LoadCorrectWindow();
    const QString s = Text2[U(ch)].Text.trimmed();
    if (s.isEmpty()) return false;
    // The number ends at the first blank, so that a unit suffix left in the field is ignored.
    QString number = s.section(QLatin1Char(' '), 0, 0);
    if (st_.DecimalComma == 1) number.replace(QLatin1Char('.'), QLatin1Char(','));
    const auto x = ParseNumber(number, st_.DecimalComma);
    if (!x) return false;
    const int dev = cx_->dev();
    if (!ValidBusAddress(dev)) return true;

    // A time in milliseconds is the distance sound travels in it at the device's temperature.
    const bool time = cx_->rec().DelayUnit == 0;
    const int t = std::clamp<int>(st_.DevTemperature[U(dev)], -20, 50);
    const DelaySteps steps = SplitDelay(time ? *x * SoundMetresPerMs(t) : *x);
    {
        const auto quiet = RaiseSuppressEvents(st_);
        UpDown2[U(ch)].setValue(steps.coarse);
        UpDown1[U(ch)].setValue(steps.fine);
    }
    if (SendDelay(*cx_, ch)) return true;
    RedrawChannelResponse(*cx_, ch);
    cx_->linked.LinkDelay(ch);
    return true;
}
