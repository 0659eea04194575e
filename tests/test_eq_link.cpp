// Equaliser edits in device 1's window repeated on linked devices, on the simulated bus.
#include "params/EqSetters.h"
#include "support/LinkedEnv.h"

TEST(EqLinkTest, EqFlatSendsEachMemberItsBandsWithTheGrowingMaskUntilASendFails) {
    for (const int silentAfter : {-1, 2}) { // 2: device 2 falls silent at its third band
        LinkedEnv env({1, 2, 3}, {1, 2, 3});
        env.bus.device(2)->silentAfter = silentAfter;
        env.open(1, 0).Command1_Click(0);
        const auto& p = env.st.DevProgs[1].Params;
        for (int a : {2, 3}) {
            auto got = env.to(a, CmdSetEqBand);
            got.erase(std::unique(got.begin(), got.end()), got.end()); // a retry counted once
            ASSERT_EQ(got.size(), silentAfter < 0 ? 5u : a == 2 ? 3u : 0u) << a;
            for (size_t b = 0, i = 5; b < got.size(); ++b, i += 5)
                EXPECT_EQ(got[b], DeviceFrameFor(a, CmdSetEqBand,
                                                 Data8{0, uint8_t(b), uint8_t((2 << b) - 1), p[i], p[i + 1],
                                                       p[i + 2], p[i + 3], p[i + 4]}));
        }
    }
}

TEST(EqLinkTest, MemberWindowShowsTheBandAsTheCurrentWindowEnabledByTheSameRule) {
    enum Edit { Slide, Step, SwitchOff, Refused };
    // Band type, edit, then whether the gain and the Q controls are enabled.
    for (const auto& [type, edit, gain, q] :
         std::initializer_list<std::tuple<int, Edit, bool, bool>>{{15, Slide, true, true},
                                                                  {14, Step, false, true},
                                                                  {16, Slide, false, true},
                                                                  {0, SwitchOff, false, false},
                                                                  {15, Refused, true, true}}) {
        LinkedEnv env({1, 2}, {1, 2});
        FrmCtrl& m = env.open(2, 1);
        FrmCtrl& cur = env.open(1, 0);
        // The filter-type dialog sets and sends the type; the next edit of the band links it.
        env.st.BandType[1][2] = static_cast<int16_t>(type);
        ASSERT_FALSE(SendEqBand(env.parts.context, 2));
        int enter = 13;
        if (edit == Slide) cur.Slider2[2].setValue(10), cur.ApplyBandGainSlider(2);
        if (edit == Step) cur.UpDown4[2].setValue(2000); // its change procedure applies it
        if (edit == SwitchOff) cur.Command5_Click(2);
        if (edit == Refused) cur.Text4[2].Text = "20000", cur.Text4_KeyPress(2, enter); // too wide at Q 1
        ASSERT_EQ(env.to(2, CmdSetEqBand).size(), 1u) << type;
        auto band = [](const FrmCtrl& w) {
            return std::tuple(w.Slider2[2].value(), w.UpDown3[2].value(), w.UpDown4[2].value(),
                              w.Text4[2].Text, w.Text9[2].Text, w.Text5[2].Text, w.Text50[2].Text,
                              w.Command10[2].Caption, w.Label5[2].Left, w.Label5[2].Top,
                              w.Command5[2].BackColor);
        };
        EXPECT_TRUE(band(m) == band(cur) && cur.Text4[2].Text != "20000") << type;
        const bool on = edit != SwitchOff;
        EXPECT_EQ((std::vector<bool>{m.Command5[2].BackColor == kRed, m.Slider2[2].Enabled,
                                     m.Text9[2].Enabled, m.UpDown3[2].Enabled, m.Text5[2].Enabled,
                                     m.Text50[2].Enabled, m.Text4[2].Enabled, m.Label5[2].Enabled}),
                  (std::vector<bool>{!on, gain, gain, q, q, q, on, on}))
            << type;
        EXPECT_TRUE(env.st.Graph.Slot(1).OutMag[0] == env.st.Graph.Slot(0).OutMag[0]) << type;
    }
}

TEST(EqLinkTest, InputBypassReachesTheMemberWindowOutputEditsDoNot) {
    LinkedEnv env({1, 2}, {1, 2});
    FrmCtrl& m = env.open(2, 1);
    FrmCtrl& cur = env.open(1, 0);
    auto shown = [&] {
        return std::tuple(env.st.DevProgs[2], m.Slider2[6].value(), m.Command5[5].BackColor,
                          m.Command40[2].BackColor, m.Picture1[1].Image, m.Picture1[2].Image);
    };
    const auto before = shown();
    cur.Slider2[6].setValue(10), cur.ApplyBandGainSlider(6);
    cur.Command1_Click(1);
    cur.Command40_Click(2);
    EXPECT_EQ(env.to(1, CmdSetEqBand).size() + env.to(1, CmdSetEqBypass).size(), 1u + 7u + 1u);
    EXPECT_TRUE(env.to(2, CmdSetEqBand).empty() && env.to(2, CmdSetEqBypass).empty() && shown() == before);

    env.st.DevRecs[2].BandGain[1] = 9;
    env.st.DelaySamples[2][0] = 90;
    cur.Command40_Click(0);
    EXPECT_EQ(env.to(2, CmdSetEqBypass).at(0),
              DeviceFrameFor(2, CmdSetEqBypass, Data8{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_TRUE(m.Command40[0].BackColor == kRed && !m.Frame5[0].Enabled && !m.Command1[0].Enabled);
    const SlotResponse& r = env.st.Graph.Slot(1);
    auto delayAlone = [&] {
        return r.OutMag[0] == decltype(r.OutMag[0]){} && r.OutPhase[0] == r.DelayPhase[0] &&
               r.OutPhase[0] != decltype(r.OutPhase[0]){};
    };
    EXPECT_TRUE(delayAlone());
    // Band edits still reach the bypassed member; its controls follow the band's own off flag.
    cur.Slider2[1].setValue(10), cur.ApplyBandGainSlider(1);
    EXPECT_TRUE(env.to(2, CmdSetEqBand).size() == 1 && m.Slider2[1].value() == 10 && m.Slider2[1].Enabled &&
                delayAlone());
}
