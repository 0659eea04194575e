// The editing window's crossover panel: the type list, the four section frequencies and Qs with
// their steppers, and the two buttons that fill the sections with Butterworth or Linkwitz-Riley
// values. The handlers only set controls; SendXover reads the panel, keeps and sends the filter
// and enables the sections its type uses. Crossover edits are not repeated on linked devices.
//
// A handler whose send failed stops at once: the link has told the operator and closed the
// window, so nothing is redrawn and no further control is written.
#include "common/Index.h"
#include "common/Numbers.h"
#include "params/EqSetters.h"
#include "params/ValueGrids.h"
#include "window/FrmCtrl.h"
#include "window/NumberEntry.h"
#include "window/WindowContext.h"

#include <algorithm>
#include <optional>
#include <span>

namespace {

constexpr int kSections = 4;
constexpr int kMinFreq = 20;
constexpr int kMaxFreq = 20000;

bool ValidFilter(int k) {
    return k >= 0 && k < kXoverFilters;
}

// The controls of one filter section, as members of the window's control arrays.
using TextArray = std::array<TextBox, kXoverFilters>;
using StepArray = std::array<UpDown, kXoverFilters>;
struct SectionControls {
    TextArray FrmCtrlControls::*freqText;
    StepArray FrmCtrlControls::*freqStep;
    TextArray FrmCtrlControls::*qText;
    StepArray FrmCtrlControls::*qStep;
};
constexpr std::array<SectionControls, kSections> kSectionControls{{
    {&FrmCtrlControls::Text8, &FrmCtrlControls::UpDown5, &FrmCtrlControls::Text12,
     &FrmCtrlControls::UpDown12},
    {&FrmCtrlControls::Text10, &FrmCtrlControls::UpDown6, &FrmCtrlControls::Text14,
     &FrmCtrlControls::UpDown9},
    {&FrmCtrlControls::Text11, &FrmCtrlControls::UpDown7, &FrmCtrlControls::Text15,
     &FrmCtrlControls::UpDown10},
    {&FrmCtrlControls::Text13, &FrmCtrlControls::UpDown8, &FrmCtrlControls::Text16,
     &FrmCtrlControls::UpDown11},
}};

// What a "Set as" button writes for one custom type: section 1's frequency goes to sections
// 2..sections, then each section's Q is set (0: that section's Q is left alone).
struct XoverPreset {
    int type;
    int sections;
    std::array<double, kSections> q;
};
constexpr XoverPreset kButterworth[] = {
    {11, 1, {0.7, 0, 0, 0}},           // "Custom -12dB"
    {12, 2, {0, 1.0, 0, 0}},           // "Custom -18dB"
    {13, 2, {1.307, 0.54, 0, 0}},      // "Custom -24dB"
    {14, 3, {0, 1.618, 0.618, 0}},     // "Custom -30dB"
    {15, 3, {1.932, 0.7, 0.518, 0}},   // "Custom -36dB"
    {16, 4, {0, 2.247, 0.802, 0.555}}, // "Custom -42dB"
    {17, 4, {2.563, 0.9, 0.6, 0.51}},  // "Custom -48dB"
};
constexpr XoverPreset kLinkwitzRiley[] = {
    {13, 2, {0.7, 0.7, 0, 0}},          // "Custom -24dB"
    {15, 3, {0.7, 1.307, 0.54, 0}},     // "Custom -36dB"
    {17, 4, {1.307, 0.54, 1.25, 0.54}}, // "Custom -48dB", section 3 really 1.25
};

// Holds a section frequency field within 20..20000 Hz: above it the field becomes "20000",
// below it "20"; anything between stays as typed. False when the field holds no number.
bool HoldFrequency(TextBox& t, int32_t comma) {
    const auto v = ParseNumber(t.Text, comma);
    if (!v) return false;
    if (*v > kMaxFreq)
        t.Text = QString::number(kMaxFreq);
    else if (*v < kMinFreq)
        t.Text = QString::number(kMinFreq);
    return true;
}

// The Q stepper index of a typed Q: with a decimal point only the first four characters count
// (1.234 reads as 1.23); with a decimal comma a point is read as the comma. Held in 0..199;
// empty when the text is not a number.
std::optional<int> XoverQTextToIndex(const QString& text, int32_t comma) {
    QString t = text.trimmed();
    if (comma == 1)
        t.replace(QLatin1Char('.'), QLatin1Char(','));
    else
        t = t.left(4);
    const auto q = ParseNumber(t, comma);
    if (!q) return std::nullopt;
    return XoverQToIndex(*q);
}

} // namespace

void FrmCtrl::bindXoverPanel() {
    using Step = void (FrmCtrl::*)(int);
    using Key = void (FrmCtrl::*)(int, int&);
    constexpr Step freqSteps[] = {&FrmCtrl::StepXoverFreq1, &FrmCtrl::StepXoverFreq2,
                                  &FrmCtrl::StepXoverFreq3, &FrmCtrl::StepXoverFreq4};
    constexpr Step qSteps[] = {&FrmCtrl::StepXoverQ1, &FrmCtrl::StepXoverQ2, &FrmCtrl::StepXoverQ3,
                               &FrmCtrl::StepXoverQ4};
    constexpr Key freqKeys[] = {&FrmCtrl::Text8_KeyPress, &FrmCtrl::Text10_KeyPress,
                                &FrmCtrl::Text11_KeyPress, &FrmCtrl::Text13_KeyPress};
    constexpr Key qKeys[] = {&FrmCtrl::Text12_KeyPress, &FrmCtrl::Text14_KeyPress, &FrmCtrl::Text15_KeyPress,
                             &FrmCtrl::Text16_KeyPress};
    for (int k = 0; k < kXoverFilters; ++k) {
        Combo2[U(k)].Click = [this, k] { Combo2_Click(k); };
        Command7[U(k)].Click = [this, k] { Command7_Click(k); };
        Command12[U(k)].Click = [this, k] { Command12_Click(k); };
        for (size_t s = 0; s < kSections; ++s) {
            const SectionControls& c = kSectionControls[s];
            (this->*c.freqStep)[U(k)].Change = [this, k, f = freqSteps[s]] { (this->*f)(k); };
            (this->*c.qStep)[U(k)].Change = [this, k, f = qSteps[s]] { (this->*f)(k); };
            (this->*c.freqText)[U(k)].KeyPress = [this, k, f = freqKeys[s]](int& key) { (this->*f)(k, key); };
            (this->*c.qText)[U(k)].KeyPress = [this, k, f = qKeys[s]](int& key) { (this->*f)(k, key); };
        }
    }
}

bool FrmCtrl::applyXover(int k) {
    if (SendXover(*cx_, k)) {
        xoverSendFailed_ = true;
        return true;
    }
    cx_->graph.CalcXoverGraph(k);
    return false;
}

void FrmCtrl::Combo2_Click(int k) {
    if (!ValidFilter(k)) return;
    switchFrame(true, [&] {
        if (!HoldFrequency(Text8[U(k)], st_.DecimalComma)) {
            cx_->msg.show(NumberFields::XoverFrequency.message, QStringLiteral("Advertencia"), MsgButtons::Ok,
                          MsgIcon::None);
            return;
        }
        applyXover(k);
    });
}

// ---- Steppers ----

void FrmCtrl::stepXoverFreq(int k, int s) {
    if (!ValidFilter(k)) return;
    switchFrame(true, [&] {
        const SectionControls& c = kSectionControls[U(s)];
        TextBox& text = (this->*c.freqText)[U(k)];
        text.Text = QString::number((this->*c.freqStep)[U(k)].value());
        ApplyLinkFrequency(*cx_, text.Text, k);
        applyXover(k);
    });
}

void FrmCtrl::stepXoverQ(int k, int s) {
    if (!ValidFilter(k)) return;
    switchFrame(true, [&] {
        const SectionControls& c = kSectionControls[U(s)];
        // The Q the stepper's index stands for, as the setter writes it: a send that is refused
        // (another section's field does not read) leaves the field showing that Q, never the
        // index, so that a later Enter in the field sends the Q it shows.
        (this->*c.qText)[U(k)].Text =
            NumberText(XoverQOfIndex((this->*c.qStep)[U(k)].value()), st_.DecimalComma);
        applyXover(k);
    });
}

void FrmCtrl::StepXoverFreq1(int k) {
    stepXoverFreq(k, 0);
}
void FrmCtrl::StepXoverFreq2(int k) {
    stepXoverFreq(k, 1);
}
void FrmCtrl::StepXoverFreq3(int k) {
    stepXoverFreq(k, 2);
}
void FrmCtrl::StepXoverFreq4(int k) {
    stepXoverFreq(k, 3);
}
void FrmCtrl::StepXoverQ1(int k) {
    stepXoverQ(k, 0);
}
void FrmCtrl::StepXoverQ2(int k) {
    stepXoverQ(k, 1);
}
void FrmCtrl::StepXoverQ3(int k) {
    stepXoverQ(k, 2);
}
void FrmCtrl::StepXoverQ4(int k) {
    stepXoverQ(k, 3);
}

// ---- Section fields ----
// Their keys are taken also while SuppressEvents is raised: the operator cannot type while the
// program itself sets controls.

void FrmCtrl::xoverFreqKey(int k, int s, int& keyAscii) {
    LoadCorrectWindow();
    if (!cx_ || !ValidFilter(k)) return;
    NumberFieldKey(NumberFields::XoverFrequency, keyAscii, cx_->msg, st_.DecimalComma, [&] {
        TextBox& text = (this->*kSectionControls[U(s)].freqText)[U(k)];
        if (!HoldFrequency(text, st_.DecimalComma)) return false;
        ApplyLinkFrequency(*cx_, text.Text, k);
        applyXover(k);
        return true;
    });
}

void FrmCtrl::xoverQKey(int k, int s, int& keyAscii) {
    LoadCorrectWindow();
    if (!cx_ || !ValidFilter(k)) return;
    NumberFieldKey(NumberFields::XoverQ, keyAscii, cx_->msg, st_.DecimalComma, [&] {
        const SectionControls& c = kSectionControls[U(s)];
        const auto index = XoverQTextToIndex((this->*c.qText)[U(k)].Text, st_.DecimalComma);
        if (!index) return false;
        {
            // The stepper's own handler would send the filter a second time.
            const auto quiet = RaiseSuppressEvents(st_);
            (this->*c.qStep)[U(k)].setValue(*index);
        }
        applyXover(k);
        return true;
    });
}

void FrmCtrl::Text8_KeyPress(int k, int& keyAscii) {
    xoverFreqKey(k, 0, keyAscii);
}
void FrmCtrl::Text10_KeyPress(int k, int& keyAscii) {
    xoverFreqKey(k, 1, keyAscii);
}
void FrmCtrl::Text11_KeyPress(int k, int& keyAscii) {
    xoverFreqKey(k, 2, keyAscii);
}
void FrmCtrl::Text13_KeyPress(int k, int& keyAscii) {
    xoverFreqKey(k, 3, keyAscii);
}
void FrmCtrl::Text12_KeyPress(int k, int& keyAscii) {
    xoverQKey(k, 0, keyAscii);
}
void FrmCtrl::Text14_KeyPress(int k, int& keyAscii) {
    xoverQKey(k, 1, keyAscii);
}
void FrmCtrl::Text15_KeyPress(int k, int& keyAscii) {
    xoverQKey(k, 2, keyAscii);
}
void FrmCtrl::Text16_KeyPress(int k, int& keyAscii) {
    xoverQKey(k, 3, keyAscii);
}

// ---- "Set as Bw" and "Set as LR" ----

void FrmCtrl::setXoverAs(int k, bool linkwitzRiley) {
    if (!cx_ || !ValidFilter(k)) return;
    const auto busy = RaiseEditBusy(st_);
    LoadCorrectWindow();
    const std::span<const XoverPreset> table = linkwitzRiley ? std::span<const XoverPreset>(kLinkwitzRiley)
                                                             : std::span<const XoverPreset>(kButterworth);
    const int type = Combo2[U(k)].listIndex();
    const auto row =
        std::find_if(table.begin(), table.end(), [&](const XoverPreset& p) { return p.type == type; });
    if (row == table.end()) return;

    // Each write runs the stepper's own handler, which sends and redraws the filter. Once one of
    // them failed the window is closed and the device silent: nothing more is written.
    xoverSendFailed_ = false;
    const int f1 = UpDown5[U(k)].value();
    for (int s = 1; s < row->sections && !xoverSendFailed_; ++s)
        (this->*kSectionControls[U(s)].freqStep)[U(k)].setValue(f1);
    for (int s = 0; s < kSections && !xoverSendFailed_; ++s)
        if (row->q[U(s)] > 0)
            (this->*kSectionControls[U(s)].qStep)[U(k)].setValue(XoverQToIndex(row->q[U(s)]));
}

void FrmCtrl::Command7_Click(int k) {
    setXoverAs(k, false);
}

void FrmCtrl::Command12_Click(int k) {
    setXoverAs(k, true);
}
