// The editing window's level meters: the poll of the device's meter codes and the LED bars of the
// input and both outputs, with the outputs' limit lamps and the compressor and limiter lamps.
//
// Meter m (0 input, 2 first output, 3 second output) owns the LEDs Shape1 7m .. 7m + 6, bottom to
// top; its level is the number of lit LEDs, counted from the bottom.
#include "common/Index.h"
#include "link/Protocol.h"
#include "window/FrmCtrl.h"
#include "window/WindowContext.h"

#include <cmath>
#include <optional>

namespace {

constexpr int kPollIntervalMs = 30; // every tick after the first
constexpr int kMeters = 4;          // Shape1 holds four bars of seven
constexpr int kLedsPerMeter = 7;
constexpr int kLimitLed = 5;    // LED 5 of an output bar is its limit lamp
constexpr int kStatusLamps = 4; // Shape50: compressor 0, 1 and limiter 2, 3 of the outputs

// Reply bytes of the meter request.
constexpr size_t kInputCodeByte = 4;
constexpr size_t kStatusByte = 11;
constexpr int kCodeMask = 0x7F; // bit 7 is no part of a code
constexpr int kLimitBit = 0x20; // an output's limit lamp
constexpr int kOutputCodeMask = kCodeMask & ~kLimitBit;

constexpr ColorValue kLedGreen = RGBValue(0, 255, 0);
constexpr ColorValue kLedOrange = RGBValue(255, 128, 0);
constexpr ColorValue kLedRed = kRed;

// The level a meter code stands for: the first table entry equal to it. A code in no entry
// stands for nothing, and the meter keeps its level.
template <size_t N> std::optional<int> LevelOf(const std::array<int16_t, N>& table, int code) {
    for (size_t i = 0; i < N; ++i)
        if (table[i] == code) return static_cast<int>(i);
    return std::nullopt;
}

ColorValue LitColour(int led) {
    return led < kLimitLed ? kLedGreen : led == kLimitLed ? kLedOrange : kLedRed;
}
} // namespace

void FrmCtrl::bindMetersPanel() {
    // The window runs the element of its own slot.
    Timer1[U(slot_)].Tick = [this] { Timer1_Timer(slot_); };
}

void FrmCtrl::Timer1_Timer(int i) {
    // The inactive windows' ticks keep their interval and do nothing.
    if (i != st_.CurSlot || i < 0 || i >= kWindowSlots || !cx_) return;
    // While the window asks whether to close, a failed poll would close it under the question.
    if (closeAsking_) return;
    const WinSlotRec& rec = st_.SlotTable[U(i)];
    // While a request waits for its reply the tick only keeps the pace. A failed exchange leaves
    // ExchangeIdle lowered until the next one succeeds; once no exchange is under way any more the
    // poll goes on, so that the bars never hold stale levels (its own success raises the flag).
    if (st_.ExchangeIdle || !cx_->link.Waiting()) {
        const int dev = rec.Device;
        if (!ValidBusAddress(dev) || st_.DeviceDisconnected[U(dev)] || rec.InUse == 0) return;
        if (!st_.EditBusy) {
            const Exchange e = cx_->link.SendFrameEx(dev, CmdReadMeters);
            // The link has told the operator and closed this window.
            if (e == Exchange::FailedReported) return;
            // Only a reply that arrived is shown: in demo mode, or when the request was not sent,
            // the reply buffer holds something else and the meters stay as they are.
            if (e == Exchange::Done) showMeterReply(dev);
        }
    }
    if (rec.InUse != 0) Timer1[U(i)].Interval = kPollIntervalMs;
}

void FrmCtrl::showMeterReply(int dev) {
    const auto& rx = st_.RxBuf;
    const auto& mute = st_.DevRecs[U(dev)].Mute;
    auto& level = st_.MeterLevel[U(dev)];

    // A muted channel shows an empty bar, whatever the device reports.
    if (mute[0] == 1)
        level[0] = 0;
    else if (const auto l = LevelOf(st_.Tables.LedLevels8, rx[kInputCodeByte] & kCodeMask))
        level[0] = *l;

    // Output meters 2 and 3 show output channels 1 and 2 from reply bytes 6 and 7. The limit lamp
    // of a muted output keeps its last colour.
    for (int m : {2, 3}) {
        if (mute[U(m - 1)] == 1) {
            level[U(m)] = 0;
            continue;
        }
        const int code = rx[U(m + 4)];
        if (const auto l = LevelOf(st_.Tables.LedLevels7, code & kOutputCodeMask)) level[U(m)] = *l;
        Shape1[U(kLedsPerMeter * m + kLimitLed)].FillColor = (code & kLimitBit) ? kLedOrange : kButtonFace;
    }

    // Bit b of the status byte lights lamp b.
    for (int b = 0; b < kStatusLamps; ++b)
        Shape50[U(b)].FillColor = ((rx[kStatusByte] >> b) & 1) ? kLedOrange : kButtonFace;

    PaintMeterSevenLeds(0);
    PaintMeterSixLeds(2);
    PaintMeterSixLeds(3);
}

void FrmCtrl::PaintMeterSevenLeds(int m) {
    paintMeter(m, false);
}

void FrmCtrl::PaintMeterSixLeds(int m) {
    paintMeter(m, true);
}

void FrmCtrl::paintMeter(int m, bool sixLeds) {
    const int dev = st_.SlotTable[U(slot_)].Device;
    if (m < 0 || m >= kMeters || !ValidBusAddress(dev)) return;
    const double level = st_.MeterLevel[U(dev)][U(m)];
    const int leds = sixLeds ? kLedsPerMeter - 1 : kLedsPerMeter;
    if (level < 0 || level > leds || level != std::floor(level)) return;
    const int lit = static_cast<int>(level);
    for (int j = 0; j < leds; ++j) {
        // The six-LED bar skips LED 5, its limit lamp: its sixth LED is the top one.
        const int led = sixLeds && j >= kLimitLed ? j + 1 : j;
        Shape1[U(kLedsPerMeter * m + led)].FillColor = j < lit ? LitColour(led) : kButtonFace;
    }
}
