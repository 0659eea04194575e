#pragma once
// The routines that repeat an edit of the current window's device on every other device of the
// link group. The edit handlers call them after the device's own setter (and, where the handler
// redraws, after the redraw). Channels are 0 input, 1 and 2 the outputs; bands 0..18.

class LinkedRoutines {
  public:
    virtual ~LinkedRoutines() = default;

    // ---- Equaliser ----
    // Repeats band b as the current device now holds it.
    virtual void LinkEqBand(int b) = 0;
    // Repeats "EQ Flat" of channel ch.
    virtual void LinkEqFlat(int ch) = 0;
    // Repeats the equaliser bypass of channel ch.
    virtual void LinkEqBypass(int ch) = 0;

    // ---- Scalar parameters ----
    virtual void LinkGain(int ch) = 0;
    virtual void LinkMute(int ch) = 0;
    virtual void LinkDynLoudness() = 0;
    virtual void LinkDelay(int ch) = 0;
    virtual void LinkDelayUnit() = 0;
    virtual void LinkTemperature() = 0;
    virtual void LinkTempUnit() = 0;
};
