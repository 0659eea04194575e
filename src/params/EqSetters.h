#pragma once
// Equaliser band and crossover filter setters, and the equaliser view procedures of the current
// editing window (slot CurSlot) and its device.
//
// Like the other setters, each one that sends returns true when its exchange failed and the
// failure was reported (the device was then marked disconnected and its window closed), or,
// having changed nothing, while a ping waits with events running; callers of a sequence stop on
// true.
#include "common/BandNumbering.h"
#include "params/Setters.h"

// ---- Pure rules of the band setter ----
// Band gain in dB of gain slider position v (0 = +15 dB, 30 = 0 dB, 60 = -15 dB).
constexpr double EqGainOfSlider(int v) {
    return (60 - v) / 2.0 - 15;
}
// Q of band Q index i: 0.3 + 0.1 i.
constexpr double EqQOfIndex(int i) {
    return 0.1 * i + 0.3;
}
// Width text value: the width table entry cut to four decimals.
double EqWidthShown(const ConstantTables& t, int i);
// Whether the device admits frequency f with quality q for band type `type`: All Pass II, Band
// Pass and Notch Filter need a bandwidth it can realise; every other type is admitted.
bool EqBandAdmitted(int type, double f, double q);
// Band type held in the image or the records, brought into 0..16.
int ClampBandType(int type);

// ---- Enabled states of a window's equaliser controls ----
// One rule for the setters of the current window and for the windows of linked devices.
// Band b of window w: while the band is off its bypass button is red and all its controls are
// disabled; while it is on the button shows the button face, the type button, marker and
// frequency controls are enabled and the gain and Q controls as its type uses them.
void ShowBandControlStates(FrmCtrl& w, int b, bool off, int type);
// Channel ch's equaliser bypass button (red while bypassed), equaliser frame and "EQ Flat"
// button (disabled while bypassed) of window w.
void ShowEqBypassControls(FrmCtrl& w, int ch, bool bypassed);

// ---- Setters ----
// Applies band b's controls to the records, the image and the device (command 0x05), or refuses
// a type/frequency/Q the device does not admit and puts the band back as the image holds it.
bool SendEqBand(WindowContext& c, int b);
// Applies crossover filter k's panel to the records, the image and the device (0x08, then 0x04).
bool SendXover(WindowContext& c, int k);

// ---- Equaliser view ----
bool ToggleEqBypass(WindowContext& c, int ch);
void ShowEqBypassState(WindowContext& c, int ch);
// Every band of channel ch at 0 dB and switched off, each sent and recomputed; stops at the
// first band whose send failed.
bool SetEqFlat(WindowContext& c, int ch);
void ToggleBandBypass(WindowContext& c, int b);
void ShowBandBypassState(WindowContext& c, int b);
void RedrawChannelBands(WindowContext& c, int ch);
void RedrawChannelResponse(WindowContext& c, int ch);
void ShowGraphCursor(WindowContext& c, int ch);
// The overlay of output graph k + 1 from its "View Right"/"View Left" box, kept for the current
// window's slot and in its device's image; redraws that graph.
void ApplyViewChannelCheck(WindowContext& c, int k);
