#pragma once
// The scalar parameter setters of the editing window. Each one works on the current window
// (CurSlot) and its device: it reads the window's controls, writes the shown value back in the
// locale's number format, keeps the value in the device's display record and program image, and
// sends one command frame built from the image bytes.
//
// A setter returns true when its send failed and the failure was reported (the link has then
// told the operator and closed the device's window), so that the caller stops; it also returns
// true, having changed nothing, while a ping waits with events running (`Link::Busy`). In demo mode,
// with the port not ready or while traffic is suspended nothing is sent and the setters carry on
// as after a successful send. Setters test no suppression flag and redraw no graph: the window's
// handlers do both.
#include "window/WindowContext.h"

#include <QString>

// ---- Mute, gain, loudness (channels 0..2) ----
bool SendMute(WindowContext& cx, int ch);
void UpgMuteButton(WindowContext& cx, int ch);
bool SendGain(WindowContext& cx, int ch);
bool SendDynLoudness(WindowContext& cx);

// ---- Delay and temperature ----
bool SendDelay(WindowContext& cx, int ch);
bool SendDelayUnit(WindowContext& cx, int unit); // 0 time, any other value distance
bool SendTempUnit(WindowContext& cx, int unit);  // 0 Celsius, any other value Fahrenheit
bool SendTemperature(WindowContext& cx);

// ---- Peak limiter (outputs 1..2) ----
bool SendLimiterBypass(WindowContext& cx, int ch);
void UpgLimiterBypassButton(WindowContext& cx, int ch);
bool SendLimiterThreshold(WindowContext& cx, int ch);
bool SendLimiterRelease(WindowContext& cx, int ch);
bool SendLimiterAttack(WindowContext& cx, int ch);

// ---- RMS compressor (outputs 1..2) ----
bool SendCompBypass(WindowContext& cx, int ch);
void UpgCompBypassButton(WindowContext& cx, int ch);
bool SendCompThreshold(WindowContext& cx, int ch);
bool SendCompRatio(WindowContext& cx, int ch);
bool SendCompKnee(WindowContext& cx, int ch);
bool SendCompRelease(WindowContext& cx, int ch);
bool SendCompAttack(WindowContext& cx, int ch);

// ---- Polarity (outputs 1..2) and crossover link frequency (filters 0..3) ----
bool SendPolarity(WindowContext& cx, int ch);
// With "Link Frequency" of filter k ticked, writes text into its four section frequency fields.
void ApplyLinkFrequency(WindowContext& cx, const QString& text, int k);

// ---- Unit lock and graph view option ----
// Disables the channel sections and the program, memory and utility buttons while the device's
// unit is locked (UnitLock exactly 1.0), enables them otherwise.
void ApplyLockState(WindowContext& cx);
// Option index i 0..3 of Option4: "Output" (0, 2) or "Output+Input" (1, 3) of graph i / 2 + 1,
// kept for the current window's slot and in its device's image.
void SetViewOption(WindowContext& cx, int i);

// Delay of a coarse and a fine count in metres, from whole millimetres (340 mm and 7 mm steps).
double DelayMetres(int coarse, int fine);
// Speed of sound in metres per millisecond at t degrees Celsius.
double SoundMetresPerMs(int t);

// A channel delay as its field shows it and the graph uses it: the coarse and fine counts at the
// device's air temperature (held within -20..50 °C), in the device's delay unit.
struct DelayReading {
    double shown;    // unit 0: milliseconds cut to four decimals; otherwise metres
    int32_t samples; // whole samples at 48 kHz, from the uncut time
    int unit;        // 0 time, 1 distance
};
DelayReading ReadDelay(int coarse, int fine, int temperature, int delayUnit);
// The delay field's text: the shown value followed by the unit's suffix (" ms" or " m").
QString DelayFieldText(const DelayReading& r, const ConstantTables& tables, int32_t decimalComma);
