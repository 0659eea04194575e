// Linked devices on the simulated bus, with the program's link routines and response graph.
#include "common/Index.h"
#include "support/LinkedEnv.h"

#include "params/Setters.h"

#include <gtest/gtest.h>

TEST(LinkedTest, WalkServesOtherPresentMembersAscendingUntilOneFails) {
    struct Case {
        const char* name;
        std::vector<int> listed, members;
        int absent, silent, ch;
        std::vector<int> reached; // devices sent the gain and given its image byte, in order
    };
    const Case cases[] = {
        {"group of one", {1, 2, 3, 40}, {1}, -1, -1, 0, {}},
        {"current device unlinked", {1, 2, 3, 40}, {2, 3, 40}, -1, -1, 0, {}},
        {"absent member skipped", {1, 2, 3, 40}, {1, 2, 3, 40}, 3, -1, 0, {2, 40}},
        {"ascending, not list order", {40, 3, 2, 1}, {40, 1, 3, 2}, -1, -1, 0, {2, 3, 40}},
        {"output gain not linked", {1, 2, 3, 40}, {1, 2, 3, 40}, -1, -1, 1, {}},
        {"failing member ends the walk", {1, 3, 40}, {1, 3, 40}, -1, 3, 0, {3}},
    };
    for (const auto& c : cases) {
        LinkedEnv env(c.listed, c.members);
        if (c.absent >= 0) env.st.DevTable[U(c.absent)].Present = 0;
        if (c.silent >= 0) env.bus.device(c.silent)->silent = true;
        FrmCtrl& w = env.open(1, 0);
        w.Slider1[U(c.ch)].setValue(36); // -6 dB
        w.ApplyGainSlider(c.ch);
        std::vector<int> reached; // in the order of the frames, retries counted once
        for (const auto& f : env.bus.framesWithCommand(CmdSetGain)) {
            const int a = LinkedEnv::address(f);
            if (a != 1 && (reached.empty() || reached.back() != a) && env.st.DevProgs[U(a)].Params[1] == 60)
                reached.push_back(a);
        }
        EXPECT_EQ(reached, c.reached) << c.name;
    }
}

TEST(LinkedTest, GainAndMuteReachTheMemberItsWindowAndInputGraphOnly) {
    LinkedEnv env({1, 2}, {1, 2});
    env.st.DevProgs[2].Params[0] = 0x5A; // the member's own byte before its gain byte
    env.st.DevProgs[2].Options[40] = 1;  // the member shows output 1 as "Output+Input"
    FrmCtrl& cur = env.open(1, 0);
    FrmCtrl& member = env.open(2, 1);
    const QImage output1 = member.Picture1[1].Image.copy();
    const QImage input = member.Picture1[0].Image.copy();
    cur.Text1[0].Text = "-6";
    int enter = 13;
    cur.Text1_KeyPress(0, enter);
    EXPECT_EQ(member.Slider1[0].value(), 36);
    EXPECT_EQ(member.Text1[0].Text, "-6");
    EXPECT_FLOAT_EQ(env.st.DevRecs[2].ChanGain[0], -6.0f);
    EXPECT_NE(member.Picture1[0].Image, input);
    EXPECT_EQ(member.Picture1[1].Image, output1);
    cur.Slider1[0].setValue(24); // 0 dB
    cur.ApplyGainSlider(0);
    ASSERT_EQ(env.to(2, CmdSetGain).size(), 2u); // one per edit: the member's slider fires nothing
    EXPECT_EQ(env.to(2, CmdSetGain)[1], DeviceFrameFor(2, CmdSetGain, Data8{0, 0, 0, 0, 0, 0, 0x5A, 72}));

    env.st.DevRecs[2].Mute = {1, 0, 0}; // the member's input is muted, device 1's is not
    cur.Command4_Click(1);
    EXPECT_EQ(env.to(2, CmdSetMute).back(), DeviceFrameFor(2, CmdSetMute, Data8{1, 0, 0, 0, 0, 0, 0, 3}));
    EXPECT_EQ(member.Command4[1].Caption, "Muted");
    EXPECT_EQ(member.Command4[1].BackColor, RGBValue(255, 0, 0));
}

TEST(LinkedTest, TemperatureGivesAnOpenMemberTheUnitAndDelayTextsTempUnitKeepsItsTemperature) {
    struct Case {
        int unit, fine;
        const char* text;
        int samples;
    };
    for (const Case& c :
         {Case{0, 0, "2.9711 ms", 142}, Case{1, 0, "1.02 m", 142}, Case{1, 1, "1.027 m", 143}}) {
        LinkedEnv env({1, 2, 3}, {1, 2, 3});
        env.st.DevRecs[1].DelayUnit = static_cast<int16_t>(c.unit);
        env.st.DevProgs[1].Ext[18] = static_cast<uint8_t>(c.unit);
        env.st.DevRecs[2].DelayUnit = static_cast<int16_t>(1 - c.unit);
        env.st.DevRecs[2].TempSlider = 30; // 10 °C
        FrmCtrl& cur = env.open(1, 0);
        FrmCtrl& member = env.open(2, 1);
        {
            const auto quiet = RaiseSuppressEvents(env.st);
            member.UpDown2[0].setValue(3);
            member.UpDown1[0].setValue(c.fine);
            cur.HScroll1.setValue(40); // 20 °C
        }
        env.st.CurSlot = 0;
        ASSERT_FALSE(SendTemperature(env.parts.context));
        env.parts.devLinked.LinkTemperature();
        EXPECT_EQ(env.to(3, CmdSetTemperature).size(), 1u);
        EXPECT_TRUE(env.to(3, CmdWriteByte).empty());
        EXPECT_EQ(env.to(2, CmdSetTemperature)[0],
                  DeviceFrameFor(2, CmdSetTemperature, Data8{0, 0, 0, 0, 0, 0, 0, 40}));
        EXPECT_EQ(env.to(2, CmdWriteByte).at(0),
                  DeviceFrameFor(2, CmdWriteByte, Data8{0, 18, 0, 0, uint8_t(c.unit), 0, 0, 0}));
        EXPECT_TRUE(member.Option1[U(c.unit)].value()) << c.text;
        EXPECT_EQ(member.Text2[0].Text, c.text);
        EXPECT_EQ(env.st.DelaySamples[2][0], c.samples) << c.text;

        // The member's own temperature stays; it is shown in the unit now linked.
        member.HScroll1.setValue(30);
        ASSERT_FALSE(SendTempUnit(env.parts.context, 1));
        env.parts.devLinked.LinkTempUnit();
        EXPECT_EQ(env.to(2, CmdWriteByte).back(),
                  DeviceFrameFor(2, CmdWriteByte, Data8{0, 21, 0, 0, 1, 0, 0, 0}));
        EXPECT_EQ(member.HScroll1.value(), 30);
        EXPECT_EQ(member.Label13.Caption, env.st.Tables.FahrenheitLabels[30]);
    }
}

TEST(LinkedTest, LoadChangesNoMemberAndTheInputGraphIsTheWindowsOwn) {
    LinkedEnv env({1, 2}, {1, 2});
    env.st.DevRecs[1].DelayUnit = 1; // the load selects "Distancia", whose handler runs
    env.st.DevProgs[1].Ext[18] = 1;
    const ProgRecord image2 = env.st.DevProgs[2];
    env.open(1, 0);
    EXPECT_EQ(env.st.DevProgs[2], image2);
    EXPECT_EQ(env.st.DevRecs[2].DelayUnit, 0);

    FrmCtrl& member = env.open(2, 1);
    env.st.DevRecs[2].BandGain[1] = 9;
    env.st.DelaySamples[2][0] = 90;
    member.Option5[0].setValue(true); // phase view: the input phase wraps
    const QImage before = member.Picture1[0].Image.copy();
    env.st.CurSlot = 0;
    env.parts.devLinked.CalcLinkedBandGraph(5, 1); // an output band: nothing happens
    EXPECT_EQ(member.Picture1[0].Image, before);
    env.parts.devLinked.CalcLinkedBandGraph(1, 1);
    const QImage linked = member.Picture1[0].Image.copy();
    EXPECT_NE(linked, before);

    // The curve is the member's own: the same device with the same values, drawn as the current
    // window of a program where no other device is open, gives the same picture.
    LinkedEnv alone({2}, {});
    FrmCtrl& own = alone.open(2, 1);
    alone.st.DevRecs[2].BandGain[1] = 9;
    alone.st.DelaySamples[2][0] = 90;
    own.Option5[0].setValue(true);
    alone.parts.programGraph.CalcBandGraph(1);
    EXPECT_EQ(linked, own.Picture1[0].Image);
    EXPECT_NE(env.st.DevRecs[1].BandGain[1], 9); // the current device's band differs
}

// A member that stopped answering during a linked edit: the operator is told, the member's window
// closes and its row is cleared, the current window stays, and once the failure's message is gone
// its meter poll goes on although the failed exchange left ExchangeIdle lowered.
TEST(LinkedTest, SilentMemberClosesItsWindowAndTheCurrentWindowsMetersGoOn) {
    LinkedEnv env({1, 2, 3}, {1, 2, 3});
    env.list.MSFlexGrid1.setCols(3); // the list's rows, one per listed device
    env.list.MSFlexGrid1.setRows(3);
    FrmCtrl& cur = env.open(1, 0);
    FrmCtrl& member = env.open(2, 1);
    cur.Form_Activate();
    env.bus.device(2)->silent = true;
    env.bus.device(1)->meters = {7, 0, 0, 0, 0, 0, 0, 0};
    size_t polledDuringMessage = 0;
    env.msg.whileShown = [&] {
        cur.Timer1_Timer(0); // a tick while the failed exchange still shows its message
        polledDuringMessage = env.to(1, CmdReadMeters).size();
    };
    cur.Text1[0].Text = "-6";
    int enter = 13;
    cur.Text1_KeyPress(0, enter);

    EXPECT_EQ(env.msg.texts(), QStringList{" El sistema terminara la comunicacion con este equipo"});
    EXPECT_FALSE(member.loaded());
    EXPECT_FALSE(member.Visible);
    EXPECT_TRUE(cur.loaded() && cur.Visible);
    EXPECT_EQ(env.st.CurSlot, 0);
    const int row = env.st.DeviceRow[2];
    EXPECT_FALSE(env.st.LinkOn[U(row)]);
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(row, 1), "Disconnected");
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(row, 2), "OFF");
    EXPECT_TRUE(env.to(3, CmdSetGain).empty()); // the walk ended at the silent member

    EXPECT_EQ(polledDuringMessage, 0u);
    ASSERT_FALSE(env.st.ExchangeIdle);
    cur.Timer1_Timer(0);
    EXPECT_EQ(env.to(1, CmdReadMeters).size(), 1u);
    EXPECT_EQ(cur.Shape1[2].FillColor, RGBValue(0, 255, 0)); // code 7: three LEDs lit
    EXPECT_EQ(cur.Shape1[3].FillColor, kButtonFace);
    EXPECT_TRUE(env.st.ExchangeIdle);
}

// The delay (typed and stepped), loudness and delay-unit handlers of the current window repeat
// their frame on the member, whose open window then shows what the current one shows; the
// member's own handlers stay quiet.
TEST(LinkedTest, DelayLoudnessAndDelayUnitHandlersReachTheMemberAndItsWindow) {
    struct Case {
        const char* name;
        uint8_t cmd;
        void (*act)(FrmCtrl&);
    };
    const Case cases[] = {
        {"delay typed", CmdSetDelay,
         [](FrmCtrl& w) {
             w.Text2[0].Text = "2.5";
             int enter = 13;
             w.Text2_KeyPress(0, enter);
         }},
        {"delay stepped", CmdSetDelay, [](FrmCtrl& w) { w.UpDown2[0].setValue(7); }},
        {"loudness", CmdSetLoudness, [](FrmCtrl& w) { w.Check5.setValue(1); }},
        {"delay unit", CmdWriteByte, [](FrmCtrl& w) { w.Option1[1].setValue(true); }},
    };
    for (const Case& c : cases) {
        LinkedEnv env({1, 2}, {1, 2});
        FrmCtrl& cur = env.open(1, 0);
        FrmCtrl& member = env.open(2, 1);
        cur.Form_Activate();
        c.act(cur);
        const auto own = env.to(1, c.cmd);
        const auto linked = env.to(2, c.cmd);
        ASSERT_EQ(own.size(), 1u) << c.name;
        ASSERT_EQ(linked.size(), 1u) << c.name;
        EXPECT_TRUE(std::equal(own[0].begin() + 4, own[0].end(), linked[0].begin() + 4)) << c.name;
        EXPECT_EQ(member.UpDown2[0].value(), cur.UpDown2[0].value()) << c.name;
        EXPECT_EQ(member.UpDown1[0].value(), cur.UpDown1[0].value()) << c.name;
        EXPECT_EQ(member.Text2[0].Text, cur.Text2[0].Text) << c.name;
        EXPECT_EQ(env.st.DelaySamples[2][0], env.st.DelaySamples[1][0]) << c.name;
        EXPECT_EQ(member.Check5.value(), cur.Check5.value()) << c.name;
        EXPECT_EQ(member.Shape4.FillColor, cur.Shape4.FillColor) << c.name;
        EXPECT_EQ(member.Option1[1].value(), cur.Option1[1].value()) << c.name;
        EXPECT_EQ(env.st.DevRecs[2].DelayUnit, env.st.DevRecs[1].DelayUnit) << c.name;
    }
}
