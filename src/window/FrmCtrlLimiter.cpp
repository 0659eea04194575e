// The editing window's peak limiter and RMS compressor handlers (outputs 1 and 2).
//
// A change of these panels is neither drawn on the graph nor repeated on linked devices. The
// setter rewrites the field in its own form from the slider and sends the whole limiter or
// compressor state of the channel.
#include "common/Index.h"
#include "common/Numbers.h"
#include "params/Setters.h"
#include "params/ValueGrids.h"
#include "window/FrmCtrl.h"
#include "window/NumberEntry.h"
#include "window/WindowContext.h"

#include <cmath>

namespace {

bool ValidOutput(int ch) {
    return ch == 1 || ch == 2;
}

} // namespace

void FrmCtrl::bindLimiterPanel() {
    for (int ch = 1; ch < kChannels; ++ch) {
        Command13[U(ch)].Click = [this, ch] { Command13_Click(ch); };
        Command14[U(ch)].Click = [this, ch] { Command14_Click(ch); };
        Slider500[U(ch)].Change = [this, ch] { ApplyLimThresholdSlider(ch); };
        Slider503[U(ch)].Change = [this, ch] { ApplyLimReleaseSlider(ch); };
        Slider504[U(ch)].Change = [this, ch] { ApplyLimAttackSlider(ch); };
        Slider400[U(ch)].Change = [this, ch] { ApplyCompThresholdSlider(ch); };
        Slider401[U(ch)].Change = [this, ch] { ApplyCompRatioSlider(ch); };
        Slider402[U(ch)].Change = [this, ch] { ApplyCompKneeSlider(ch); };
        Slider403[U(ch)].Change = [this, ch] { ApplyCompReleaseSlider(ch); };
        Slider404[U(ch)].Change = [this, ch] { ApplyCompAttackSlider(ch); };
        Text500[U(ch)].KeyPress = [this, ch](int& key) { Text500_KeyPress(ch, key); };
        Text503[U(ch)].KeyPress = [this, ch](int& key) { Text503_KeyPress(ch, key); };
        Text504[U(ch)].KeyPress = [this, ch](int& key) { Text504_KeyPress(ch, key); };
        Text400[U(ch)].KeyPress = [this, ch](int& key) { Text400_KeyPress(ch, key); };
        Text401[U(ch)].KeyPress = [this, ch](int& key) { Text401_KeyPress(ch, key); };
        Text402[U(ch)].KeyPress = [this, ch](int& key) { Text402_KeyPress(ch, key); };
        Text403[U(ch)].KeyPress = [this, ch](int& key) { Text403_KeyPress(ch, key); };
        Text404[U(ch)].KeyPress = [this, ch](int& key) { Text404_KeyPress(ch, key); };
    }
}

// ---- Bypass buttons and sliders ----

// The setter is the whole of each handler: a bypass setter that reports a failed send leaves the
// button and frame as they were, and nothing follows a setter here.
void FrmCtrl::dynamicsSwitch(int ch, bool (*setter)(WindowContext&, int)) {
    if (!ValidOutput(ch)) return;
    switchFrame(true, [&] { setter(*cx_, ch); });
}

void FrmCtrl::Command13_Click(int ch) {
    dynamicsSwitch(ch, SendLimiterBypass);
}
void FrmCtrl::Command14_Click(int ch) {
    dynamicsSwitch(ch, SendCompBypass);
}
void FrmCtrl::ApplyLimThresholdSlider(int ch) {
    dynamicsSwitch(ch, SendLimiterThreshold);
}
void FrmCtrl::ApplyLimReleaseSlider(int ch) {
    dynamicsSwitch(ch, SendLimiterRelease);
}
void FrmCtrl::ApplyLimAttackSlider(int ch) {
    dynamicsSwitch(ch, SendLimiterAttack);
}
void FrmCtrl::ApplyCompThresholdSlider(int ch) {
    dynamicsSwitch(ch, SendCompThreshold);
}
void FrmCtrl::ApplyCompRatioSlider(int ch) {
    dynamicsSwitch(ch, SendCompRatio);
}
void FrmCtrl::ApplyCompKneeSlider(int ch) {
    dynamicsSwitch(ch, SendCompKnee);
}
void FrmCtrl::ApplyCompReleaseSlider(int ch) {
    dynamicsSwitch(ch, SendCompRelease);
}
void FrmCtrl::ApplyCompAttackSlider(int ch) {
    dynamicsSwitch(ch, SendCompAttack);
}

// ---- Value fields ----

void FrmCtrl::dynamicsKey(int ch, int& keyAscii, bool knee, bool (FrmCtrl::*enter)(int)) {
    // The window the key was typed in is made current first, so that the value goes to its own
    // device whichever window was current before.
    LoadCorrectWindow();
    if (st_.SuppressEvents || !cx_ || !ValidOutput(ch)) return;
    NumberFieldKey(knee ? NumberFields::CompKnee : NumberFields::Dynamics, keyAscii, cx_->msg,
                   st_.DecimalComma, [&] { return (this->*enter)(ch); });
}

void FrmCtrl::Text500_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, false, &FrmCtrl::applyLimThresholdText);
}
void FrmCtrl::Text503_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, false, &FrmCtrl::applyLimReleaseText);
}
void FrmCtrl::Text504_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, false, &FrmCtrl::applyLimAttackText);
}
void FrmCtrl::Text400_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, false, &FrmCtrl::applyCompThresholdText);
}
void FrmCtrl::Text401_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, false, &FrmCtrl::applyCompRatioText);
}
void FrmCtrl::Text402_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, true, &FrmCtrl::applyCompKneeText);
}
void FrmCtrl::Text403_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, false, &FrmCtrl::applyCompReleaseText);
}
void FrmCtrl::Text404_KeyPress(int ch, int& keyAscii) {
    dynamicsKey(ch, keyAscii, false, &FrmCtrl::applyCompAttackText);
}

namespace {

// A threshold held within -18..+12 dBu and snapped to the 0.2 grid, written back into the field;
// the slider position it gives (0 at +12). Nothing when the text is not a number.
std::optional<int> EnterThreshold(TextBox& field, int32_t comma) {
    auto read = [&] { return ParseNumber(field.Text, comma); };
    auto v = read();
    if (!v) return std::nullopt;
    if (*v > 12) field.Text = QStringLiteral("12");
    v = read();
    if (*v < -18) field.Text = QStringLiteral("-18");
    v = read();
    field.Text = NumberText(SnapThreshold(*v), comma);
    v = read();
    if (!v) return std::nullopt;
    return static_cast<int>(60 - std::lround(5 * *v));
}

// A release or attack time snapped to its table entry, written back into the field; the slider
// position it gives (0 at the last entry).
template <typename Index>
std::optional<int> EnterTableTime(TextBox& field, int32_t comma, const ConstantTables& t, Index index,
                                  const std::array<double, 30>& times) {
    const auto v = ParseNumber(field.Text, comma);
    if (!v) return std::nullopt;
    const int i = index(t, *v);
    field.Text = NumberText(times[U(i)], comma);
    return 29 - i;
}

} // namespace

bool FrmCtrl::applyLimThresholdText(int ch) {
    const auto pos = EnterThreshold(Text500[U(ch)], st_.DecimalComma);
    if (!pos) return false;
    Slider500[U(ch)].setValue(*pos);
    SendLimiterThreshold(*cx_, ch);
    return true;
}

bool FrmCtrl::applyCompThresholdText(int ch) {
    const auto pos = EnterThreshold(Text400[U(ch)], st_.DecimalComma);
    if (!pos) return false;
    Slider400[U(ch)].setValue(*pos);
    SendCompThreshold(*cx_, ch);
    return true;
}

bool FrmCtrl::applyLimReleaseText(int ch) {
    const auto& t = st_.Tables;
    const auto pos = EnterTableTime(Text503[U(ch)], st_.DecimalComma, t, ReleaseIndex, t.ReleaseTimes);
    if (!pos) return false;
    Slider503[U(ch)].setValue(*pos);
    SendLimiterRelease(*cx_, ch);
    return true;
}

bool FrmCtrl::applyCompReleaseText(int ch) {
    const auto& t = st_.Tables;
    const auto pos = EnterTableTime(Text403[U(ch)], st_.DecimalComma, t, ReleaseIndex, t.ReleaseTimes);
    if (!pos) return false;
    Slider403[U(ch)].setValue(*pos);
    SendCompRelease(*cx_, ch);
    return true;
}

bool FrmCtrl::applyLimAttackText(int ch) {
    const auto& t = st_.Tables;
    const auto pos = EnterTableTime(Text504[U(ch)], st_.DecimalComma, t, AttackIndex, t.AttackTimes);
    if (!pos) return false;
    Slider504[U(ch)].setValue(*pos);
    SendLimiterAttack(*cx_, ch);
    return true;
}

bool FrmCtrl::applyCompAttackText(int ch) {
    const auto& t = st_.Tables;
    const auto pos = EnterTableTime(Text404[U(ch)], st_.DecimalComma, t, AttackIndex, t.AttackTimes);
    if (!pos) return false;
    Slider404[U(ch)].setValue(*pos);
    SendCompAttack(*cx_, ch);
    return true;
}

bool FrmCtrl::applyCompRatioText(int ch) {
    // The ratio is the number before the ":" the setter writes ("4:1 "), or the whole text.
    const QString s = Text401[U(ch)].Text.trimmed();
    if (s.isEmpty()) return false;
    const auto n = ParseNumber(s.section(QLatin1Char(':'), 0, 0), st_.DecimalComma);
    if (!n) return false;
    Slider401[U(ch)].setValue(31 - static_cast<int>(SnapRatioIndex(*n)));
    SendCompRatio(*cx_, ch);
    return true;
}

bool FrmCtrl::applyCompKneeText(int ch) {
    // The knee is taken as typed within 0..100 %, to the nearest whole percent.
    TextBox& field = Text402[U(ch)];
    auto read = [&] { return ParseNumber(field.Text, st_.DecimalComma); };
    auto v = read();
    if (!v) return false;
    if (*v > 100) field.Text = QStringLiteral("100");
    v = read();
    if (*v < 0) field.Text = QStringLiteral("0");
    v = read();
    Slider402[U(ch)].setValue(100 - static_cast<int>(RoundHalfEven(*v)));
    SendCompKnee(*cx_, ch);
    return true;
}
