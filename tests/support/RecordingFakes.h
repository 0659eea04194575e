#pragma once
// Recording stand-ins for the response graph, the linked-device routines and the top bar's program
// actions, shared by every test: each call is noted as a short text ("band 7", "redraw 1",
// "gain 0", "delayunit", "store").
#include "common/AppState.h"
#include "linked/LinkedRoutines.h"
#include "memories/ProgramActions.h"
#include "params/EqServices.h"

#include <functional>
#include <string>
#include <vector>

struct RecordingGraph : CurrentWindowGraph {
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

struct RecordingActions : ProgramActions {
    std::vector<std::string> calls;
    std::vector<bool> editBusyAtCall; // EditBusy when each call was made
    const AppState* st = nullptr;
    int speakerRecords = 255;                   // what the speaker list pick answers
    std::function<void(ProgressBar&)> download; // what the library download does with the bar

    void note(std::string s) {
        calls.push_back(std::move(s));
        editBusyAtCall.push_back(st && st->EditBusy);
    }
    void OpenProgramFile() override { note("openfile"); }
    void SaveProgramFile() override { note("savefile"); }
    void ShowDeleteProg() override { note("delete"); }
    void ShowStore() override { note("store"); }
    void ShowRead() override { note("read"); }
    void ShowCopy() override { note("copy"); }
    void SaveOutputPresetFile() override { note("savepreset"); }
    void OpenOutputPresetFile() override { note("openpreset"); }
    void ShowStorePrj() override { note("storeprj"); }
    void ShowType() override { note("type"); }
    int OpenSpeakerLibFile() override {
        note("speakerfile");
        return speakerRecords;
    }
    void DownloadSpeakerLib(ProgressBar& bar) override {
        note("download");
        if (download) download(bar);
    }
};
