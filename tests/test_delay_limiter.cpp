// The delay, temperature, limiter and compressor panels of the editing window, driven through
// their handlers against the simulated device.
#include "support/EqTestEnv.h"
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

namespace {

using KeyHandler = void (FrmCtrl::*)(int, int&);

// Types keys into a field as the view does: each goes through the key procedure, which may
// change it; Enter is not inserted.
void Type(FrmCtrl& w, KeyHandler handler, TextBox& field, int ch, const std::string& keys) {
    for (char c : keys) {
        int key = c == '\n' ? 13 : c;
        (w.*handler)(ch, key);
        if (key != 13 && key != 0) field.Text += QChar(key);
    }
}

void SetQuietly(AppState& st, const std::function<void()>& set) {
    const auto quiet = RaiseSuppressEvents(st);
    set();
}

} // namespace

// ---- Delay and temperature ----

TEST(DelayEntryTest, EnterSplitsTheValueIntoSteppersAndSendsOneFrame) {
    struct Case {
        int unit, comma;
        const char* start;
        const char* keys;
        int coarse, fine;
        const char* shown;
    };
    const Case cases[] = {
        {1, 0, "", "300\n", 790, 48, "268.936 m"},
        {1, 0, "1 m", "\n", 2, 45, "0.995 m"}, // the suffix left in the field is ignored
        {0, 0, "", "100\n", 100, 47, "99.997 ms"},
        {0, 0, "", "900\n", 790, 48, "783.3847 ms"},
        {1, 1, "", "2,5\n", 7, 17, "2,499 m"},
        {1, 1, "", "2.5\n", 7, 17, "2,499 m"},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        e.st.DecimalComma = c.comma;
        e.st.DevTemperature[EqTestEnv::kDev] = 20;
        e.rec().DelayUnit = static_cast<int16_t>(c.unit);
        FrmCtrl& w = e.w();
        w.Text2[1].Text = c.start;
        Type(w, &FrmCtrl::Text2_KeyPress, w.Text2[1], 1, c.keys);
        EXPECT_EQ(w.UpDown2[1].value(), c.coarse) << c.keys;
        EXPECT_EQ(w.UpDown1[1].value(), c.fine) << c.keys;
        EXPECT_EQ(w.Text2[1].Text, c.shown) << c.keys;
        const std::vector<Frame13> want = {
            DeviceFrameFor(EqTestEnv::kDev, CmdSetDelay,
                           Data8{1, 0, 0, 0, 0, uint8_t(c.coarse >> 8), uint8_t(c.coarse), uint8_t(c.fine)})};
        EXPECT_EQ(e.sent(), want) << c.keys;
        EXPECT_EQ(e.graph.calls, std::vector<std::string>{"band 5"});
        EXPECT_EQ(e.linked.calls, std::vector<std::string>{"delay 1"});
        EXPECT_TRUE(e.msg.shown.empty());
        EXPECT_FALSE(e.st.SuppressEvents);
    }
}

TEST(DelayEntryTest, RefusedKeysBecomeBlanksAndEmptyOrUnreadableTextWarns) {
    struct Case {
        const char* start;
        const char* keys;
        const char* text;
        size_t warnings;
    };
    const Case cases[] = {
        {"", "1x-", "1  ", 0}, // no message for a refused key
        {"", "\n", "", 1},
        {"   ", "\n", "   ", 1},
        {"1,5", "\n", "1,5", 1}, // the other decimal sign
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        FrmCtrl& w = e.w();
        w.Text2[0].Text = c.start;
        Type(w, &FrmCtrl::Text2_KeyPress, w.Text2[0], 0, c.keys);
        EXPECT_EQ(w.Text2[0].Text, c.text) << c.keys;
        ASSERT_EQ(e.msg.shown.size(), c.warnings) << c.start;
        for (const auto& m : e.msg.shown)
            EXPECT_EQ(m.text, "  Valor Incorrecto");
        EXPECT_TRUE(e.sent().empty()) << c.start;
        EXPECT_TRUE(e.linked.calls.empty());
    }
}

TEST(TemperatureTest, BarStepUnitAndStepperSendRedrawAndLink) {
    EqTestEnv e;
    FrmCtrl& w = e.w();
    SetQuietly(e.st, [&] { w.HScroll1.setValue(40); });
    w.HScroll1.setValue(41);
    const int d = EqTestEnv::kDev;
    EXPECT_EQ(e.sent(),
              (std::vector<Frame13>{DeviceFrameFor(d, CmdSetTemperature, Data8{0, 0, 0, 0, 0, 0, 0, 41}),
                                    DeviceFrameFor(d, CmdWriteByte, Data8{0, 18, 0, 0, 0, 0, 0, 0})}));
    EXPECT_EQ(e.graph.calls, (std::vector<std::string>{"band 0", "band 5", "band 12"}));
    w.Option6[1].setValue(true);
    w.UpDown1[2].setValue(3);
    EXPECT_EQ(e.sent(2),
              (std::vector<Frame13>{DeviceFrameFor(d, CmdWriteByte, Data8{0, 21, 0, 0, 1, 0, 0, 0}),
                                    DeviceFrameFor(d, CmdSetDelay, Data8{2, 0, 0, 0, 0, 0, 0, 3})}));
    EXPECT_EQ(e.linked.calls, (std::vector<std::string>{"temperature", "tempunit", "delay 2"}));
    EXPECT_FALSE(e.st.EditBusy);
}

// ---- Limiter and compressor ----

TEST(DynamicsEntryTest, EnterSnapsSetsTheSliderAndSends) {
    using Texts = std::array<TextBox, kChannels> FrmCtrlControls::*;
    using Sliders = std::array<Slider, kChannels> FrmCtrlControls::*;
    struct Case {
        KeyHandler handler;
        Texts field;
        Sliders slider;
        const char* start;
        const char* keys;
        const char* text;
        int position;
        uint8_t cmd;
        int byte, value; // frame byte and its value; no frame when a warning is given
    };
    const Case cases[] = {
        {&FrmCtrl::Text500_KeyPress, &FrmCtrl::Text500, &FrmCtrl::Slider500, "", "15\n", "12", 0,
         CmdSetLimiter, 11, 150},
        {&FrmCtrl::Text500_KeyPress, &FrmCtrl::Text500, &FrmCtrl::Slider500, "", "3.25\n", "3.2", 44,
         CmdSetLimiter, 11, 106},
        {&FrmCtrl::Text503_KeyPress, &FrmCtrl::Text503, &FrmCtrl::Slider503, "", "0.33\n", "0.3", 27,
         CmdSetLimiter, 10, 2},
        {&FrmCtrl::Text401_KeyPress, &FrmCtrl::Text401, &FrmCtrl::Slider401, "", "4\n", "4:1 ", 28,
         CmdSetCompressor, 10, 3},
        {&FrmCtrl::Text401_KeyPress, &FrmCtrl::Text401, &FrmCtrl::Slider401, "4:1", "\n", "4:1 ", 28,
         CmdSetCompressor, 10, 3},
        {&FrmCtrl::Text402_KeyPress, &FrmCtrl::Text402, &FrmCtrl::Slider402, "", "150\n", "100 %", 0,
         CmdSetCompressor, 9, 100},
        {&FrmCtrl::Text401_KeyPress, &FrmCtrl::Text401, &FrmCtrl::Slider401, "  ", "\n", "  ?", 0, 0, 0, 0},
        {&FrmCtrl::Text402_KeyPress, &FrmCtrl::Text402, &FrmCtrl::Slider402, "50 %", "\n", "50 %?", 0, 0, 0,
         0},
        {&FrmCtrl::Text402_KeyPress, &FrmCtrl::Text402, &FrmCtrl::Slider402, "", "-", "?", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        FrmCtrl& w = e.w();
        TextBox& field = (w.*c.field)[2];
        field.Text = c.start;
        Type(w, c.handler, field, 2, c.keys);
        EXPECT_EQ(field.Text, c.text) << c.start << c.keys;
        EXPECT_EQ((w.*c.slider)[2].value(), c.position) << c.keys;
        if (c.cmd == 0) {
            ASSERT_EQ(e.msg.shown.size(), 1u) << c.start << c.keys;
            EXPECT_EQ(e.msg.shown[0].text, "  Valor Incorrecto");
            EXPECT_TRUE(e.sent().empty());
            continue;
        }
        ASSERT_EQ(e.sent().size(), 1u) << c.keys;
        EXPECT_EQ(e.sent()[0][3], c.cmd);
        EXPECT_EQ(e.sent()[0][4], 2);
        EXPECT_EQ(e.sent()[0][static_cast<size_t>(c.byte)], c.value) << c.keys;
        EXPECT_TRUE(e.msg.shown.empty());
        EXPECT_TRUE(e.graph.calls.empty() && e.linked.calls.empty());
    }
}

TEST(DynamicsSwitchTest, BypassTogglesColourAndFrameAndKeepsThemWhenItsSendFails) {
    EqTestEnv e;
    FrmCtrl& w = e.w();
    w.Command13_Click(1);
    EXPECT_EQ(w.Command13[1].BackColor, RGBValue(255, 0, 0));
    EXPECT_FALSE(w.Frame8[3].Enabled);
    EXPECT_EQ(e.sent().back()[8], 2); // the bypass bits
    w.Command13_Click(1);
    EXPECT_EQ(w.Command13[1].BackColor, kButtonFace);
    EXPECT_TRUE(w.Frame8[3].Enabled);

    WindowEnv env;
    FrmCtrl& s = env.open(5, 0);
    env.bus.device(5)->silent = true;
    s.Command14_Click(2);
    EXPECT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(s.Command14[2].BackColor, kButtonFace);
    EXPECT_TRUE(s.Frame8[2].Enabled);
}

TEST(PanelHandlersTest, NothingIsSentWhileEventsAreSuppressed) {
    EqTestEnv e;
    FrmCtrl& w = e.w();
    e.st.SuppressEvents = true;
    w.Text2[1].Text = "5";
    w.Text500[1].Text = "5";
    w.HScroll1.setValue(30);
    w.Option6[1].setValue(true);
    w.UpDown2[1].setValue(4);
    w.Command13_Click(1);
    w.Command14_Click(2);
    w.ApplyLimThresholdSlider(1);
    w.ApplyCompKneeSlider(2);
    for (KeyHandler h : {&FrmCtrl::Text2_KeyPress, &FrmCtrl::Text500_KeyPress}) {
        int key = 13;
        (w.*h)(1, key);
        key = 'x';
        (w.*h)(1, key);
        EXPECT_EQ(key, 'x');
    }
    EXPECT_TRUE(e.sent().empty());
    EXPECT_TRUE(e.msg.shown.empty());
    EXPECT_TRUE(e.linked.calls.empty());
    EXPECT_EQ(w.Command13[1].BackColor, kButtonFace);
}

TEST(PanelHandlersTest, ValueTypedInOneWindowGoesToItsOwnDevice) {
    WindowEnv env;
    env.listDevices({4, 5});
    FrmCtrl& a = env.open(4, 0);
    env.open(5, 1);
    env.bus.frames.clear();
    env.st.CurSlot = 1; // B is current
    a.Text500[1].Text.clear();
    Type(a, &FrmCtrl::Text500_KeyPress, a.Text500[1], 1, "5\n");
    ASSERT_EQ(env.sent(CmdSetLimiter).size(), 1u);
    EXPECT_EQ(env.sent(CmdSetLimiter)[0][2], 4);
    EXPECT_EQ(a.Slider500[1].value(), 35);
    EXPECT_EQ(env.st.CurSlot, 0);
}

TEST(PanelHandlersTest, HandlerStopsWhenItsSendFails) {
    enum class Edit { TypedDelay, Stepper, Temperature, TempUnit };
    for (Edit edit : {Edit::TypedDelay, Edit::Stepper, Edit::Temperature, Edit::TempUnit}) {
        WindowEnv env;
        FrmCtrl& w = env.open(5, 0);
        env.bus.device(5)->silent = true;
        const QImage graph = w.Picture1[0].Image;
        if (edit == Edit::TypedDelay) Type(w, &FrmCtrl::Text2_KeyPress, w.Text2[0], 0, "3\n");
        if (edit == Edit::Stepper) w.UpDown2[0].setValue(9);
        if (edit == Edit::Temperature) w.HScroll1.setValue(w.HScroll1.value() + 1);
        if (edit == Edit::TempUnit) w.Option6[1].setValue(true);
        const int what = static_cast<int>(edit);
        EXPECT_EQ(env.msg.shown.size(), 1u) << what;
        EXPECT_FALSE(w.Visible) << what;
        EXPECT_EQ(w.Picture1[0].Image, graph) << what;
        EXPECT_TRUE(env.linked.calls.empty()) << what;
        EXPECT_FALSE(env.st.EditBusy);
    }
}
