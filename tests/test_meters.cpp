// The editing window's level meters: the poll on the active window's timer, the decoding of the
// device's meter codes into LED bars and lamps, and when the poll keeps off the line.
#include "support/WindowTestEnv.h"

#include "window/ui/FrmCtrlView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {
constexpr int kDev = 5;
using Meters = std::array<uint8_t, 8>;

// One LED or lamp as a letter: g green, o orange, r red, . dark.
char Colour(const Shape& s) {
    switch (s.FillColor) {
    case 0x00FF00u: return 'g';
    case 0x0080FFu: return 'o';
    case 0x0000FFu: return 'r';
    case kButtonFace: return '.';
    default: return '?';
    }
}
// Meter m's seven LEDs, bottom to top.
std::string Bar(const FrmCtrl& w, int m) {
    std::string s;
    for (int led = 0; led < 7; ++led)
        s += Colour(w.Shape1[static_cast<size_t>(7 * m + led)]);
    return s;
}
std::string Lamps(const FrmCtrl& w) {
    std::string s;
    for (const Shape& l : w.Shape50)
        s += Colour(l);
    return s;
}
} // namespace

// ---- What a reply lights ----

TEST(MeterPollTest, RepliesLightTheBarsAndLamps) {
    struct Case {
        const char* name;
        std::vector<Meters> replies; // answered to successive ticks
        int muteBeforeLast;          // channel muted before the last tick, -1 none
        const char* input;
        const char* out1;
        const char* out2;
        const char* lamps;
    };
    const Case cases[] = {
        {"input 7", {{7, 0, 0, 0, 0, 0, 0, 0}}, -1, "ggg....", ".......", ".......", "...."},
        {"input 127", {{127, 0, 0, 0, 0, 0, 0, 0}}, -1, "gggggor", ".......", ".......", "...."},
        {"bit 7 is no part of the input code", {{0x87, 0, 0, 0, 0, 0, 0, 0}}, -1, "ggg....", ".......",
         ".......", "...."},
        {"input 63 matches nothing: the bar stays", {{7, 0, 0, 0, 0, 0, 0, 0}, {63, 0, 0, 0, 0, 0, 0, 0}}, -1,
         "ggg....", ".......", ".......", "...."},
        {"output 0xBF: level 5 and Limit", {{0, 0, 0xBF, 0, 0, 0, 0, 0}}, -1, ".......", "gggggo.", ".......",
         "...."},
        {"output 95: clip without Limit", {{0, 0, 0, 95, 0, 0, 0, 0}}, -1, ".......", ".......", "ggggg.r",
         "...."},
        {"second output 63: level 5 and Limit", {{7, 0, 15, 63, 0, 0, 0, 5}}, -1, "ggg....", "gggg...",
         "gggggo.", "o.o."},
        {"status 0x05: the first output's lamps", {{0, 0, 0, 0, 0, 0, 0, 0x05}}, -1, ".......", ".......",
         ".......", "o.o."},
        {"status 0x0A: the second output's lamps", {{0, 0, 0, 0, 0, 0, 0, 0x0A}}, -1, ".......", ".......",
         ".......", ".o.o"},
        {"muted input shows an empty bar", {{127, 0, 0, 0, 0, 0, 0, 0}, {127, 0, 0, 0, 0, 0, 0, 0}}, 0,
         ".......", ".......", ".......", "...."},
        {"muted output empties its bar and keeps its Limit lamp",
         {{0, 0, 0xBF, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}, 1, ".......", ".....o.", ".......", "...."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowEnv env;
        FrmCtrl& w = env.open(kDev, 0);
        for (size_t i = 0; i < c.replies.size(); ++i) {
            if (i + 1 == c.replies.size() && c.muteBeforeLast >= 0) {
                ASSERT_EQ(env.st.DevRecs[kDev].Mute[static_cast<size_t>(c.muteBeforeLast)], 0);
                w.Command4_Click(c.muteBeforeLast);
            }
            env.bus.device(kDev)->meters = c.replies[i];
            w.Timer1_Timer(0);
        }
        EXPECT_EQ(env.sent(CmdReadMeters).size(), c.replies.size());
        EXPECT_EQ(Bar(w, 0), c.input);
        EXPECT_EQ(Bar(w, 2), c.out1);
        EXPECT_EQ(Bar(w, 3), c.out2);
        EXPECT_EQ(Lamps(w), c.lamps);
    }
}

// ---- When the poll keeps off the line ----

TEST(MeterPollTest, NoRequestWhileBusyFromAnInactiveWindowOrForADisconnectedDevice) {
    struct Case {
        const char* name;
        std::function<void(WindowEnv&)> hold, release;
        int interval; // after the held tick
    };
    const Case cases[] = {
        {"EditBusy", [](WindowEnv& e) { e.st.EditBusy = true; }, [](WindowEnv& e) { e.st.EditBusy = false; },
         30},
        {"another exchange waits", [](WindowEnv& e) { e.st.ExchangeIdle = false; },
         [](WindowEnv& e) { e.st.ExchangeIdle = true; }, 30},
        {"another window is current", [](WindowEnv& e) { e.st.CurSlot = 1; },
         [](WindowEnv& e) { e.st.CurSlot = 0; }, 500},
        {"device disconnected", [](WindowEnv& e) { e.st.DeviceDisconnected[kDev] = true; },
         [](WindowEnv& e) { e.st.DeviceDisconnected[kDev] = false; }, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowEnv env;
        FrmCtrl& w = env.open(kDev, 0);
        env.bus.device(kDev)->meters = {127, 0, 0, 0, 0, 0, 0, 0};
        c.hold(env);
        w.Timer1_Timer(0);
        EXPECT_TRUE(env.sent(CmdReadMeters).empty());
        EXPECT_EQ(Bar(w, 0), ".......");
        EXPECT_EQ(w.Timer1[0].Interval, c.interval);
        // The next tick polls again.
        c.release(env);
        w.Timer1_Timer(0);
        EXPECT_EQ(env.sent(CmdReadMeters).size(), 1u);
        EXPECT_EQ(Bar(w, 0), "gggggor");
    }
}

TEST(MeterPollTest, OnlyTheActiveWindowPolls) {
    WindowEnv env;
    FrmCtrl& first = env.open(5, 0);
    FrmCtrl& second = env.open(6, 1); // the window opened last is the current one
    first.Timer1_Timer(0);
    second.Timer1_Timer(1);
    ASSERT_EQ(env.sent(CmdReadMeters).size(), 1u);
    EXPECT_EQ(env.sent(CmdReadMeters)[0][2], 6);

    first.Form_Activate();
    first.Timer1_Timer(0);
    second.Timer1_Timer(1);
    ASSERT_EQ(env.sent(CmdReadMeters).size(), 2u);
    EXPECT_EQ(env.sent(CmdReadMeters)[1][2], 5);
}

// A reply buffer that holds no meter reply is never shown: in demo mode, or while the port is
// not ready, the meters and lamps stay dark.
TEST(MeterPollTest, DarkWhenNothingWasAsked) {
    for (bool demo : {true, false}) {
        SCOPED_TRACE(demo ? "demo mode" : "port not ready");
        WindowEnv env;
        FrmCtrl& w = env.open(kDev, 0);
        if (demo)
            env.st.DemoMode = true;
        else
            env.st.PortReady = false;
        env.st.RxBuf.fill(0xFF);
        env.st.RxBuf[4] = 127;
        w.Timer1_Timer(0);
        EXPECT_TRUE(env.sent(CmdReadMeters).empty());
        EXPECT_EQ(Bar(w, 0) + Bar(w, 2) + Bar(w, 3), std::string(21, '.'));
        EXPECT_EQ(Lamps(w), "....");
        EXPECT_EQ(env.st.RxBuf[8], 0xFF); // the buffer is left as it was
        EXPECT_EQ(w.Timer1[0].Interval, 30);
    }
}

TEST(MeterPollTest, FailedRequestStopsThePollOfTheClosedWindow) {
    WindowEnv env;
    env.bus.addDevice(kDev).meters = {127, 0, 0, 0, 0, 0, 0, 0};
    env.listDevices({kDev});
    FrmCtrl& w = env.open(kDev, 0);
    env.bus.device(kDev)->silent = true;
    w.Timer1_Timer(0);
    EXPECT_EQ(env.sent(CmdReadMeters).size(), 5u);
    EXPECT_TRUE(env.st.DeviceDisconnected[kDev]);
    EXPECT_FALSE(w.loaded());
    EXPECT_FALSE(w.Timer1[0].Enabled);
    EXPECT_EQ(Bar(w, 0), ".......");
    EXPECT_EQ(w.Timer1[0].Interval, 500); // the tick ended at the failure
}

// ---- The poll timer ----

// The view runs the window's own timer element: first after 500 ms, then every 30 ms. A window
// loaded again starts from level 0 with a dark bar.
TEST(MeterPollTest, ViewTicksAt500MsThen30AndAReloadStartsDark) {
    WindowEnv env;
    FrmCtrl& w = env.open(kDev, 2);
    env.bus.device(kDev)->meters = {31, 0, 0, 0, 0, 0, 0, 0};
    FrmCtrlView view(w);
    auto* timer = view.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
    QElapsedTimer clock;
    clock.start();
    while (env.sent(CmdReadMeters).empty() && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(clock.elapsed(), 400);
    ASSERT_EQ(env.sent(CmdReadMeters).size(), 1u);
    EXPECT_EQ(timer->interval(), 30);
    EXPECT_EQ(Bar(w, 0), "ggggg..");

    ASSERT_TRUE(w.Unload());
    view.sync();
    EXPECT_FALSE(timer->isActive());
    env.open(kDev, 2);
    view.sync();
    EXPECT_EQ(env.st.MeterLevel[kDev][0], 0);
    EXPECT_EQ(Bar(w, 0), ".......");
    EXPECT_EQ(timer->interval(), 500);
}
