#include "params/Setters.h"

#include "common/Numbers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr ColorValue kMutedRed = RGBValue(255, 0, 0);

bool validChannel(int ch) {
    return ch >= 0 && ch < kChannels;
}
bool validOutput(int ch) {
    return ch == 1 || ch == 2;
}
// The current window must be bound to a real device before a setter touches its records.
bool hasDevice(const WindowContext& cx) {
    return ValidBusAddress(cx.dev());
}

size_t at(int i) {
    return static_cast<size_t>(i);
}
uint8_t byteOf(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}

// A unit flag from a record or an image: 0 stays 0, anything else is the second unit.
int16_t unitFlag(int v) {
    return v == 0 ? 0 : 1;
}

QString numberText(const WindowContext& cx, double v) {
    return NumberText(v, cx.st.DecimalComma);
}

// Every setter starts with `if (cx.link.Busy()) return true;`: while a ping waits with events
// running no exchange can start, so the setter changes no record, image byte or control and its
// handler stops as after a failed send.
bool send(WindowContext& cx, uint8_t cmd, const Data8& d) {
    return cx.link.SendFrame(cx.dev(), cmd, d);
}

// ---- Delay ----

DelayReading delayOf(WindowContext& cx, int ch) {
    FrmCtrl& w = cx.win();
    return ReadDelay(w.UpDown2[at(ch)].value(), w.UpDown1[at(ch)].value(), cx.st.DevTemperature[at(cx.dev())],
                     cx.rec().DelayUnit);
}

// Writes the delay of channel ch into its field in the record's unit.
void showDelay(WindowContext& cx, int ch, const DelayReading& r) {
    cx.win().Text2[at(ch)].Text = DelayFieldText(r, cx.st.Tables, cx.st.DecimalComma);
}

void storeDelaySamples(WindowContext& cx, int ch, const DelayReading& r) {
    cx.st.DelaySamples[at(cx.dev())][at(ch)] = r.samples;
}

void showTemperature(WindowContext& cx) {
    FrmCtrl& w = cx.win();
    const int h = w.HScroll1.value();
    w.Label13.Caption =
        cx.rec().TempUnit != 0 ? cx.st.Tables.FahrenheitLabels[at(h)] : numberText(cx, h - 20);
}

// ---- Limiter and compressor frames ----

bool sendLimiter(WindowContext& cx, int ch) {
    const auto& p = cx.prog().Params;
    const int base = cx.st.Tables.LimiterBase[at(ch)];
    return send(cx, CmdSetLimiter,
                {byteOf(ch), 0, 0, 0, p[at(cx.st.Tables.LimiterBypassAddr)], p[at(base)], p[at(base + 1)],
                 p[at(base + 2)]});
}

bool sendCompressor(WindowContext& cx, int ch) {
    const auto& p = cx.prog().Params;
    const int base = cx.st.Tables.CompBase[at(ch)];
    return send(cx, CmdSetCompressor,
                {byteOf(ch), 0, p[at(cx.st.Tables.CompBypassAddr)], p[at(base + 4)], p[at(base + 3)],
                 p[at(base + 2)], p[at(base + 1)], p[at(base)]});
}

// Bit byte of the two outputs' switches: bit 1 output 1, bit 2 output 2. Each switch counts as on
// or off whatever number it holds, so that no other bit is ever set.
uint8_t outputBits(bool out1, bool out2) {
    return static_cast<uint8_t>((out1 ? 2 : 0) | (out2 ? 4 : 0));
}

void paintBypass(CommandButton& button, Frame& frame, int16_t flag) {
    const bool bypassed = flag == 1;
    button.BackColor = bypassed ? kMutedRed : kButtonFace;
    frame.Enabled = !bypassed;
}

} // namespace

double DelayMetres(int coarse, int fine) {
    return (340.0 * coarse + 7.0 * fine) / 1000.0;
}

double SoundMetresPerMs(int t) {
    return (0.6 * t + 331.3) / 1000.0;
}

DelayReading ReadDelay(int coarse, int fine, int temperature, int delayUnit) {
    const double metres = DelayMetres(coarse, fine);
    const double ms = metres / SoundMetresPerMs(std::clamp(temperature, -20, 50));
    const int unit = unitFlag(delayUnit);
    return {unit == 0 ? std::floor(ms * 10000.0) / 10000.0 : metres,
            static_cast<int32_t>(std::floor(48.0 * ms)), unit};
}

QString DelayFieldText(const DelayReading& r, const ConstantTables& tables, int32_t decimalComma) {
    return NumberText(r.shown, decimalComma) + tables.DelayUnitSuffix[at(r.unit)];
}

// ---------------------------------------------------------------- mute, gain, loudness

bool SendMute(WindowContext& cx, int ch) {
    if (!validChannel(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    DeviceRec& r = cx.rec();
    r.Mute[at(ch)] = r.Mute[at(ch)] == 1 ? 0 : 1;
    const uint8_t bits =
        static_cast<uint8_t>((r.Mute[0] == 1 ? 1 : 0) | (r.Mute[1] == 1 ? 2 : 0) | (r.Mute[2] == 1 ? 4 : 0));
    cx.prog().Params[at(cx.st.Tables.MuteAddr)] = bits;
    const bool failed = send(cx, CmdSetMute, {byteOf(ch), 0, 0, 0, 0, 0, 0, bits});
    if (!failed) UpgMuteButton(cx, ch);
    return failed;
}

void UpgMuteButton(WindowContext& cx, int ch) {
    if (!validChannel(ch) || !hasDevice(cx)) return;
    CommandButton& b = cx.win().Command4[at(ch)];
    const bool muted = cx.rec().Mute[at(ch)] == 1;
    b.Caption = muted ? "Muted" : "Mute";
    b.BackColor = muted ? kMutedRed : kButtonFace;
}

bool SendGain(WindowContext& cx, int ch) {
    if (!validChannel(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int v = w.Slider1[at(ch)].value();
    const double db = (96 - v) / 2.0 - 36.0;
    w.Text1[at(ch)].Text = numberText(cx, db);
    cx.rec().ChanGain[at(ch)] =
        static_cast<float>(ParseNumber(w.Text1[at(ch)].Text, cx.st.DecimalComma).value_or(db));
    auto& p = cx.prog().Params;
    const int base = cx.st.Tables.GainBase[at(ch)];
    p[at(base + 1)] = byteOf(96 - v);
    return send(cx, CmdSetGain, {byteOf(ch), 0, 0, 0, 0, 0, p[at(base)], p[at(base + 1)]});
}

bool SendDynLoudness(WindowContext& cx) {
    if (!hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const bool on = w.Check5.value() == 1;
    auto& p = cx.prog().Params;
    p[at(cx.st.Tables.DlfAddr)] = on ? 1 : 0;
    w.Shape4.FillColor = on ? kYellow : kButtonFace;
    return send(cx, CmdSetLoudness, {0, 0, 0, 0, 0, 0, 0, p[at(cx.st.Tables.DlfAddr)]});
}

// ---------------------------------------------------------------- delay and temperature

bool SendDelay(WindowContext& cx, int ch) {
    if (!validChannel(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int coarse = w.UpDown2[at(ch)].value();
    const int fine = w.UpDown1[at(ch)].value();
    const DelayReading v = delayOf(cx, ch);
    showDelay(cx, ch, v);
    DeviceRec& r = cx.rec();
    r.DelayCoarse[at(ch)] = coarse;
    r.DelayFine[at(ch)] = fine;
    SplitToBytesBE(cx.st.SplitBytes, coarse, 0);
    auto& p = cx.prog().Params;
    const int base = cx.st.Tables.DelayBase[at(ch)];
    p[at(base)] = cx.st.SplitBytes[2];
    p[at(base + 1)] = cx.st.SplitBytes[3];
    p[at(base + 2)] = byteOf(fine);
    const bool failed =
        send(cx, CmdSetDelay, {byteOf(ch), 0, 0, 0, 0, p[at(base)], p[at(base + 1)], p[at(base + 2)]});
    if (!failed) storeDelaySamples(cx, ch, v);
    return failed;
}

bool SendDelayUnit(WindowContext& cx, int unit) {
    if (!hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    const int16_t u = unitFlag(unit);
    cx.rec().DelayUnit = u;
    cx.prog().Ext[18] = byteOf(u);
    if (send(cx, CmdWriteByte, {0, 18, 0, 0, byteOf(u), 0, 0, 0})) return true;
    for (int ch = 0; ch < kChannels; ++ch) {
        const DelayReading v = delayOf(cx, ch);
        showDelay(cx, ch, v);
        storeDelaySamples(cx, ch, v);
    }
    return false;
}

bool SendTempUnit(WindowContext& cx, int unit) {
    if (!hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    const int16_t u = unitFlag(unit);
    cx.rec().TempUnit = u;
    if (send(cx, CmdWriteByte, {0, 21, 0, 0, byteOf(u), 0, 0, 0})) return true;
    showTemperature(cx);
    return false;
}

bool SendTemperature(WindowContext& cx) {
    if (!hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    const int h = cx.win().HScroll1.value();
    cx.st.DevTemperature[at(cx.dev())] = static_cast<int16_t>(h - 20);
    cx.rec().TempSlider = static_cast<int16_t>(h);
    showTemperature(cx);
    if (send(cx, CmdSetTemperature, {0, 0, 0, 0, 0, 0, 0, byteOf(h)})) return true;
    return SendDelayUnit(cx, cx.prog().Ext[18]);
}

// ---------------------------------------------------------------- peak limiter

bool SendLimiterBypass(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    auto& flags = cx.rec().LimiterBypass;
    flags[at(ch)] = flags[at(ch)] != 0 ? 0 : 1;
    cx.prog().Params[at(cx.st.Tables.LimiterBypassAddr)] = outputBits(flags[1] != 0, flags[2] != 0);
    const bool failed = sendLimiter(cx, ch);
    if (!failed) UpgLimiterBypassButton(cx, ch);
    return failed;
}

void UpgLimiterBypassButton(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return;
    FrmCtrl& w = cx.win();
    paintBypass(w.Command13[at(ch)], w.Frame8[at(ch + 2)], cx.rec().LimiterBypass[at(ch)]);
}

bool SendLimiterThreshold(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    w.Text500[at(ch)].Text = numberText(cx, (150 - w.Slider500[at(ch)].value()) / 5.0 - 18.0);
    cx.prog().Params[at(cx.st.Tables.LimiterBase[at(ch)] + 2)] = byteOf(150 - w.Slider500[at(ch)].value());
    return sendLimiter(cx, ch);
}

bool SendLimiterRelease(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int r = 29 - w.Slider503[at(ch)].value();
    w.Text503[at(ch)].Text = numberText(cx, cx.st.Tables.ReleaseTimes[at(r)]);
    cx.prog().Params[at(cx.st.Tables.LimiterBase[at(ch)] + 1)] = byteOf(r);
    return sendLimiter(cx, ch);
}

bool SendLimiterAttack(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int a = 29 - w.Slider504[at(ch)].value();
    w.Text504[at(ch)].Text = numberText(cx, cx.st.Tables.AttackTimes[at(a)]);
    cx.prog().Params[at(cx.st.Tables.LimiterBase[at(ch)])] = byteOf(a);
    return sendLimiter(cx, ch);
}

// ---------------------------------------------------------------- RMS compressor

bool SendCompBypass(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    auto& flags = cx.rec().CompBypass;
    flags[at(ch)] = flags[at(ch)] != 0 ? 0 : 1;
    cx.prog().Params[at(cx.st.Tables.CompBypassAddr)] = outputBits(flags[1] != 0, flags[2] != 0);
    const bool failed = sendCompressor(cx, ch);
    if (!failed) UpgCompBypassButton(cx, ch);
    return failed;
}

void UpgCompBypassButton(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return;
    FrmCtrl& w = cx.win();
    paintBypass(w.Command14[at(ch)], w.Frame8[at(ch)], cx.rec().CompBypass[at(ch)]);
}

bool SendCompThreshold(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    w.Text400[at(ch)].Text = numberText(cx, (150 - w.Slider400[at(ch)].value()) / 5.0 - 18.0);
    cx.prog().Params[at(cx.st.Tables.CompBase[at(ch)])] = byteOf(150 - w.Slider400[at(ch)].value());
    return sendCompressor(cx, ch);
}

bool SendCompRatio(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int n = 31 - w.Slider401[at(ch)].value();
    w.Text401[at(ch)].Text = cx.st.Tables.RatioLabels[at(n)];
    cx.prog().Params[at(cx.st.Tables.CompBase[at(ch)] + 1)] = byteOf(n);
    return sendCompressor(cx, ch);
}

bool SendCompKnee(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int k = 100 - w.Slider402[at(ch)].value();
    w.Text402[at(ch)].Text = QString::number(k) + " %";
    cx.prog().Params[at(cx.st.Tables.CompBase[at(ch)] + 2)] = byteOf(k);
    return sendCompressor(cx, ch);
}

bool SendCompRelease(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int r = 29 - w.Slider403[at(ch)].value();
    w.Text403[at(ch)].Text = numberText(cx, cx.st.Tables.ReleaseTimes[at(r)]);
    cx.prog().Params[at(cx.st.Tables.CompBase[at(ch)] + 3)] = byteOf(r);
    return sendCompressor(cx, ch);
}

bool SendCompAttack(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    const int a = 29 - w.Slider404[at(ch)].value();
    w.Text404[at(ch)].Text = numberText(cx, cx.st.Tables.AttackTimes[at(a)]);
    cx.prog().Params[at(cx.st.Tables.CompBase[at(ch)] + 4)] = byteOf(a);
    return sendCompressor(cx, ch);
}

// ---------------------------------------------------------------- polarity, link frequency

bool SendPolarity(WindowContext& cx, int ch) {
    if (!validOutput(ch) || !hasDevice(cx)) return false;
    if (cx.link.Busy()) return true;
    FrmCtrl& w = cx.win();
    cx.rec().Polarity[at(ch)] = w.Check2[at(ch)].value() == 0 ? 0 : 1;
    // A box counts as ticked for any value but 0, as the record does; a greyed box never sets a
    // bit of the other output.
    const uint8_t bits = outputBits(w.Check2[1].value() != 0, w.Check2[2].value() != 0);
    cx.prog().Params[at(cx.st.Tables.PolarityAddr)] = bits;
    return send(cx, CmdSetPolarity, {byteOf(ch), 0, 0, 0, 0, 0, 0, bits});
}

void ApplyLinkFrequency(WindowContext& cx, const QString& text, int k) {
    if (k < 0 || k >= kXoverFilters) return;
    FrmCtrl& w = cx.win();
    if (w.Check1[at(k)].value() != 1) return;
    for (TextBox* t : {&w.Text8[at(k)], &w.Text10[at(k)], &w.Text11[at(k)], &w.Text13[at(k)]})
        t->Text = text;
}

// ---------------------------------------------------------------- lock state, view option

void ApplyLockState(WindowContext& cx) {
    if (!hasDevice(cx)) return;
    FrmCtrl& w = cx.win();
    const bool enabled = !(cx.rec().UnitLock == 1.0);
    for (Frame& f : w.Frame25)
        f.Enabled = enabled;
    // The program, memory and utility buttons, the delete and rename buttons included.
    for (int i : {0, 1, 2, 6, 8, 9, 10, 11})
        w.Command2[at(i)].Enabled = enabled;
    w.Command11.Enabled = enabled;
    w.Command18.Enabled = enabled;
    w.Command19.Enabled = enabled;
}

void SetViewOption(WindowContext& cx, int i) {
    if (i < 0 || i > 3 || !hasDevice(cx)) return;
    const int k = i / 2;
    auto& flags = cx.st.AddInputGain[at(cx.st.CurSlot)];
    flags[at(k)] = static_cast<int16_t>(i & 1);
    cx.prog().Options[at(40 + k)] = byteOf(flags[at(k)]);
}
