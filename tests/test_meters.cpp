// The editing window's level meters: what a reply lights, and when the poll keeps off the line.
#include "support/WindowTestEnv.h"

namespace {
constexpr int kDev = 5;

// The input and output bars (LEDs bottom to top), then the four lamps: g green, o orange, r red.
std::string Shown(const FrmCtrl& w) {
    std::string out;
    for (size_t i = 0; i < 32; ++i) {
        const ColorValue c = i < 28 ? w.Shape1[i].FillColor : w.Shape50[i - 28].FillColor;
        if (i / 7 != 1) out += c == 0xFF00u ? 'g' : c == 0x80FFu ? 'o' : c == 0xFFu ? 'r' : '.';
    }
    return out;
}
} // namespace

TEST(MeterPollTest, RepliesLightBarsLimitAndStatusLampsAndMutedChannelsShowEmptyBars) {
    // Reply, channel muted before the tick (-1 none), what the window shows.
    const std::tuple<std::array<uint8_t, 8>, int, const char*> steps[] = {
        {{7, 0, 0xBF, 95, 0, 0, 0, 0x05}, -1, "ggg....gggggo.ggggg.ro.o."},
        {{63, 0, 0xBF, 0x87, 0, 0, 0, 0x0A}, -1, "ggg....gggggo.ggg.....o.o"}, // 63: no such code
        {{127, 0, 0, 0, 0, 0, 0, 0}, 1, "gggggor.....o............"},          // Limit kept
        {{127, 0, 0, 0, 0, 0, 0, 0}, 0, "............o............"},
    };
    WindowEnv env;
    FrmCtrl& w = env.open(kDev, 0);
    EXPECT_EQ(w.Timer1[0].Interval, 500);
    for (const auto& [reply, mute, shown] : steps) {
        if (mute >= 0) w.Command4_Click(mute);
        env.bus.device(kDev)->meters = reply;
        w.Timer1_Timer(0);
        EXPECT_EQ(Shown(w), shown);
        EXPECT_EQ(w.Timer1[0].Interval, 30);
    }
}

// Nothing is asked, and a reply buffer that holds no meter reply is never shown; once the hold
// ends the next tick polls.
TEST(MeterPollTest, NoRequestWhileBusyInactiveDisconnectedOrInDemoMode) {
    void (*const holds[])(AppState&, bool) = {
        [](AppState& s, bool on) { s.EditBusy = on; },
        [](AppState& s, bool on) { s.CurSlot = on ? 1 : 0; },
        [](AppState& s, bool on) { s.DeviceDisconnected[kDev] = on; },
        [](AppState& s, bool on) { s.DemoMode = on; },
    };
    for (auto hold : holds) {
        WindowEnv env;
        FrmCtrl& w = env.open(kDev, 0);
        env.bus.device(kDev)->meters = {127, 0, 0, 0, 0, 0, 0, 0x0F};
        env.st.RxBuf.fill(0xFF);
        hold(env.st, true);
        w.Timer1_Timer(0);
        EXPECT_TRUE(env.sent(CmdReadMeters).empty());
        EXPECT_EQ(Shown(w), std::string(25, '.'));
        hold(env.st, false);
        w.Timer1_Timer(0);
        EXPECT_EQ(Shown(w), "gggggor..............oooo");
    }
}
