#include "support/SimEnv.h"

#include "params/Setters.h"
#include "support/RecordingFakes.h"
#include "window/EditingWindowParts.h"

#include <gtest/gtest.h>

namespace {

constexpr int kDev = 5; // bank 'e', ID 5
constexpr int kSlot = 2;

// A device at bus address 5 on the simulated bus, its window open in slot 2 and current, its
// image holding the default program.
struct SetterEnv : SimEnv {
    RecordingGraph graph;
    RecordingLinked linked;
    EditingWindowParts parts{st, link, sv, linked, &graph};
    CtrlWindowSlots& wins = parts.windows;
    WindowContext& cx = parts.context;
    RecordingFailureSink sink;

    SetterEnv() {
        bus.addDevice(kDev);
        st.SlotTable[kSlot] = WinSlotRec{-1, kDev, kSlot};
        st.DeviceWindowOpen[kDev] = true;
        st.DeviceSlot[kDev] = kSlot;
        st.ReportCommErrors = true;
        link.setFailureSink(&sink);
        auto& p = st.DevProgs[kDev].Params;
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), p.begin());
        w().LoadCorrectWindow();
    }
    FrmCtrl& w() { return wins.CtrlWindow(kSlot); }
    DeviceRec& rec() { return st.DevRecs[kDev]; }
    ProgRecord& prog() { return st.DevProgs[kDev]; }
    Frame13 last() const { return bus.frames.empty() ? Frame13{} : bus.frames.back(); }
    // Frame to device 5 with the command and data bytes D1..D8.
    static Frame13 frame(int cmd, std::initializer_list<int> d) {
        Frame13 f{0xF0, 0x65, kDev, static_cast<uint8_t>(cmd), 0, 0, 0, 0, 0, 0, 0, 0, 0xF7};
        size_t i = 4;
        for (int b : d)
            f[i++] = static_cast<uint8_t>(b);
        return f;
    }
    void silence() { bus.device(kDev)->silent = true; }
};

} // namespace

// ---- Gain, mute, loudness ----

TEST(GainSetterTest, SliderPositionsGiveTextRecordByteAndFrame) {
    struct Case {
        int ch, v;
        const char* text;
        float db;
        int byte;
    };
    const Case cases[] = {
        {0, 23, "0.5", 0.5f, 73}, {0, 25, "-0.5", -0.5f, 71}, {1, 24, "0", 0.f, 72},
        {2, 0, "12", 12.f, 96},   {1, 96, "-36", -36.f, 0},
    };
    for (const auto& c : cases) {
        SetterEnv env;
        const int base = env.st.Tables.GainBase[c.ch];
        env.prog().Params[base] = 0x11; // the first gain byte is carried, never written
        env.w().Slider1[c.ch].setValue(c.v);
        EXPECT_FALSE(SendGain(env.cx, c.ch));
        EXPECT_EQ(env.w().Text1[c.ch].Text, c.text) << c.v;
        EXPECT_FLOAT_EQ(env.rec().ChanGain[c.ch], c.db);
        EXPECT_EQ(env.prog().Params[base + 1], c.byte);
        EXPECT_EQ(env.last(), SetterEnv::frame(0x01, {c.ch, 0, 0, 0, 0, 0, 0x11, c.byte})) << c.v;
    }
}

TEST(MuteSetterTest, BitsAcrossTogglesAndButtonPaint) {
    SetterEnv env;
    env.rec().Mute = {1, 0, 0};
    struct Step {
        int ch, bits;
        const char* caption;
    };
    const Step steps[] = {{2, 5, "Muted"}, {1, 7, "Muted"}, {0, 6, "Mute"}, {1, 4, "Mute"}};
    for (const auto& s : steps) {
        EXPECT_FALSE(SendMute(env.cx, s.ch));
        EXPECT_EQ(env.prog().Params[40], s.bits);
        EXPECT_EQ(env.last(), SetterEnv::frame(0x09, {s.ch, 0, 0, 0, 0, 0, 0, s.bits}));
        EXPECT_EQ(env.w().Command4[s.ch].Caption, s.caption);
        EXPECT_EQ(env.w().Command4[s.ch].BackColor, QString(s.caption) == "Muted" ? kRed : kButtonFace);
    }
}

TEST(MuteSetterTest, FlagHoldingTwoTogglesToMutedAndOthersPackAsOneBit) {
    SetterEnv env;
    env.rec().Mute = {2, 2, 0};
    EXPECT_FALSE(SendMute(env.cx, 0));
    EXPECT_EQ(env.rec().Mute[0], 1);
    // Channel 1 still holds 2, which the button shows as not muted: it sets no bit.
    EXPECT_EQ(env.prog().Params[40], 1);
    env.st.DemoMode = true; // nothing is sent, the button is painted all the same
    env.bus.frames.clear();
    EXPECT_FALSE(SendMute(env.cx, 2));
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_EQ(env.w().Command4[2].BackColor, kRed);
}

TEST(LoudnessSetterTest, CheckStatesGiveByteIndicatorAndFrame) {
    struct Case {
        int check, byte;
        ColorValue colour;
    };
    for (const Case c : {Case{1, 1, kYellow}, Case{0, 0, kButtonFace}, Case{2, 0, kButtonFace}}) {
        SetterEnv env;
        env.w().Check5.setValue(c.check);
        EXPECT_FALSE(SendDynLoudness(env.cx));
        EXPECT_EQ(env.prog().Params[31], c.byte);
        EXPECT_EQ(env.w().Shape4.FillColor, c.colour);
        EXPECT_EQ(env.last(), SetterEnv::frame(0x21, {0, 0, 0, 0, 0, 0, 0, c.byte}));
    }
}

// ---- Failed sends ----

TEST(FailedSendTest, ToggleKeepsNewStateAndLeavesButtonUnpainted) {
    {
        SetterEnv env;
        env.silence();
        EXPECT_TRUE(SendMute(env.cx, 1));
        EXPECT_EQ(env.rec().Mute[1], 1);
        EXPECT_EQ(env.prog().Params[40], 2);
        EXPECT_EQ(env.w().Command4[1].Caption, "Mute");
        EXPECT_EQ(env.w().Command4[1].BackColor, kButtonFace);
        EXPECT_EQ(env.sink.closed, std::vector<int>{kDev});
        EXPECT_EQ(env.msg.texts(), QStringList{" El sistema terminara la comunicacion con este equipo"});
    }
    {
        SetterEnv env;
        env.silence();
        EXPECT_TRUE(SendLimiterBypass(env.cx, 2));
        EXPECT_EQ(env.prog().Params[203], 4);
        EXPECT_EQ(env.w().Command13[2].BackColor, kButtonFace);
        EXPECT_TRUE(env.w().Frame8[4].Enabled);
    }
    {
        SetterEnv env;
        env.silence();
        EXPECT_TRUE(SendCompBypass(env.cx, 1));
        EXPECT_EQ(env.prog().Params[204], 2);
        EXPECT_EQ(env.w().Command14[1].BackColor, kButtonFace);
        EXPECT_TRUE(env.w().Frame8[1].Enabled);
    }
}

TEST(FailedSendTest, DelayKeepsOldSamplesAndTemperatureSkipsTheDelays) {
    SetterEnv env;
    env.st.DevTemperature[kDev] = 20;
    env.st.DelaySamples[kDev][1] = 123;
    env.silence();
    env.w().UpDown2[1].setValue(10);
    EXPECT_TRUE(SendDelay(env.cx, 1));
    EXPECT_EQ(env.st.DelaySamples[kDev][1], 123);
    EXPECT_EQ(env.prog().Params[54], 10);
    env.bus.frames.clear();
    env.w().HScroll1.setValue(30);
    EXPECT_TRUE(SendTemperature(env.cx));
    EXPECT_EQ(env.st.DevTemperature[kDev], 10);
    EXPECT_EQ(env.rec().TempSlider, 30);
    EXPECT_TRUE(env.bus.framesWithCommand(CmdWriteByte).empty()); // the delay unit is not sent
}

TEST(FailedSendTest, UnitSendStopsBeforeAnyTextChanges) {
    SetterEnv env;
    env.silence();
    env.w().Text2[0].Text = "old";
    env.w().Label13.Caption = "old";
    EXPECT_TRUE(SendDelayUnit(env.cx, 1));
    EXPECT_EQ(env.rec().DelayUnit, 1);
    EXPECT_EQ(env.w().Text2[0].Text, "old");
    EXPECT_TRUE(SendTempUnit(env.cx, 1));
    EXPECT_EQ(env.rec().TempUnit, 1);
    EXPECT_EQ(env.w().Label13.Caption, "old");
}

TEST(BusyLinkTest, NoSetterChangesAnythingWhileAPingWaits) {
    SetterEnv env;
    env.bus.addDevice(9).replyDelay = 0.1;
    const ProgRecord image = env.prog();
    std::vector<bool> stop;
    env.events.hook = [&] {
        if (stop.empty()) stop = {SendMute(env.cx, 1), SendGain(env.cx, 0), SendDelayUnit(env.cx, 1)};
    };
    ASSERT_TRUE(env.link.PingDevice(9, CmdPing));
    EXPECT_EQ(stop, (std::vector<bool>{true, true, true})); // each handler stops
    EXPECT_EQ(env.prog(), image);
    EXPECT_EQ(env.rec().Mute[1], 0);
    EXPECT_EQ(env.rec().DelayUnit, 0);
    EXPECT_TRUE(env.bus.device(kDev)->received.empty());
}

// ---- Delay and temperature ----

TEST(DelaySetterTest, TimeAndDistanceTextsSamplesAndBytes) {
    struct Case {
        int coarse, fine, temp;
        const char* ms;
        const char* m;
        int samples;
    };
    const Case cases[] = {
        {1, 0, 20, "0.9903 ms", "0.34 m", 47},
        {1, 0, -20, "1.0648 ms", "0.34 m", 51},
        {790, 48, 20, "783.3847 ms", "268.936 m", 37602},
        {0, 1, 20, "0.0203 ms", "0.007 m", 0},
        // Summing 0.34 and 0.007 steps in floating point and cutting to five decimals would
        // show 1.02699 m; whole millimetres give the distance the counts stand for.
        {3, 1, 20, "2.9915 ms", "1.027 m", 143},
        {300, 9, 20, "297.2997 ms", "102.063 m", 14270},
    };
    for (const auto& c : cases) {
        for (int unit : {0, 1}) {
            SetterEnv env;
            env.st.DevTemperature[kDev] = static_cast<int16_t>(c.temp);
            env.rec().DelayUnit = static_cast<int16_t>(unit);
            env.w().UpDown2[2].setValue(c.coarse);
            env.w().UpDown1[2].setValue(c.fine);
            EXPECT_FALSE(SendDelay(env.cx, 2));
            EXPECT_EQ(env.w().Text2[2].Text, unit == 0 ? c.ms : c.m) << c.coarse << "/" << c.fine;
            EXPECT_EQ(env.st.DelaySamples[kDev][2], c.samples) << c.coarse << "/" << c.fine;
            EXPECT_EQ(env.rec().DelayCoarse[2], c.coarse);
            EXPECT_EQ(env.rec().DelayFine[2], c.fine);
            const int hi = c.coarse >> 8, lo = c.coarse & 0xFF;
            EXPECT_EQ(env.prog().Params[129], hi);
            EXPECT_EQ(env.prog().Params[130], lo);
            EXPECT_EQ(env.prog().Params[131], c.fine);
            EXPECT_EQ(env.last(), SetterEnv::frame(0x02, {2, 0, 0, 0, 0, hi, lo, c.fine}));
        }
    }
}

TEST(DelaySetterTest, UnitRewritesAllThreeChannelsAndSendsOneByte) {
    SetterEnv env;
    env.st.DevTemperature[kDev] = 20;
    {
        // The steppers are set as a program load sets them, without their own procedures.
        const auto quiet = RaiseSuppressEvents(env.st);
        for (int ch = 0; ch < 3; ++ch)
            env.w().UpDown2[ch].setValue(ch + 1);
    }
    EXPECT_FALSE(SendDelayUnit(env.cx, 1));
    EXPECT_EQ(env.bus.frames.size(), 1u);
    EXPECT_EQ(env.last(), SetterEnv::frame(0x11, {0, 18, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(env.prog().Ext[18], 1);
    EXPECT_EQ(env.w().Text2[0].Text, "0.34 m");
    EXPECT_EQ(env.w().Text2[1].Text, "0.68 m");
    EXPECT_EQ(env.w().Text2[2].Text, "1.02 m");
    EXPECT_EQ(env.st.DelaySamples[kDev][0], 47);
    EXPECT_FALSE(SendDelayUnit(env.cx, 0));
    EXPECT_EQ(env.last(), SetterEnv::frame(0x11, {0, 18, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(env.w().Text2[0].Text, "0.9903 ms");
}

TEST(TemperatureSetterTest, CaptionsAtBothEndsAndBothUnits) {
    struct Case {
        int h, unit;
        const char* caption;
    };
    const Case cases[] = {{0, 0, "-20"},
                          {0, 1, "-4.0 "},
                          {70, 0, "50"},
                          {70, 1, "122.0"},
                          {40, 3, "68.0 "}}; // any unit but 0 shows Fahrenheit
    for (const auto& c : cases) {
        SetterEnv env;
        env.w().HScroll1.setValue(c.h);
        EXPECT_FALSE(SendTempUnit(env.cx, c.unit));
        EXPECT_EQ(env.w().Label13.Caption, c.caption) << c.h << "/" << c.unit;
        EXPECT_EQ(env.last(), SetterEnv::frame(0x11, {0, 21, 0, 0, c.unit == 0 ? 0 : 1, 0, 0, 0}));
        env.bus.frames.clear();
        EXPECT_FALSE(SendTemperature(env.cx));
        EXPECT_EQ(env.w().Label13.Caption, c.caption);
        EXPECT_EQ(env.st.DevTemperature[kDev], c.h - 20);
        EXPECT_EQ(env.rec().TempSlider, c.h);
        ASSERT_EQ(env.bus.frames.size(), 2u);
        EXPECT_EQ(env.bus.frames[0], SetterEnv::frame(0x06, {0, 0, 0, 0, 0, 0, 0, c.h}));
    }
}

TEST(TemperatureSetterTest, MoveResendsDelayUnitAndRecomputesTimesOnly) {
    for (int unit : {0, 1}) {
        SetterEnv env;
        env.prog().Ext[18] = static_cast<uint8_t>(unit);
        env.rec().DelayUnit = static_cast<int16_t>(unit);
        env.w().HScroll1.setValue(40); // 20 degrees
        env.w().UpDown2[1].setValue(1);
        EXPECT_FALSE(SendTemperature(env.cx));
        EXPECT_FALSE(SendDelay(env.cx, 1));
        const QString before = env.w().Text2[1].Text;
        env.bus.frames.clear();
        {
            const auto quiet = RaiseSuppressEvents(env.st); // the bar's own procedure stays out
            env.w().HScroll1.setValue(0);                   // -20 degrees
        }
        EXPECT_FALSE(SendTemperature(env.cx));
        ASSERT_EQ(env.bus.frames.size(), 2u);
        EXPECT_EQ(env.bus.frames[0], SetterEnv::frame(0x06, {0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(env.bus.frames[1], SetterEnv::frame(0x11, {0, 18, 0, 0, unit, 0, 0, 0}));
        EXPECT_EQ(env.w().Text2[1].Text, unit == 0 ? QString("1.0648 ms") : before);
        EXPECT_EQ(env.st.DelaySamples[kDev][1], 51);
    }
}

TEST(TemperatureSetterTest, UnitsFromAnImageAreHeldToTheControlsRange) {
    SetterEnv env;
    env.prog().Ext[18] = 7; // not a delay unit
    env.w().UpDown2[0].setValue(1);
    env.w().HScroll1.setValue(40);
    EXPECT_FALSE(SendTemperature(env.cx));
    EXPECT_EQ(env.last(), SetterEnv::frame(0x11, {0, 18, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(env.rec().DelayUnit, 1);
    EXPECT_EQ(env.w().Text2[0].Text, "0.34 m");
    // A temperature outside -20..50 is taken at the nearest end.
    env.st.DevTemperature[kDev] = 200;
    env.rec().DelayUnit = 0;
    EXPECT_FALSE(SendDelay(env.cx, 0));
    EXPECT_EQ(env.w().Text2[0].Text, "0.941 ms");
}

// ---- Limiter ----

TEST(LimiterSetterTest, ParameterTextsAndBytes) {
    struct Case {
        bool (*setter)(WindowContext&, int);
        int which; // 0 threshold, 1 release, 2 attack
        int v;
        const char* text;
        int byte;
    };
    const Case cases[] = {
        {SendLimiterThreshold, 0, 0, "12", 150},  {SendLimiterThreshold, 0, 1, "11.8", 149},
        {SendLimiterThreshold, 0, 150, "-18", 0}, {SendLimiterRelease, 1, 29, "0.1", 0},
        {SendLimiterRelease, 1, 0, "3", 29},      {SendLimiterRelease, 1, 20, "1", 9},
        {SendLimiterAttack, 2, 0, "200", 29},     {SendLimiterAttack, 2, 29, "5", 0},
    };
    for (const auto& c : cases) {
        for (int ch : {1, 2}) {
            SetterEnv env;
            FrmCtrl& w = env.w();
            Slider* sliders[] = {&w.Slider500[ch], &w.Slider503[ch], &w.Slider504[ch]};
            TextBox* texts[] = {&w.Text500[ch], &w.Text503[ch], &w.Text504[ch]};
            sliders[c.which]->setValue(c.v);
            EXPECT_FALSE(c.setter(env.cx, ch));
            EXPECT_EQ(texts[c.which]->Text, c.text);
            const int base = env.st.Tables.LimiterBase[ch];
            const int offset = c.which == 0 ? 2 : (c.which == 1 ? 1 : 0);
            EXPECT_EQ(env.prog().Params[base + offset], c.byte);
            const auto& p = env.prog().Params;
            // The frame carries all three limiter bytes and the bypass bits of both outputs.
            EXPECT_EQ(env.last(),
                      SetterEnv::frame(0x16, {ch, 0, 0, 0, p[203], p[base], p[base + 1], p[base + 2]}));
        }
    }
}

TEST(LimiterSetterTest, BypassBitsButtonAndFrame) {
    SetterEnv env;
    const auto& p = env.prog().Params;
    EXPECT_FALSE(SendLimiterBypass(env.cx, 2));
    EXPECT_EQ(p[203], 4);
    EXPECT_EQ(env.last(), SetterEnv::frame(0x16, {2, 0, 0, 0, 4, p[126], p[127], p[128]}));
    EXPECT_EQ(env.w().Command13[2].BackColor, kRed);
    EXPECT_FALSE(env.w().Frame8[4].Enabled);
    EXPECT_TRUE(env.w().Frame8[3].Enabled);
    EXPECT_FALSE(SendLimiterBypass(env.cx, 1));
    EXPECT_EQ(p[203], 6);
    EXPECT_EQ(env.last(), SetterEnv::frame(0x16, {1, 0, 0, 0, 6, p[50], p[51], p[52]}));
    EXPECT_FALSE(SendLimiterBypass(env.cx, 2));
    EXPECT_EQ(p[203], 2);
    EXPECT_EQ(env.w().Command13[2].BackColor, kButtonFace);
    EXPECT_TRUE(env.w().Frame8[4].Enabled);
}

// ---- Compressor ----

TEST(CompressorSetterTest, ParameterTextsAndBytes) {
    struct Case {
        bool (*setter)(WindowContext&, int);
        int which; // 0 threshold .. 4 attack, also the image offset
        int v;
        const char* text;
        int byte;
    };
    const Case cases[] = {
        {SendCompThreshold, 0, 75, "-3", 75}, {SendCompThreshold, 0, 0, "12", 150},
        {SendCompRatio, 1, 31, "1:1 ", 0},    {SendCompRatio, 1, 0, "32:1", 31},
        {SendCompRatio, 1, 28, "4:1 ", 3},    {SendCompKnee, 2, 60, "40 %", 40},
        {SendCompKnee, 2, 0, "100 %", 100},   {SendCompRelease, 3, 20, "1", 9},
        {SendCompAttack, 4, 0, "200", 29},    {SendCompAttack, 4, 19, "15", 10},
    };
    for (const auto& c : cases) {
        SetterEnv env;
        FrmCtrl& w = env.w();
        const int ch = 2;
        Slider* sliders[] = {&w.Slider400[ch], &w.Slider401[ch], &w.Slider402[ch], &w.Slider403[ch],
                             &w.Slider404[ch]};
        TextBox* texts[] = {&w.Text400[ch], &w.Text401[ch], &w.Text402[ch], &w.Text403[ch], &w.Text404[ch]};
        sliders[c.which]->setValue(c.v);
        EXPECT_FALSE(c.setter(env.cx, ch));
        EXPECT_EQ(texts[c.which]->Text, c.text);
        const int base = env.st.Tables.CompBase[ch];
        const auto& p = env.prog().Params;
        EXPECT_EQ(p[base + c.which], c.byte);
        EXPECT_EQ(env.last(), SetterEnv::frame(0x07, {ch, 0, p[204], p[base + 4], p[base + 3], p[base + 2],
                                                      p[base + 1], p[base]}));
    }
}

TEST(CompressorSetterTest, WorkedFrameAndBypassChangesOnlyD3) {
    SetterEnv env;
    auto& p = env.prog().Params;
    p[56] = 90, p[57] = 3, p[58] = 50, p[59] = 10, p[60] = 20;
    env.w().Slider400[1].setValue(150 - 90);
    EXPECT_FALSE(SendCompThreshold(env.cx, 1));
    EXPECT_EQ(env.last(), SetterEnv::frame(0x07, {1, 0, 0, 20, 10, 50, 3, 90}));
    EXPECT_FALSE(SendCompBypass(env.cx, 1));
    EXPECT_EQ(env.last(), SetterEnv::frame(0x07, {1, 0, 2, 20, 10, 50, 3, 90}));
    EXPECT_EQ(env.w().Command14[1].BackColor, kRed);
    EXPECT_FALSE(env.w().Frame8[1].Enabled);
    EXPECT_FALSE(SendCompBypass(env.cx, 2));
    EXPECT_EQ(p[204], 6);
}

// ---- Polarity and link frequency ----

TEST(PolaritySetterTest, BitsFromBothBoxes) {
    struct Case {
        int box1, box2, ch, bits, flag;
    };
    const Case cases[] = {
        {0, 1, 2, 4, 1}, {1, 1, 1, 6, 1},
        {0, 0, 1, 0, 0}, {1, 0, 1, 2, 1}, // output 1's frame carries output 2's bit as well
        {2, 1, 1, 6, 1},                  // a greyed box counts as ticked and never reaches the next bit
    };
    for (const auto& c : cases) {
        SetterEnv env;
        env.w().Check2[1].setValue(c.box1);
        env.w().Check2[2].setValue(c.box2);
        EXPECT_FALSE(SendPolarity(env.cx, c.ch));
        EXPECT_EQ(env.prog().Params[201], c.bits);
        EXPECT_EQ(env.rec().Polarity[c.ch], c.flag);
        EXPECT_EQ(env.last(), SetterEnv::frame(0x03, {c.ch, 0, 0, 0, 0, 0, 0, c.bits}));
    }
}

TEST(LinkFrequencyTest, TickedFilterTakesTheTextInAllFourSections) {
    SetterEnv env;
    FrmCtrl& w = env.w();
    ApplyLinkFrequency(env.cx, "250", 2);
    EXPECT_EQ(w.Text11[2].Text, "1000"); // unticked: the caller's own field changes, nothing else
    w.Check1[2].setValue(1);
    ApplyLinkFrequency(env.cx, "250", 2);
    for (const TextBox* t : {&w.Text8[2], &w.Text10[2], &w.Text11[2], &w.Text13[2]})
        EXPECT_EQ(t->Text, "250");
    for (int k : {0, 1, 3})
        EXPECT_EQ(w.Text8[k].Text, "1000");
    EXPECT_TRUE(env.bus.frames.empty());
}

// ---- Lock and view option ----

TEST(LockStateTest, OnlyExactlyOneLocks) {
    for (double lock : {1.0, 0.0, 0.5, 2.0}) {
        SetterEnv env;
        env.rec().UnitLock = lock;
        ApplyLockState(env.cx);
        FrmCtrl& w = env.w();
        const std::vector<const Control*> controls = {
            &w.Frame25[0],  &w.Frame25[1],  &w.Frame25[2],   &w.Command2[0],  &w.Command2[1],
            &w.Command2[8], &w.Command2[9], &w.Command2[10], &w.Command2[11], &w.Command11,
            &w.Command18,   &w.Command19,   &w.Command2[2],  &w.Command2[6]};
        for (const Control* c : controls)
            EXPECT_EQ(c->Enabled, lock != 1.0) << lock;
        EXPECT_TRUE(w.Check10.Enabled);
        EXPECT_TRUE(env.bus.frames.empty());
    }
}

TEST(ViewOptionTest, OutputPlusInputFlagsAndImageBytes) {
    SetterEnv env;
    auto& flags = env.st.AddInputGain[kSlot];
    flags = {1, 0};
    SetViewOption(env.cx, 3);
    EXPECT_EQ(flags[1], 1);
    EXPECT_EQ(env.prog().Options[41], 1);
    EXPECT_EQ(env.prog().Byte(1019), 1);
    EXPECT_EQ(flags[0], 1);
    SetViewOption(env.cx, 0);
    EXPECT_EQ(flags[0], 0);
    EXPECT_EQ(env.prog().Options[40], 0);
    SetViewOption(env.cx, 1);
    EXPECT_EQ(env.prog().Byte(1018), 1);
    SetViewOption(env.cx, 9); // no such option: nothing changes
    EXPECT_EQ(flags, (std::array<int16_t, 2>{1, 1}));
}

// ---- Decimal comma ----

TEST(DecimalCommaTest, ShownValuesUseTheLocalesSign) {
    SetterEnv env;
    env.st.DecimalComma = 1;
    env.st.DevTemperature[kDev] = 20;
    FrmCtrl& w = env.w();
    w.Slider1[0].setValue(25);
    SendGain(env.cx, 0);
    EXPECT_EQ(w.Text1[0].Text, "-0,5");
    EXPECT_FLOAT_EQ(env.rec().ChanGain[0], -0.5f);
    w.UpDown2[0].setValue(1);
    SendDelay(env.cx, 0);
    EXPECT_EQ(w.Text2[0].Text, "0,9903 ms");
    w.Slider500[1].setValue(1);
    SendLimiterThreshold(env.cx, 1);
    EXPECT_EQ(w.Text500[1].Text, "11,8");
    w.Slider403[2].setValue(27);
    SendCompRelease(env.cx, 2);
    EXPECT_EQ(w.Text403[2].Text, "0,3");
    w.HScroll1.setValue(0);
    SendTempUnit(env.cx, 1);
    EXPECT_EQ(w.Label13.Caption, "-4.0 "); // the Fahrenheit captions are fixed texts
}

// ---- The current window ----

TEST(CurrentWindowTest, SettersFollowCurSlot) {
    SetterEnv env;
    env.bus.addDevice(38);
    env.st.SlotTable[7] = WinSlotRec{-1, 38, 7};
    FrmCtrl& other = env.wins.CtrlWindow(7);
    other.Slider1[1].setValue(0);
    other.LoadCorrectWindow();
    EXPECT_FALSE(SendGain(env.cx, 1));
    EXPECT_EQ(env.last(), FrameOf({0xF0, 0x66, 5, 0x01, 1, 0, 0, 0, 0, 0, 0, 96, 0xF7}));
    EXPECT_EQ(env.st.DevProgs[38].Params[49], 96);
    EXPECT_EQ(env.prog().Params[49], 72);
    EXPECT_EQ(env.w().Text1[1].Text, "0");
}
