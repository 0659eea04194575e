// The delay, temperature, limiter and compressor panels of the editing window, driven through
// their handlers against the simulated device.
#include "support/EqTestEnv.h"
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

namespace {
using KeyHandler = void (FrmCtrl::*)(int, int&);

// Puts `start` into a field, then types keys into it as the view does: each goes through the key
// procedure, which may change it; Enter is not inserted.
void Type(FrmCtrl& w, KeyHandler handler, TextBox& field, int ch, const char* start,
          const std::string& keys) {
    field.Text = start;
    for (char c : keys) {
        int key = c == '\n' ? 13 : c;
        (w.*handler)(ch, key);
        if (key != 13 && key != 0) field.Text += QChar(key);
    }
}
} // namespace

TEST(DelayEntryTest, EnterSplitsTheValueRefusedKeysBecomeBlanksAndUnreadableTextWarns) {
    struct Case {
        int unit, comma;
        const char *start, *keys;
        int coarse, fine, warnings; // coarse 0: nothing sent
        const char* text;
    };
    const Case cases[] = {
        {1, 0, "", "300\n", 790, 48, 0, "268.936 m"},
        {1, 0, "1 m", "\n", 2, 45, 0, "0.995 m"},
        {0, 0, "", "100\n", 100, 47, 0, "99.997 ms"},
        {0, 0, "", "900\n", 790, 48, 0, "783.3847 ms"},
        {1, 1, "", "2,5\n", 7, 17, 0, "2,499 m"},
        {1, 1, "", "2.5\n", 7, 17, 0, "2,499 m"},
        {1, 0, "", "1x-", 0, 0, 0, "1  "},
        {1, 0, "   ", "\n", 0, 0, 1, "   "},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        e.st.DecimalComma = c.comma;
        e.st.DevTemperature[EqTestEnv::kDev] = 20;
        e.rec().DelayUnit = static_cast<int16_t>(c.unit);
        FrmCtrl& w = e.w();
        Type(w, &FrmCtrl::Text2_KeyPress, w.Text2[1], 1, c.start, c.keys);
        EXPECT_EQ(w.UpDown2[1].value(), c.coarse) << c.keys;
        EXPECT_EQ(w.UpDown1[1].value(), c.fine) << c.keys;
        EXPECT_EQ(w.Text2[1].Text, c.text) << c.keys;
        ASSERT_EQ(e.msg.shown.size(), size_t(c.warnings)) << c.keys;
        EXPECT_TRUE(c.warnings == 0 || e.msg.shown[0].text == "  Valor Incorrecto");
        ASSERT_EQ(e.sent().size(), c.coarse ? 1u : 0u) << c.keys;
        if (!c.coarse) continue;
        const Data8 d{1, 0, 0, 0, 0, uint8_t(c.coarse >> 8), uint8_t(c.coarse), uint8_t(c.fine)};
        EXPECT_EQ(e.sent()[0], DeviceFrameFor(EqTestEnv::kDev, CmdSetDelay, d)) << c.keys;
        EXPECT_EQ(e.linked.calls, std::vector<std::string>{"delay 1"});
    }
}

TEST(PanelSwitchTest, TemperatureUnitStepperAndBypassSendRedrawAndLinkUnlessSuppressed) {
    EqTestEnv e;
    FrmCtrl& w = e.w();
    w.HScroll1.setValue(1);
    w.Option6[1].setValue(true);
    w.UpDown1[2].setValue(3);
    w.Command13_Click(1);
    const int d = EqTestEnv::kDev;
    EXPECT_EQ(e.sent(), (std::vector<Frame13>{
                            DeviceFrameFor(d, CmdSetTemperature, Data8{0, 0, 0, 0, 0, 0, 0, 1}),
                            DeviceFrameFor(d, CmdWriteByte, Data8{0, 18, 0, 0, 0, 0, 0, 0}),
                            DeviceFrameFor(d, CmdWriteByte, Data8{0, 21, 0, 0, 1, 0, 0, 0}),
                            DeviceFrameFor(d, CmdSetDelay, Data8{2, 0, 0, 0, 0, 0, 0, 3}),
                            DeviceFrameFor(d, CmdSetLimiter, Data8{1, 0, 0, 0, 2, 0, 0, 0}),
                        }));
    EXPECT_EQ(e.graph.calls, (std::vector<std::string>{"band 0", "band 5", "band 12", "band 12"}));
    EXPECT_EQ(e.linked.calls, (std::vector<std::string>{"temperature", "tempunit", "delay 2"}));
    EXPECT_EQ(w.Command13[1].BackColor, RGBValue(255, 0, 0));
    EXPECT_FALSE(w.Frame8[3].Enabled);

    e.st.SuppressEvents = true;
    const size_t before = e.sent().size();
    w.HScroll1.setValue(30);
    w.UpDown2[1].setValue(4);
    w.Command14_Click(1);
    Type(w, &FrmCtrl::Text2_KeyPress, w.Text2[1], 1, "5", "\n");
    Type(w, &FrmCtrl::Text500_KeyPress, w.Text500[1], 1, "5", "\n");
    EXPECT_TRUE(e.sent().size() == before && e.msg.shown.empty() && e.linked.calls.size() == 3u);
}

TEST(DynamicsEntryTest, EnterSnapsSetsTheSliderAndSends) {
    struct Field {
        KeyHandler handler;
        std::array<TextBox, kChannels> FrmCtrlControls::*text;
        std::array<Slider, kChannels> FrmCtrlControls::*slider;
    };
    const Field thr{&FrmCtrl::Text500_KeyPress, &FrmCtrl::Text500, &FrmCtrl::Slider500};
    const Field rel{&FrmCtrl::Text503_KeyPress, &FrmCtrl::Text503, &FrmCtrl::Slider503};
    const Field ratio{&FrmCtrl::Text401_KeyPress, &FrmCtrl::Text401, &FrmCtrl::Slider401};
    const Field knee{&FrmCtrl::Text402_KeyPress, &FrmCtrl::Text402, &FrmCtrl::Slider402};
    struct Case {
        const Field& f;
        const char *start, *keys, *text;
        int position, byte, value; // byte: the frame byte with the value; 0: a warning, no frame
    };
    const Case cases[] = {
        {thr, "", "15\n", "12", 0, 11, 150},     {thr, "", "3.25\n", "3.2", 44, 11, 106},
        {rel, "", "0.33\n", "0.3", 27, 10, 2},   {ratio, "", "4\n", "4:1 ", 28, 10, 3},
        {ratio, "4:1", "\n", "4:1 ", 28, 10, 3}, {knee, "", "150\n", "100 %", 0, 9, 100},
        {ratio, "  ", "\n", "  ?", 0, 0, 0},     {knee, "50 %", "\n", "50 %?", 0, 0, 0},
        {knee, "", "-", "?", 0, 0, 0}, // the knee takes no sign
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        FrmCtrl& w = e.w();
        TextBox& field = (w.*c.f.text)[2];
        Type(w, c.f.handler, field, 2, c.start, c.keys);
        EXPECT_EQ(field.Text, c.text) << c.start << c.keys;
        EXPECT_EQ((w.*c.f.slider)[2].value(), c.position) << c.keys;
        EXPECT_EQ(e.msg.shown.size(), c.byte == 0 ? 1u : 0u) << c.start << c.keys;
        ASSERT_EQ(e.sent().size(), c.byte == 0 ? 0u : 1u) << c.keys;
        if (c.byte == 0) continue;
        EXPECT_EQ(e.sent()[0][size_t(c.byte)], c.value) << c.keys;
        EXPECT_TRUE(e.graph.calls.empty() && e.linked.calls.empty());
    }
}

TEST(PanelHandlersTest, EachWindowEditsItsOwnDeviceAndStopsWhenItsSendFails) {
    WindowEnv env;
    env.listDevices({4, 5});
    FrmCtrl& a = env.open(4, 0);
    FrmCtrl& b = env.open(5, 1);
    env.bus.frames.clear();
    env.st.CurSlot = 1; // the other window is current
    Type(a, &FrmCtrl::Text500_KeyPress, a.Text500[1], 1, "", "5\n");
    ASSERT_EQ(env.sent(CmdSetLimiter).size(), 1u);
    EXPECT_EQ(env.sent(CmdSetLimiter)[0][2], 4);
    EXPECT_EQ(a.Slider500[1].value(), 35);

    env.bus.device(4)->silent = true;
    a.Command14_Click(2);
    EXPECT_EQ(a.Command14[2].BackColor, kButtonFace); // a failed bypass keeps its colour
    EXPECT_TRUE(a.Frame8[2].Enabled);
    env.bus.device(5)->silent = true;
    const QImage graph = b.Picture1[0].Image;
    b.HScroll1.setValue(b.HScroll1.value() + 1);
    EXPECT_EQ(b.Picture1[0].Image, graph); // nothing redrawn or repeated
    EXPECT_TRUE(env.linked.calls.empty());
    EXPECT_TRUE(env.msg.shown.size() == 2u && !a.Visible && !b.Visible);
}

TEST(DynamicsSliderTest, EachSliderSendsItsPositionShowsItsTextAndStepsByOneAndFive) {
    using Sliders = std::array<Slider, kChannels> FrmCtrlControls::*;
    using Texts = std::array<TextBox, kChannels> FrmCtrlControls::*;
    struct Case {
        Sliders slider;
        Texts text;
        int ch, position;
        const char* shown;
        uint8_t cmd;
        size_t byte; // the frame byte that carries the value
        int value;
    };
    const Case cases[] = {
        {&FrmCtrl::Slider500, &FrmCtrl::Text500, 1, 35, "5", CmdSetLimiter, 11, 115},
        {&FrmCtrl::Slider503, &FrmCtrl::Text503, 2, 27, "0.3", CmdSetLimiter, 10, 2},
        {&FrmCtrl::Slider504, &FrmCtrl::Text504, 1, 10, "50", CmdSetLimiter, 9, 19},
        {&FrmCtrl::Slider400, &FrmCtrl::Text400, 2, 149, "-17.8", CmdSetCompressor, 11, 1},
        {&FrmCtrl::Slider401, &FrmCtrl::Text401, 1, 28, "4:1 ", CmdSetCompressor, 10, 3},
        {&FrmCtrl::Slider402, &FrmCtrl::Text402, 2, 60, "40 %", CmdSetCompressor, 9, 40},
        {&FrmCtrl::Slider403, &FrmCtrl::Text403, 1, 0, "3", CmdSetCompressor, 8, 29},
        {&FrmCtrl::Slider404, &FrmCtrl::Text404, 2, 29, "5", CmdSetCompressor, 7, 0},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        FrmCtrl& w = e.w();
        Slider& s = (w.*c.slider)[static_cast<size_t>(c.ch)];
        EXPECT_EQ(s.SmallChange, 1) << c.shown;
        EXPECT_EQ(s.LargeChange, 5) << c.shown;
        s.setValue(c.position); // as the operator lets go of it
        s.Change();
        EXPECT_EQ((w.*c.text)[static_cast<size_t>(c.ch)].Text, c.shown);
        ASSERT_EQ(e.sent().size(), 1u) << c.shown;
        const Frame13 f = e.sent()[0];
        EXPECT_EQ(f[3], c.cmd) << c.shown;
        EXPECT_EQ(f[4], c.ch) << c.shown;
        EXPECT_EQ(f[c.byte], c.value) << c.shown;
        EXPECT_FALSE(e.st.EditBusy);
        EXPECT_TRUE(e.graph.calls.empty() && e.linked.calls.empty());
    }
}
