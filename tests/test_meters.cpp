// The editing window's level meters: what a reply lights, and when the poll keeps off the line.
#include "support/WindowTestEnv.h"

#include "window/ui/FrmCtrlView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

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

namespace {
// Counts the paint events a widget gets.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};
} // namespace

// A tick of the view's poll timer repaints the meters whose LEDs changed and touches no other
// control; the second input bar stands beside the input's, with the input captions, and stays
// dark.
TEST(MeterViewTest, TickRepaintsOnlyTheMetersAndTheSecondInputBarStaysDark) {
    WindowEnv env;
    FrmCtrl& w = env.open(kDev, 0);
    FrmCtrlView view(w);
    view.show();
    QApplication::processEvents();
    QWidget* input0 = view.findChild<QWidget*>(QStringLiteral("Shape1_0"));
    QWidget* second0 = view.findChild<QWidget*>(QStringLiteral("Shape1_7"));
    QWidget* picture = view.findChild<QWidget*>(QStringLiteral("Picture1_0"));
    auto* gain = view.findChild<QLineEdit*>(QStringLiteral("Text1_0"));
    ASSERT_TRUE(input0 && second0 && picture && gain);
    PaintCounter ledPaints, picturePaints;
    input0->installEventFilter(&ledPaints);
    picture->installEventFilter(&picturePaints);

    const QString shownGain = gain->text();
    w.Text1[0].Text = QStringLiteral("-12"); // a change no event has shown yet
    env.bus.device(kDev)->meters = {127, 0, 0, 0, 0, 0, 0, 0};
    view.pollTick();
    QApplication::processEvents();
    EXPECT_EQ(env.sent(CmdReadMeters).size(), 1u);
    EXPECT_GE(ledPaints.paints, 1);
    EXPECT_EQ(picturePaints.paints, 0);
    EXPECT_EQ(gain->text(), shownGain);
    EXPECT_EQ(input0->grab().toImage().pixelColor(8, 5), QColor(0, 255, 0));

    // The second bar: beside the input's, at its height, with the input's captions, and dark.
    EXPECT_EQ(second0->mapTo(&view, QPoint()).y(), input0->mapTo(&view, QPoint()).y());
    EXPECT_GT(second0->mapTo(&view, QPoint()).x(), input0->mapTo(&view, QPoint()).x());
    EXPECT_LT(second0->mapTo(&view, QPoint()).x(),
              view.findChild<QWidget*>(QStringLiteral("Shape1_14"))->mapTo(&view, QPoint()).x());
    QStringList captions;
    for (const QLabel* l : second0->parentWidget()->findChildren<QLabel*>())
        captions << l->text();
    EXPECT_EQ(captions, (QStringList{"-20dBu", "-10 dBu", "   0 dBu", "+ 3 dBu", "+ 6 dBu", "+10 dBu", " Clip"}));
    for (int led = 7; led < 14; ++led) {
        QWidget* l = view.findChild<QWidget*>(QStringLiteral("Shape1_%1").arg(led));
        ASSERT_TRUE(l && l->isVisible());
        EXPECT_EQ(w.Shape1[static_cast<size_t>(led)].FillColor, kButtonFace);
    }

    // A window closed by a failed exchange stops its poll timer, although the document area shows
    // only the open windows again.
    view.AfterEvent = [] {};
    auto* timer = view.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_TRUE(timer && timer->isActive());
    w.CloseSilently();
    view.pollTick();
    EXPECT_FALSE(timer->isActive());
}
