#include "graph/MarkerScale.h"
#include "support/EqTestEnv.h"

#include <gtest/gtest.h>

namespace {

// Puts the wanted state into band b's controls, as a handler does before the setter; the
// controls' own procedures do not run.
void SetBand(EqTestEnv& e, int b, int type, const QString& freq, int qIndex, int slider) {
    const auto quiet = RaiseSuppressEvents(e.st);
    e.st.BandType[EqTestEnv::kDev][static_cast<size_t>(b)] = static_cast<int16_t>(type);
    e.w().Text4[b].Text = freq;
    e.w().UpDown3[b].setValue(qIndex);
    e.w().Slider2[b].setValue(slider);
}

// Puts filter k's panel into the given state without running any handler.
void SetXover(EqTestEnv& e, int k, int type, std::array<const char*, 4> freqs, std::array<int, 4> qs) {
    FrmCtrl& w = e.w();
    const auto quiet = RaiseSuppressEvents(e.st); // set as code does, without the panel's handlers
    w.Combo2[k].setListIndex(type);
    w.Text8[k].Text = freqs[0];
    w.Text10[k].Text = freqs[1];
    w.Text11[k].Text = freqs[2];
    w.Text13[k].Text = freqs[3];
    w.UpDown12[k].setValue(qs[0]);
    w.UpDown9[k].setValue(qs[1]);
    w.UpDown10[k].setValue(qs[2]);
    w.UpDown11[k].setValue(qs[3]);
}

} // namespace

TEST(SendEqBandTest, WorkedFrameRecordImageAndMarker) {
    EqTestEnv e;
    SetBand(e, 7, 0, "1000", 7, 30);
    EXPECT_FALSE(SendEqBand(e.ctx, 7));
    ASSERT_EQ(e.bus.frames.size(), 1u);
    EXPECT_EQ(e.bus.frames[0],
              FrameOf({0xF0, 0x65, 0x05, 0x05, 0x01, 0x02, 0x00, 0x00, 0x03, 0xE8, 0x07, 0x1E, 0xF7}));
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(e.img().Params[97 + j], e.bus.frames[0][7 + j]) << j;
    EXPECT_FLOAT_EQ(e.rec().BandQ[7], 1.0f);
    EXPECT_EQ(e.w().UpDown4[7].value(), 1000);
    // The markers' one height scale, 48 twips a dB, held in whole twips cut down.
    EXPECT_EQ(MarkerTopOfGain(15, kFullMagScale), 782);   // 782.7 twips
    EXPECT_EQ(MarkerTopOfGain(-15, kFullMagScale), 2222); // 2222.7 twips
    EXPECT_EQ(MarkerLeftOfFrequency(e.st.Tables.TwipsPerDecade, 20000), 8595);
    EXPECT_EQ(e.w().Label5[7].Top, 1502); // 1502.7 twips
    EXPECT_TRUE(e.graph.calls.empty());   // the callers recompute the graph
}

TEST(SendEqBandTest, FrequencyClampGainQAndWidthTexts) {
    struct Case {
        const char *freq, *freqAfter, *gainText, *qText, *widthText;
        int slider, q;
        uint8_t hi, lo, gainByte;
    };
    const Case cases[] = {
        {"25000", "20000", "15", "0.3", "3.7042", 0, 0, 0x4E, 0x20, 60},
        {"5", "20", "0", "20", "0.0721", 30, 197, 0x00, 0x14, 30},
        {"1001.5", "1001.5", "-15", "1", "1.3884", 60, 7, 0x03, 0xEA, 0},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        SetBand(e, 2, 0, c.freq, c.q, c.slider);
        SendEqBand(e.ctx, 2);
        const auto& f = e.bus.frames.at(0);
        EXPECT_EQ(e.w().Text4[2].Text, c.freqAfter) << c.freq;
        EXPECT_EQ(e.w().Text9[2].Text, c.gainText) << c.freq;
        EXPECT_EQ(e.w().Text5[2].Text, c.qText) << c.freq;
        EXPECT_EQ(e.w().Text50[2].Text, c.widthText) << c.freq;
        EXPECT_EQ((std::array<int, 3>{f[8], f[9], f[11]}), (std::array<int, 3>{c.hi, c.lo, c.gainByte}))
            << c.freq;
    }
}

TEST(SendEqBandTest, ValidityRuleAtItsLimitsAndRestore) {
    struct Case {
        int type;
        const char* freq;
        int q;
        bool admitted;
    };
    const Case cases[] = {
        {14, "3000", 0, true},   {14, "4000", 0, false},   // f/Q 10000 and 13333
        {15, "20000", 14, true}, {15, "20000", 13, false}, // Q 1.7 and 1.6
        {16, "20000", 14, true}, {16, "20000", 13, false}, {16, "12000", 7, true}, {0, "20000", 0, true},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        // As last accepted: Lo Pass Q at 500 Hz, Q index 2, -5 dB, band off.
        SetBand(e, 14, 9, "500", 2, 40);
        e.rec().BandOff[14] = 1.0f;
        ASSERT_FALSE(SendEqBand(e.ctx, 14));
        const ProgRecord before = e.img();
        const DeviceRec recBefore = e.rec();
        e.rec().BandOff[14] = 0.0f; // switched on together with the new type
        SetBand(e, 14, c.type, c.freq, c.q, 10);
        EXPECT_FALSE(SendEqBand(e.ctx, 14));
        EXPECT_EQ(e.bus.frames.size(), c.admitted ? 2u : 1u) << c.type << " " << c.freq;
        EXPECT_EQ(e.msg.shown.size(), c.admitted ? 0u : 1u);
        if (c.admitted) continue;
        EXPECT_EQ(e.msg.shown[0].title, "EQ filter");
        EXPECT_EQ(e.msg.shown[0].text,
                  "Error: Parametro Q no admitido.\r\nPor favor cambie el valor Q o la Frecuencia");
        FrmCtrl& w = e.w();
        EXPECT_EQ(w.Slider2[14].value(), 40);
        EXPECT_EQ(w.Text9[14].Text, "-5");
        EXPECT_EQ(w.Text4[14].Text, "500");
        EXPECT_EQ(w.UpDown4[14].value(), 500);
        EXPECT_EQ(w.UpDown3[14].value(), 2);
        EXPECT_EQ(w.Text5[14].Text, "0.5");
        EXPECT_EQ(w.Text50[14].Text, "2.5431");
        EXPECT_EQ(e.st.BandType[EqTestEnv::kDev][14], 9);
        EXPECT_EQ(w.Command10[14].Caption, "Lo Pass Q");
        EXPECT_EQ(w.Command5[14].BackColor, kRed);
        EXPECT_EQ(e.img(), before);
        EXPECT_EQ(e.rec().BandOff, recBefore.BandOff);
        EXPECT_EQ(e.rec().BandGain, recBefore.BandGain);
        EXPECT_EQ(e.rec().BandFreq, recBefore.BandFreq);
    }
}

TEST(SendEqBandTest, EnabledStatesByTypeAndBandOff) {
    const bool gain[17] = {1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    const bool q[17] = {1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 1, 1, 1};
    for (int t = 0; t < 17; ++t) {
        EqTestEnv e;
        SetBand(e, 0, t, "1000", 50, 30);
        SendEqBand(e.ctx, 0);
        FrmCtrl& w = e.w();
        EXPECT_EQ(w.Text9[0].Enabled && w.Slider2[0].Enabled, gain[t]) << t;
        EXPECT_EQ(w.Text9[0].Enabled || w.Slider2[0].Enabled, gain[t]) << t;
        EXPECT_EQ(w.Text5[0].Enabled && w.Text50[0].Enabled && w.UpDown3[0].Enabled, q[t]) << t;
        EXPECT_EQ(w.Text5[0].Enabled || w.Text50[0].Enabled || w.UpDown3[0].Enabled, q[t]) << t;
        EXPECT_TRUE(w.Command10[0].Enabled && w.Label5[0].Enabled && w.Text4[0].Enabled &&
                    w.UpDown4[0].Enabled);
    }
    // Bands 5 and 7 off: mask 0x05, gain byte still from the slider, record gain 0, all disabled.
    EqTestEnv e;
    e.rec().BandOff[5] = 1.0f;
    e.rec().BandOff[7] = 1.0f;
    SetBand(e, 7, 0, "1000", 7, 20);
    SendEqBand(e.ctx, 7);
    EXPECT_EQ(e.bus.frames.at(0)[6], 0x05);
    EXPECT_EQ(e.bus.frames.at(0)[11], 40);
    EXPECT_EQ(e.img().Params[122], 0x05);
    EXPECT_FLOAT_EQ(e.rec().BandGain[7], 0);
    FrmCtrl& w = e.w();
    EXPECT_EQ(w.Command5[7].BackColor, kRed);
    for (const Control* c : std::initializer_list<const Control*>{&w.Command10[7], &w.Text9[7], &w.Label5[7],
                                                                  &w.Slider2[7], &w.Text4[7], &w.Text5[7],
                                                                  &w.Text50[7], &w.UpDown3[7], &w.UpDown4[7]})
        EXPECT_FALSE(c->Enabled);
}

TEST(SendEqBandTest, SuspendedOrFailedSendAndFrequencyWithoutNumber) {
    EqTestEnv e;
    e.st.CommSuspended = true;
    e.rec().BandOff[1] = 1.0f;
    SetBand(e, 1, 0, "800", 7, 30);
    EXPECT_FALSE(SendEqBand(e.ctx, 1));
    EXPECT_TRUE(e.bus.frames.empty());
    EXPECT_EQ(e.w().Command5[1].BackColor, kRed); // control states still applied

    e.w().Text4[1].Text = "?";
    EXPECT_FALSE(SendEqBand(e.ctx, 1));
    EXPECT_EQ(e.msg.shown.at(0).text, "  Valor de frecuencia incorrecto");
    EXPECT_EQ(e.w().Text4[1].Text, "800");

    EqTestEnv f;
    f.st.ReportCommErrors = true;
    f.device->silent = true;
    f.rec().BandOff[1] = 1.0f;
    SetBand(f, 1, 0, "800", 7, 30);
    EXPECT_TRUE(SendEqBand(f.ctx, 1));
    EXPECT_EQ(f.w().Command5[1].BackColor, kButtonFace); // no control state changed
    EXPECT_TRUE(f.w().Text4[1].Enabled);
}

TEST(SendXoverTest, WorkedBlockAndFrames) {
    EqTestEnv e;
    SetXover(e, 1, 7, {"2000", "1000", "1000", "1000"}, {13, 13, 0, 0});
    EXPECT_FALSE(SendXover(e.ctx, 1));
    const uint8_t block[13] = {0x07, 0xD0, 0x07, 0x0D, 0x03, 0xE8, 0x0D, 0x03, 0xE8, 0x00, 0x03, 0xE8, 0x00};
    for (int j = 0; j < 13; ++j)
        EXPECT_EQ(e.img().Params[74 + j], block[j]) << j;
    ASSERT_EQ(e.bus.frames.size(), 2u);
    EXPECT_EQ(e.bus.frames[0],
              FrameOf({0xF0, 0x65, 0x05, 0x08, 0x0D, 0x03, 0xE8, 0x00, 0x03, 0xE8, 0x00, 0x00, 0xF7}));
    EXPECT_EQ(e.bus.frames[1],
              FrameOf({0xF0, 0x65, 0x05, 0x04, 0x01, 0x01, 0x07, 0xD0, 0x07, 0x0D, 0x03, 0xE8, 0xF7}));
    FrmCtrl& w = e.w();
    for (const Control* c : std::initializer_list<const Control*>{
             &w.Text10[1], &w.Text11[1], &w.Text13[1], &w.Text12[1], &w.Text14[1], &w.Text15[1], &w.Text16[1],
             &w.UpDown6[1], &w.UpDown12[1], &w.Command7[1], &w.Command12[1]})
        EXPECT_FALSE(c->Enabled);
    EXPECT_TRUE(w.Check1[1].Enabled);
    EXPECT_FLOAT_EQ(e.rec().XoverType[1], 7);
    EXPECT_FLOAT_EQ(e.rec().XoverF1[1], 2000);
    EXPECT_FLOAT_EQ(e.rec().XoverQ1[1], 0.7f);
}

TEST(SendXoverTest, FieldClampsSteppersAndQTexts) {
    struct Case {
        const char *typed, *shown;
        int stepper;
    };
    const Case cases[] = {{"25000", "20000", 20000},  {"5", "20", 20},           {"-3", "20", 20},
                          {"19.9", "20", 20},         {"20", "20", 20},          {"20000", "20000", 20000},
                          {"1000.5", "1000.5", 1000}, {"1001.5", "1001.5", 1002}};
    for (const auto& c : cases) {
        EqTestEnv e;
        SetXover(e, 0, 17, {c.typed, "100", "100", "100"}, {0, 13, 19, 199});
        SendXover(e.ctx, 0);
        EXPECT_EQ(e.w().Text8[0].Text, c.shown) << c.typed;
        EXPECT_EQ(e.w().UpDown5[0].value(), c.stepper) << c.typed;
        EXPECT_EQ(e.img().Params[61] * 256 + e.img().Params[62], c.stepper) << c.typed;
        EXPECT_FLOAT_EQ(e.rec().XoverFreq[0], QString(c.shown).toFloat()) << c.typed;
        EXPECT_EQ(QStringList({e.w().Text12[0].Text, e.w().Text14[0].Text, e.w().Text15[0].Text,
                               e.w().Text16[0].Text}),
                  QStringList({"0.05", "0.7", "1", "10"}));
        EXPECT_FLOAT_EQ(e.rec().XoverQ2[0], 0.7f);
    }
}

TEST(SendXoverTest, EnabledStatesByTypeAndOutputBytes) {
    struct Row {
        int type;
        bool f2, f3, f4, q1, q2, q3, q4, bwHighPass, bwLowPass, lr;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  {10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {11, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0}, {12, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0},
        {13, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1}, {14, 1, 1, 0, 0, 1, 1, 0, 1, 0, 0},
        {15, 1, 1, 0, 1, 1, 1, 0, 1, 0, 1}, {16, 1, 1, 1, 0, 1, 1, 1, 1, 0, 0},
        {17, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1},
    };
    for (const auto& r : rows) {
        for (int k : {2, 3}) {
            EqTestEnv e;
            SetXover(e, k, r.type, {"100", "200", "300", "400"}, {1, 2, 3, 4});
            SendXover(e.ctx, k);
            FrmCtrl& w = e.w();
            const std::string at = std::to_string(r.type) + "/" + std::to_string(k);
            EXPECT_EQ(e.bus.frames.at(1)[4], 2) << at;
            EXPECT_EQ(e.bus.frames.at(1)[5], k % 2) << at;
            EXPECT_EQ(w.Text10[k].Enabled && w.UpDown6[k].Enabled, r.f2) << at;
            EXPECT_EQ(w.Text11[k].Enabled && w.UpDown7[k].Enabled, r.f3) << at;
            EXPECT_EQ(w.Text13[k].Enabled && w.UpDown8[k].Enabled, r.f4) << at;
            EXPECT_EQ(w.Text12[k].Enabled && w.UpDown12[k].Enabled, r.q1) << at;
            EXPECT_EQ(w.Text14[k].Enabled && w.UpDown9[k].Enabled, r.q2) << at;
            EXPECT_EQ(w.Text15[k].Enabled && w.UpDown10[k].Enabled, r.q3) << at;
            EXPECT_EQ(w.Text16[k].Enabled && w.UpDown11[k].Enabled, r.q4) << at;
            EXPECT_EQ(w.Command7[k].Enabled, k % 2 == 0 ? r.bwHighPass : r.bwLowPass) << at;
            EXPECT_EQ(w.Command12[k].Enabled, r.lr) << at;
            EXPECT_TRUE(w.Check1[k].Enabled && w.Text8[k].Enabled) << at;
        }
    }
}

TEST(SendXoverTest, FailedFirstSendStopsBeforeSecondAndStates) {
    EqTestEnv e;
    e.st.ReportCommErrors = true;
    e.device->silent = true;
    SetXover(e, 0, 17, {"100", "200", "300", "400"}, {1, 2, 3, 4});
    e.w().Command7[0].Enabled = false;
    EXPECT_TRUE(SendXover(e.ctx, 0));
    EXPECT_TRUE(e.bus.framesWithCommand(CmdSetXoverA).empty());
    EXPECT_FALSE(e.w().Command7[0].Enabled);
    EXPECT_TRUE(e.w().Text16[0].Enabled); // as it was
    // The record and image keep the new values.
    EXPECT_EQ(e.img().Params[61 + 2], 17);
}

TEST(EqViewTest, EqualiserBypassFramesAndState) {
    EqTestEnv e;
    EXPECT_FALSE(ToggleEqBypass(e.ctx, 0));
    EXPECT_EQ(e.img().Params[42], 1);
    EXPECT_EQ(e.bus.frames.back(), FrameOf({0xF0, 0x65, 0x05, 0x27, 0, 0, 0, 0, 0, 0, 0, 1, 0xF7}));
    ToggleEqBypass(e.ctx, 0);
    EXPECT_EQ(e.bus.frames.back()[11], 0);
    EXPECT_EQ(e.w().Command40[0].BackColor, kButtonFace);
    EXPECT_TRUE(e.w().Frame5[0].Enabled && e.w().Command1[0].Enabled);
    ToggleEqBypass(e.ctx, 2);
    EXPECT_EQ(e.img().Params[199], 1);
    EXPECT_EQ(e.w().Command40[2].BackColor, kRed);
    EXPECT_FALSE(e.w().Frame5[2].Enabled || e.w().Command1[2].Enabled);

    // A failed send keeps the new state but leaves the button unpainted.
    e.st.ReportCommErrors = true;
    e.device->silent = true;
    EXPECT_TRUE(ToggleEqBypass(e.ctx, 1));
    EXPECT_EQ(e.img().Params[123], 1);
    EXPECT_EQ(e.w().Command40[1].BackColor, kButtonFace);
}

TEST(EqViewTest, FlatActsOnItsChannelOnlyAndStopsOnFailure) {
    EqTestEnv e;
    for (int b = 0; b < 19; ++b)
        SetBand(e, b, 0, "1000", 7, 10);
    EXPECT_FALSE(SetEqFlat(e.ctx, 1));
    ASSERT_EQ(e.bus.frames.size(), 7u);
    for (int b = 5; b <= 11; ++b) {
        EXPECT_EQ(e.w().Command5[b].BackColor, kRed) << b;
        EXPECT_EQ(e.w().Slider2[b].value(), 30) << b;
        EXPECT_FLOAT_EQ(e.rec().BandOff[b], 1.0f);
        EXPECT_EQ(e.bus.frames[b - 5][5], b - 5);
        EXPECT_EQ(e.graph.calls[b - 5], "band " + std::to_string(b));
    }
    EXPECT_EQ(e.bus.frames.back()[6], 0x7F); // all seven bands off
    EXPECT_EQ(e.w().Slider2[4].value(), 10);
    EXPECT_EQ(e.w().Command5[12].BackColor, kButtonFace);

    EqTestEnv f;
    f.st.ReportCommErrors = true;
    f.device->silentAfter = 2;
    EXPECT_TRUE(SetEqFlat(f.ctx, 2));
    EXPECT_EQ(f.bus.framesWithCommand(CmdSetEqBand).size(), 2u + 5u); // two answered, one tried five times
    EXPECT_EQ(f.graph.calls, (std::vector<std::string>{"band 12", "band 13"}));
    EXPECT_FALSE(SetEqFlat(f.ctx, 3)); // no such channel
}

TEST(EqViewTest, BandBypassRedrawsCursorsAndOverlay) {
    EqTestEnv e;
    ToggleBandBypass(e.ctx, 9);
    EXPECT_FLOAT_EQ(e.rec().BandOff[9], 1.0f);
    EXPECT_EQ(e.w().Command5[9].BackColor, kRed);
    ToggleBandBypass(e.ctx, 9);
    EXPECT_EQ(e.w().Command5[9].BackColor, kButtonFace);
    EXPECT_TRUE(e.bus.frames.empty());

    RedrawChannelResponse(e.ctx, 2);
    RedrawChannelResponse(e.ctx, 0);
    EXPECT_EQ(e.graph.calls, (std::vector<std::string>{"band 12", "band 0"}));
    e.graph.calls.clear();
    RedrawChannelBands(e.ctx, 0);
    EXPECT_EQ(e.graph.calls.size(), 5u);
    e.graph.calls.clear();
    e.st.EqBypass[EqTestEnv::kDev][1] = 1;
    RedrawChannelBands(e.ctx, 1);
    EXPECT_EQ(e.graph.calls, (std::vector<std::string>{"band 5"}));

    e.w().Check3[2].setValue(1);
    ShowGraphCursor(e.ctx, 2);
    EXPECT_EQ(e.img().Options[32], 1);
    for (int b = 13; b <= 18; ++b) {
        EXPECT_TRUE(e.w().Label5[b].Visible) << b;
        EXPECT_GT(e.w().Label5[12].ZOrder, e.w().Label5[b].ZOrder) << b; // the first band on top
    }
    EXPECT_FALSE(e.w().Label5[11].Visible);
    e.w().Check3[2].setValue(0);
    ShowGraphCursor(e.ctx, 2);
    EXPECT_EQ(e.img().Options[32], 0);
    EXPECT_FALSE(e.w().Label5[12].Visible || e.w().Label5[18].Visible);

    e.graph.calls.clear();
    e.w().Check4[0].setValueSilently(1); // the box alone; its click would apply it itself
    ApplyViewChannelCheck(e.ctx, 0);
    EXPECT_EQ(e.st.OverlayOther[0][0], 1);
    EXPECT_EQ(e.st.OverlayOther[0][1], 0);
    EXPECT_EQ(e.img().Options[0], 1);
    EXPECT_EQ(e.graph.calls, (std::vector<std::string>{"redraw 1"}));
}
