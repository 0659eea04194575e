#pragma once
// Recording stand-ins for the response graph and the linked-device routines, shared by every
// test: each call is noted as a short text ("band 7", "redraw 1", "gain 0", "delayunit").
#include "common/AppState.h"
#include "linked/LinkedRoutines.h"
#include "params/EqServices.h"

#include <string>
#include <vector>

struct RecordingGraph : ResponseGraph {
    std::vector<std::string> calls;
    std::vector<int16_t> drawSuspendedAtCall; // DrawSuspended when each call was made
    const AppState* st = nullptr;

    void note(std::string s) {
        calls.push_back(std::move(s));
        drawSuspendedAtCall.push_back(st ? st->DrawSuspended : 0);
    }
    void CalcBandGraph(int b) override { note("band " + std::to_string(b)); }
    void CalcXoverGraph(int k) override { note("xover " + std::to_string(k)); }
    void RedrawGraph(int g) override { note("redraw " + std::to_string(g)); }
};

struct RecordingLinked : LinkedRoutines {
    std::vector<std::string> calls;

    void note(const char* what, int i) { calls.push_back(std::string(what) + " " + std::to_string(i)); }
    void LinkEqBand(int b) override { note("eqband", b); }
    void LinkEqFlat(int ch) override { note("eqflat", ch); }
    void LinkEqBypass(int ch) override { note("eqbypass", ch); }
    void LinkGain(int ch) override { note("gain", ch); }
    void LinkMute(int ch) override { note("mute", ch); }
    void LinkDynLoudness() override { calls.push_back("loudness"); }
    void LinkDelay(int ch) override { note("delay", ch); }
    void LinkDelayUnit() override { calls.push_back("delayunit"); }
    void LinkTemperature() override { calls.push_back("temperature"); }
    void LinkTempUnit() override { calls.push_back("tempunit"); }
};
