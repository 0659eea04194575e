#include "params/ProgramLoad.h"
#include "support/EqTestEnv.h"

#include <gtest/gtest.h>

namespace {

// A program image with something distinctive in every section.
void FillImage(EqTestEnv& e) {
    auto& p = e.img().Params;
    std::copy(e.st.Tables.DefaultProgram.begin(), e.st.Tables.DefaultProgram.end(), p.begin());
    p[49] = 80;       // output 1 gain byte: slider 16
    p[125] = 50;      // output 2 gain byte: slider 46
    p[40] = 6;        // both outputs muted
    p[31] = 1;        // loudness on
    p[203] = 4;       // output 2 limiter bypassed
    p[126 + 2] = 100; // output 2 limiter threshold: slider 50
    p[204] = 2;       // output 1 compressor bypassed
    p[56 + 1] = 3;    // output 1 ratio: slider 28
    p[201] = 4;       // output 2 polarity inverted
    p[53] = 0x01;     // output 1 coarse delay 258, fine 7
    p[54] = 0x02;
    p[55] = 7;
    const uint8_t x2[13] = {0, 100, 0, 1, 0, 200, 2, 0x01, 0x2C, 3, 0x01, 0x90, 4}; // bypass type
    std::copy(std::begin(x2), std::end(x2), p.begin() + 137);
    p[150 + 2] = 40;                                 // crossover type beyond the list
    p[199] = 1;                                      // output 2 equaliser bypassed
    p[122] = 0x05;                                   // bands 5 and 7 off
    const uint8_t b14[5] = {200, 0x03, 0xE8, 7, 40}; // type beyond the names, 1000 Hz, Q 1, -5 dB
    std::copy(std::begin(b14), std::end(b14), p.begin() + 173);
    e.img().Ext[18] = 5; // delay as distance: any unit byte but 0
    e.rec().TempUnit = 1;
    e.rec().TempSlider = 40;
    e.img().Options[31] = 9; // cursor of graph 1: any byte but 0 ticks the box
    e.img().Options[1] = 1;  // "View Left"
    e.img().Options[41] = 1; // output 2 "Output+Input"
}

std::vector<int> Commands(const std::vector<Frame13>& frames) {
    std::vector<int> c;
    for (const auto& f : frames)
        c.push_back(f[3]);
    return c;
}

std::vector<int> Repeat(int cmd, int n) {
    return std::vector<int>(static_cast<size_t>(n), cmd);
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(ProgramLoadTest, SuspendedLoadSetsWindowRecordsAndGraphsAndSendsNothing) {
    EqTestEnv e;
    FillImage(e);
    e.st.CommSuspended = true;
    LoadProgramToWindow(e.ctx);
    EXPECT_TRUE(e.bus.frames.empty());
    FrmCtrl& w = e.w();
    DeviceRec& r = e.rec();

    EXPECT_EQ((std::array<int, 2>{w.Slider1[1].value(), w.Slider1[2].value()}), (std::array<int, 2>{16, 46}));
    EXPECT_EQ(r.Mute, (std::array<int16_t, 3>{0, 1, 1}));
    EXPECT_EQ(w.Command4[2].Caption, "Muted");
    EXPECT_EQ(w.Check5.value(), 1);
    EXPECT_EQ(w.Command13[2].BackColor, kRed);
    EXPECT_EQ(w.Slider500[2].value(), 50);
    EXPECT_EQ(w.Command14[1].BackColor, kRed);
    EXPECT_EQ(w.Slider401[1].value(), 28);
    EXPECT_EQ(w.Check2[2].value(), 1);
    EXPECT_TRUE(w.Option6[1].value());
    EXPECT_EQ(e.st.DevTemperature[EqTestEnv::kDev], 20);
    EXPECT_EQ(w.Label13.Caption, e.st.Tables.FahrenheitLabels[40]);
    EXPECT_TRUE(w.Option1[1].value());
    EXPECT_EQ(e.linked.calls, (std::vector<std::string>{"delayunit"}));
    EXPECT_EQ((std::array<int, 2>{w.UpDown2[1].value(), w.UpDown1[1].value()}), (std::array<int, 2>{258, 7}));
    EXPECT_TRUE(w.Text2[1].Text.endsWith(" m"));

    EXPECT_EQ(w.Combo2[2].listIndex(), 0); // a bypass filter still gets its sections
    EXPECT_EQ(QStringList({w.Text8[2].Text, w.Text13[2].Text, w.Text12[2].Text}),
              QStringList({"100", "400", "0.1"}));
    EXPECT_EQ(w.UpDown11[2].value(), 4);
    EXPECT_FLOAT_EQ(r.XoverQ3[2], 0.2f);
    EXPECT_EQ(w.Combo2[3].listIndex(), 17); // type byte 40 held at the last type
    EXPECT_EQ(e.img().Params[152], 17);

    EXPECT_EQ(w.Command40[2].BackColor, kRed);
    EXPECT_EQ(e.st.BandType[EqTestEnv::kDev][14], 16); // type byte 200 held at the last type
    EXPECT_EQ(w.Command10[14].Caption, "Notch Filter");
    EXPECT_FLOAT_EQ(r.BandGain[14], 5);
    EXPECT_EQ((std::array<float, 3>{r.BandOff[5], r.BandOff[6], r.BandOff[7]}),
              (std::array<float, 3>{1, 0, 1}));
    EXPECT_EQ(w.Command5[7].BackColor, kRed);

    EXPECT_TRUE(w.Label5[5].Visible && w.Label5[11].Visible && !w.Label5[0].Visible);
    EXPECT_EQ(e.img().Options[31], 1);
    EXPECT_EQ(r.DelayUnit, 1);
    EXPECT_EQ(e.st.OverlayOther[0], (std::array<int16_t, 2>{0, 1}));
    EXPECT_TRUE(w.Option4[0].value() && w.Option4[3].value()); // Options(41) = 1 selects Option4(3)
    EXPECT_EQ(e.st.AddInputGain[0], (std::array<int16_t, 2>{0, 1}));
    EXPECT_FALSE(e.st.EditBusy || e.st.SuppressEvents);

    // Each filter and band computed with drawing suspended, the three graphs drawn at the end.
    const auto& calls = e.graph.calls;
    ASSERT_GE(calls.size(), 4u + 19u + 3u);
    for (size_t i = 0; i < 23; ++i) {
        EXPECT_EQ(calls[i], i < 4 ? "xover " + std::to_string(i) : "band " + std::to_string(i - 4));
        EXPECT_EQ(e.graph.drawSuspendedAtCall[i], 1);
    }
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"redraw 0", "redraw 1", "redraw 2"}));
    EXPECT_EQ(e.st.DrawSuspended, 0);
}

TEST(ProgramLoadTest, FrameOrderWithTrafficOn) {
    for (int unit : {1, 0}) {
        EqTestEnv e;
        FillImage(e);
        e.img().Ext[18] = static_cast<uint8_t>(unit);
        LoadProgramToWindow(e.ctx);
        const auto frames = e.sent();
        const std::vector<int> unitFrame = unit == 1 ? std::vector<int>{CmdWriteByte} : std::vector<int>{};
        const auto expected = Join({
            Repeat(CmdSetMute, 2),
            {CmdSetLoudness},
            Repeat(CmdSetLimiter, 6),
            Repeat(CmdSetCompressor, 10),
            Repeat(CmdSetGain, 3),
            Repeat(CmdSetPolarity, 2),
            {CmdSetTemperature, CmdWriteByte},
            Repeat(CmdSetDelay, 3),
            unitFrame,
            {CmdSetXoverB, CmdSetXoverA, CmdSetXoverB, CmdSetXoverA, CmdSetXoverB, CmdSetXoverA, CmdSetXoverB,
             CmdSetXoverA},
            Repeat(CmdSetEqBypass, 3),
            Repeat(CmdSetEqBand, 19),
            Repeat(CmdSetMute, 3),
        });
        EXPECT_EQ(Commands(frames), expected) << "unit " << unit;
        // Opening mutes: output 1, then output 2, both ending muted.
        EXPECT_EQ(frames[0][4], 1);
        EXPECT_EQ(frames[0][11], 2);
        EXPECT_EQ(frames[1][4], 2);
        EXPECT_EQ(frames[1][11], 6);
        EXPECT_EQ(frames[24], FrameOf({0xF0, 0x65, 5, CmdSetTemperature, 0, 0, 0, 0, 0, 0, 0, 40, 0xF7}));
        EXPECT_EQ(frames[25][5], 21); // temperature unit at device address 21
        EXPECT_EQ(frames[25][8], 1);
        if (unit == 1) {
            EXPECT_EQ(frames[29][5], 18);
            EXPECT_EQ(frames[29][8], 1);
        }
        const size_t bypass = unit == 1 ? 38 : 37;
        for (int ch = 0; ch < 3; ++ch) {
            EXPECT_EQ(frames[bypass + static_cast<size_t>(ch)][4], ch);
            EXPECT_EQ(frames[bypass + static_cast<size_t>(ch)][11], ch == 2 ? 1 : 0);
        }
        EXPECT_FALSE(e.st.EditBusy);
    }
}

TEST(ProgramLoadTest, MuteRestoreExamples) {
    struct Case {
        uint8_t saved;
        std::array<int, 3> closing;
        std::array<int16_t, 3> mute;
        uint8_t imageByte;
    };
    const Case cases[] = {
        {6, {0, 2, 6}, {0, 1, 1}, 6},
        {9, {7, 5, 1}, {1, 0, 0}, 1},
        {0, {6, 4, 0}, {0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        FillImage(e);
        e.img().Params[40] = c.saved;
        LoadProgramToWindow(e.ctx);
        const auto mutes = e.bus.framesWithCommand(CmdSetMute);
        ASSERT_EQ(mutes.size(), 5u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(mutes[static_cast<size_t>(2 + i)][4], i) << int(c.saved);
            EXPECT_EQ(mutes[static_cast<size_t>(2 + i)][11], c.closing[static_cast<size_t>(i)])
                << int(c.saved);
        }
        EXPECT_EQ(e.rec().Mute, c.mute) << int(c.saved);
        EXPECT_EQ(e.img().Params[40], c.imageByte) << int(c.saved);
        for (int ch = 0; ch < 3; ++ch)
            EXPECT_EQ(e.w().Command4[ch].Caption, c.mute[static_cast<size_t>(ch)] ? "Muted" : "Mute");
    }
}

TEST(ProgramLoadTest, FailedSendStopsTheLoad) {
    struct Case {
        const char* what;
        int answered;   // frames answered before the device falls silent
        uint8_t failed; // command of the frame that fails
        uint8_t absent; // a command of a later step that must not be sent
    };
    const Case cases[] = {
        {"first limiter setter", 3, CmdSetLimiter, CmdSetGain},
        {"temperature", 24, CmdSetTemperature, CmdSetEqBand},
        {"delay unit option", 29, CmdWriteByte, CmdSetXoverB},
        {"an equaliser bypass", 38, CmdSetEqBypass, CmdSetEqBand},
        {"third band", 43, CmdSetEqBand, CmdPing},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        FillImage(e);
        e.st.ReportCommErrors = true;
        e.device->silentAfter = c.answered;
        LoadProgramToWindow(e.ctx);
        const auto frames = e.sent();
        ASSERT_EQ(frames.size(), static_cast<size_t>(c.answered + 5)) << c.what;
        for (size_t i = static_cast<size_t>(c.answered); i < frames.size(); ++i)
            EXPECT_EQ(frames[i][3], c.failed) << c.what; // the failed frame's five sends, nothing after
        EXPECT_TRUE(e.bus.framesWithCommand(c.absent).empty()) << c.what;
        EXPECT_EQ(e.rec().Mute[1] + e.rec().Mute[2], 2) << c.what; // outputs stay muted
        EXPECT_FALSE(e.st.EditBusy) << c.what;
        EXPECT_EQ(e.msg.shown.size(), 1u) << c.what;
    }
}

TEST(DelayUnitOptionTest, ClickSendsUnitAndLinksUnlessSuppressed) {
    EqTestEnv e;
    e.st.CurSlot = 7; // another window was current
    e.st.SuppressEvents = true;
    e.w().Option1[1].setValue(true);
    EXPECT_TRUE(e.bus.frames.empty());
    EXPECT_TRUE(e.linked.calls.empty());
    e.st.SuppressEvents = false;
    e.w().Option1[0].setValue(true);
    EXPECT_EQ(e.st.CurSlot, 0);
    ASSERT_EQ(e.bus.frames.size(), 1u);
    EXPECT_EQ(e.bus.frames[0], FrameOf({0xF0, 0x65, 5, CmdWriteByte, 0, 18, 0, 0, 0, 0, 0, 0, 0xF7}));
    EXPECT_EQ(e.linked.calls, (std::vector<std::string>{"delayunit"}));
    EXPECT_FALSE(e.st.EditBusy);
}

TEST(ProgramLoadTest, LoadsIntoTheRealResponseGraph) {
    EqTestEnv e;
    FillImage(e);
    const uint8_t band0[5] = {0, 0x03, 0xE8, 7, 50}; // PEAK EQ, 1000 Hz, Q 1, +10 dB
    std::copy(std::begin(band0), std::end(band0), e.img().Params.begin() + 5);
    e.img().Params[30] = 0;
    // The same device and slot, in editing windows drawn by the program's response graph.
    EditingWindowParts real{e.st, e.link, e.sv, e.linked};
    e.st.CommSuspended = true;
    LoadProgramToWindow(real.context);
    const auto& mag = e.st.Graph.Slot(0).BandMag[0];
    EXPECT_NEAR(*std::max_element(mag.begin(), mag.end()), 10.0, 0.1);
    const QImage& pic = real.windows.CtrlWindow(0).Picture1[0].Image;
    ASSERT_FALSE(pic.isNull());
    int red = 0;
    for (int x = 0; x < pic.width(); ++x)
        for (int y = 0; y < pic.height(); ++y)
            red += pic.pixel(x, y) == 0xFFFF0000u;
    EXPECT_GT(red, 0);
}
