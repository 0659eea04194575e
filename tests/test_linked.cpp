// Linked devices: the walk over the link group, the scalar link routines and the input graph of a
// member's open window, on the simulated bus with the program's own link routines and graph.
#include "support/SimEnv.h"

#include "bus/FrmSearchNet.h"
#include "params/Setters.h"
#include "window/EditingWindowParts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

size_t U(int i) {
    return static_cast<size_t>(i);
}

struct LinkedEnv : SimEnv {
    EditingWindowParts parts{st, link, sv};
    ModDevLinked& linked = parts.devLinked;
    WindowContext& ctx = parts.context;
    FrmSearchNet list{st, sv, link};

    LinkedEnv() {
        list.setEditingWindows(&parts.service);
        link.setFailureSink(&list);
    }

    // Devices on the bus, listed in this order with the default program, all present; `members`
    // have their "Link" cell set.
    void group(const std::vector<int>& listed, const std::vector<int>& members) {
        for (int a : listed) {
            if (!bus.device(a)) bus.addDevice(a);
            st.DevTable[U(a)].Present = 1;
            st.ModelCode[U(a)] = a < 33 ? 1 : 2;
            auto& img = st.DevProgs[U(a)].Params;
            std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), img.begin());
        }
        listDevices(listed);
        for (int a : members)
            st.LinkOn[U(st.DeviceRow[U(a)])] = true;
    }

    // Shows device dev's window in slot `slot` as the device list does.
    FrmCtrl& open(int dev, int slot) {
        st.SlotTable[U(slot)] = WinSlotRec{-1, static_cast<int16_t>(dev), static_cast<int16_t>(slot)};
        st.NextSlot = static_cast<int16_t>(slot);
        ++st.OpenWindowCount;
        EXPECT_TRUE(parts.service.ShowEditingWindow(slot));
        return parts.windows.CtrlWindow(slot);
    }

    // Types a gain into channel ch's field and presses Enter, as the operator does.
    void typeGain(FrmCtrl& w, int ch, const std::string& keys) {
        w.Text1[U(ch)].Text.clear();
        for (char c : keys + "\r") {
            int key = c;
            w.Text1_KeyPress(ch, key);
            if (key != 13 && key != 0) w.Text1[U(ch)].Text += QChar(key);
        }
    }

    static int address(const Frame13& f) { return (f[1] == kBankSecond ? 33 : 0) + f[2]; }
    // Frames with command cmd that reached device a.
    std::vector<Frame13> to(int a, uint8_t cmd) const {
        std::vector<Frame13> out;
        for (const auto& f : bus.framesWithCommand(cmd))
            if (address(f) == a) out.push_back(f);
        return out;
    }
    // Bus addresses, in order, of the frames with command cmd other than to `except`.
    std::vector<int> receivers(uint8_t cmd, int except) const {
        std::vector<int> out;
        for (const auto& f : bus.framesWithCommand(cmd))
            if (address(f) != except) out.push_back(address(f));
        return out;
    }
};

} // namespace

// ---- The walk over the group ----

TEST(LinkWalkTest, OnlyOtherPresentMembersInAscendingOrderAndOnlyTheInputGain) {
    struct Case {
        const char* name;
        std::vector<int> listed;
        std::vector<int> members;
        std::vector<int> absent; // listed and linked, but did not answer the scan
        int ch;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"group of one", {1, 2, 3, 40}, {1}, {}, 0, {}},
        {"current device unlinked", {1, 2, 3, 40}, {2, 3, 40}, {}, 0, {}},
        {"absent member skipped", {1, 2, 3, 40}, {1, 2, 3, 40}, {3}, 0, {2, 40}},
        {"ascending, not list order", {40, 3, 2, 1}, {40, 1, 3, 2}, {}, 0, {2, 3, 40}},
        {"output gain not linked", {1, 2, 3, 40}, {1, 2, 3, 40}, {}, 1, {}},
    };
    for (const auto& c : cases) {
        LinkedEnv env;
        env.group(c.listed, c.members);
        for (int a : c.absent)
            env.st.DevTable[U(a)].Present = 0;
        FrmCtrl& w = env.open(1, 0);
        const auto images = env.st.DevProgs;
        env.bus.frames.clear();
        env.typeGain(w, c.ch, "-6");
        EXPECT_EQ(env.receivers(CmdSetGain, 1), c.expected) << c.name;
        EXPECT_EQ(env.to(1, CmdSetGain).size(), 1u) << c.name;
        for (int a : c.listed) {
            if (a != 1 && std::find(c.expected.begin(), c.expected.end(), a) == c.expected.end()) {
                EXPECT_EQ(env.st.DevProgs[U(a)], images[U(a)]) << c.name << " device " << a;
            }
        }
    }
}

TEST(LinkWalkTest, AFailingMemberEndsTheWalk) {
    LinkedEnv env;
    env.group({1, 3, 40}, {1, 3, 40});
    env.bus.device(3)->silent = true;
    FrmCtrl& w = env.open(1, 0);
    const uint8_t before40 = env.st.DevProgs[40].Params[1];
    env.bus.frames.clear();

    env.typeGain(w, 0, "-6");

    EXPECT_EQ(env.st.DevProgs[3].Params[1], 60); // copied before its send failed
    EXPECT_TRUE(env.st.DeviceDisconnected[3]);
    EXPECT_TRUE(env.to(40, CmdSetGain).empty());
    EXPECT_EQ(env.st.DevProgs[40].Params[1], before40);
}

// ---- Gain and mute ----

TEST(LinkGainTest, MemberFrameWindowAndInputGraphFollowTheOutputGraphDoesNot) {
    LinkedEnv env;
    env.group({1, 2}, {1, 2});
    env.st.DevProgs[2].Params[0] = 0x5A; // the member's own byte before its gain byte
    env.st.AddInputGain[0] = 1;          // output 1 shown as "Output+Input"
    FrmCtrl& cur = env.open(1, 0);
    FrmCtrl& member = env.open(2, 1);
    const QImage output1 = member.Picture1[1].Image.copy();
    const QImage input = member.Picture1[0].Image.copy();

    env.bus.frames.clear();
    env.typeGain(cur, 0, "0");
    ASSERT_EQ(env.to(2, CmdSetGain).size(), 1u);
    EXPECT_EQ(env.to(2, CmdSetGain)[0], DeviceFrameFor(2, CmdSetGain, Data8{0, 0, 0, 0, 0, 0, 0x5A, 72}));

    env.bus.frames.clear();
    env.typeGain(cur, 0, "-6");
    EXPECT_EQ(env.to(2, CmdSetGain).size(), 1u); // the member's slider starts no second walk
    EXPECT_EQ(env.to(1, CmdSetGain).size(), 1u);
    EXPECT_EQ(member.Slider1[0].value(), 36);
    EXPECT_EQ(member.Text1[0].Text, "-6");
    EXPECT_FLOAT_EQ(env.st.DevRecs[2].ChanGain[0], -6.0f);
    EXPECT_EQ(env.st.DevProgs[2].Params[1], 60);

    EXPECT_NE(member.Picture1[0].Image, input);
    EXPECT_EQ(member.Picture1[1].Image, output1);
    // The input graph is what the member's own redraw gives.
    const QImage linkedInput = member.Picture1[0].Image.copy();
    env.parts.modGraph.RedrawGraph(1, 0);
    EXPECT_EQ(member.Picture1[0].Image, linkedInput);
}

TEST(LinkMuteTest, OutputMuteKeepsTheMembersOtherBitsAndPaintsItsButton) {
    for (bool demo : {false, true}) {
        LinkedEnv env;
        env.group({1, 2}, {1, 2});
        FrmCtrl& cur = env.open(1, 0);
        FrmCtrl& member = env.open(2, 1);
        env.st.DevRecs[2].Mute = {1, 0, 0}; // the member's input is muted, device 1's is not
        env.st.DemoMode = demo;
        env.bus.frames.clear();

        cur.Command4_Click(1);

        EXPECT_EQ(env.st.DevProgs[2].Params[U(env.st.Tables.MuteAddr)], 3) << demo;
        EXPECT_EQ(env.st.DevRecs[2].Mute[1], 1) << demo;
        EXPECT_EQ(member.Command4[1].Caption, "Muted") << demo;
        EXPECT_EQ(member.Command4[1].BackColor, RGBValue(255, 0, 0)) << demo;
        const auto frames = env.to(2, CmdSetMute);
        if (demo) {
            EXPECT_TRUE(frames.empty());
        } else {
            ASSERT_EQ(frames.size(), 1u);
            EXPECT_EQ(frames[0], DeviceFrameFor(2, CmdSetMute, Data8{1, 0, 0, 0, 0, 0, 0, 3}));
        }
    }
}

// ---- Temperature and units ----

TEST(LinkTemperatureTest, ClosedMemberGetsTheTemperatureOpenOneAlsoUnitAndDelayTexts) {
    struct Case {
        int unit;
        int fine;
        const char* text;
        int samples;
    };
    const Case cases[] = {
        {0, 0, "2.9711 ms", 142},
        {1, 0, "1.02 m", 142},
        {1, 1, "1.027 m", 143},
    };
    for (const auto& c : cases) {
        LinkedEnv env;
        env.group({1, 2, 3}, {1, 2, 3});
        env.st.DevRecs[1].DelayUnit = static_cast<int16_t>(c.unit);
        env.st.DevProgs[1].Ext[18] = static_cast<uint8_t>(c.unit);
        env.st.DevRecs[2].DelayUnit = static_cast<int16_t>(1 - c.unit);
        env.st.DevProgs[2].Ext[18] = static_cast<uint8_t>(1 - c.unit);
        FrmCtrl& cur = env.open(1, 0);
        FrmCtrl& member = env.open(2, 1);
        {
            const auto quiet = RaiseSuppressEvents(env.st);
            member.UpDown2[0].setValue(3);
            member.UpDown1[0].setValue(c.fine);
            cur.HScroll1.setValue(40); // 20 °C
        }
        env.st.CurSlot = 0;
        env.bus.frames.clear();
        ASSERT_FALSE(SendTemperature(env.ctx));
        env.linked.LinkTemperature();

        const Frame13 temperature = DeviceFrameFor(2, CmdSetTemperature, Data8{0, 0, 0, 0, 0, 0, 0, 40});
        EXPECT_EQ(env.to(2, CmdSetTemperature), std::vector<Frame13>{temperature});
        EXPECT_EQ(env.to(2, CmdWriteByte),
                  std::vector<Frame13>{
                      DeviceFrameFor(2, CmdWriteByte, Data8{0, 18, 0, 0, uint8_t(c.unit), 0, 0, 0})});
        EXPECT_EQ(env.to(3, CmdSetTemperature).size(), 1u);
        EXPECT_TRUE(env.to(3, CmdWriteByte).empty());
        EXPECT_EQ(env.st.DevTemperature[3], 20);
        EXPECT_EQ(env.st.DevProgs[3].Ext[18], 0);

        EXPECT_EQ(env.st.DevTemperature[2], 20);
        EXPECT_EQ(member.HScroll1.value(), 40);
        EXPECT_EQ(env.st.DevRecs[2].DelayUnit, c.unit);
        EXPECT_TRUE(member.Option1[U(c.unit)].value()) << c.text;
        EXPECT_FALSE(member.Option1[U(1 - c.unit)].value()) << c.text;
        EXPECT_EQ(member.Text2[0].Text, c.text);
        EXPECT_EQ(env.st.DelaySamples[2][0], c.samples) << c.text;
    }
}

TEST(LinkTempUnitTest, MemberKeepsItsOwnTemperatureShownInTheNewUnit) {
    LinkedEnv env;
    env.group({1, 2}, {1, 2});
    env.st.DevRecs[2].TempSlider = 30; // 10 °C
    FrmCtrl& cur = env.open(1, 0);
    FrmCtrl& member = env.open(2, 1);
    {
        const auto quiet = RaiseSuppressEvents(env.st);
        cur.HScroll1.setValue(60);
        cur.Option6[1].setValue(true);
    }
    env.st.CurSlot = 0;
    env.bus.frames.clear();
    ASSERT_FALSE(SendTempUnit(env.ctx, 1));
    env.linked.LinkTempUnit();

    EXPECT_EQ(env.to(2, CmdWriteByte),
              std::vector<Frame13>{DeviceFrameFor(2, CmdWriteByte, Data8{0, 21, 0, 0, 1, 0, 0, 0})});
    EXPECT_EQ(env.st.DevRecs[2].TempUnit, 1);
    EXPECT_TRUE(member.Option6[1].value());
    EXPECT_EQ(member.HScroll1.value(), 30);
    EXPECT_EQ(member.Label13.Caption, env.st.Tables.FahrenheitLabels[30]);
}

// ---- Window load and the linked window graph ----

TEST(LinkedWindowTest, OpeningAMembersWindowChangesNoOtherMember) {
    LinkedEnv env;
    env.group({1, 2}, {1, 2});
    env.st.DevRecs[1].DelayUnit = 1; // the load selects "Distancia", whose handler runs
    env.st.DevProgs[1].Ext[18] = 1;
    const ProgRecord image2 = env.st.DevProgs[2];
    env.open(1, 0);
    EXPECT_EQ(env.st.DevProgs[2], image2);
    EXPECT_EQ(env.st.DevRecs[2].DelayUnit, 0);
    EXPECT_TRUE(env.bus.framesWithCommand(CmdWriteByte).empty());
}

TEST(LinkedWindowTest, InputGraphIsWhatTheWindowsOwnComputationDraws) {
    for (bool phase : {false, true}) {
        LinkedEnv env;
        env.group({1, 2}, {1, 2});
        env.open(1, 0);
        FrmCtrl& member = env.open(2, 1);
        DeviceRec& r = env.st.DevRecs[2];
        r.BandGain[1] = 9;
        r.BandFreq[1] = 250;
        r.BandQ[1] = 2;
        r.BandOff[1] = 0;
        env.st.BandType[2][1] = 0;
        env.st.DelaySamples[2][0] = 90; // the phase wraps many times
        if (phase) {
            const auto quiet = RaiseSuppressEvents(env.st);
            member.Option5[0].setValue(true);
        }
        const QImage before = member.Picture1[0].Image.copy();
        env.st.CurSlot = 0;

        env.linked.CalcLinkedBandGraph(5, 1); // an output band: nothing happens
        EXPECT_EQ(member.Picture1[0].Image, before) << phase;

        env.linked.CalcLinkedBandGraph(1, 1);
        const QImage linked = member.Picture1[0].Image.copy();
        const auto linkedPhase = env.st.Graph.Slot(1).OutPhase[0];
        EXPECT_NE(linked, before) << phase;

        env.st.CurSlot = 1;
        env.parts.programGraph.CalcBandGraph(1);
        EXPECT_EQ(member.Picture1[0].Image, linked) << phase;
        EXPECT_EQ(env.st.Graph.Slot(1).OutPhase[0], linkedPhase) << phase;
    }
}
