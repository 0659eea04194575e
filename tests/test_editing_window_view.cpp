// The editing window's Qt view, built offscreen: its size, its binding to the control state and
// the events it passes to the window; and the views inside the document area.
#include "support/WindowTestEnv.h"

#include "common/Index.h"

#include "window/ui/EditingWindowViews.h"
#include "window/ui/FrmCtrlView.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

namespace {
void Press(QWidget* w, Qt::Key key, const QString& text) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &e);
}
} // namespace

TEST(EditingWindowViewTest, FixedSizeAndControlsFollowTheState) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    EXPECT_EQ(view.size(), QSize(978, 675));
    EXPECT_EQ(view.size(), QSize(14670 / 15, 10125 / 15));

    auto* gain = view.findChild<QLineEdit*>(QStringLiteral("Text1_0"));
    auto* slider = view.findChild<QSlider*>(QStringLiteral("Slider1_0"));
    ASSERT_TRUE(gain && slider);
    EXPECT_EQ(gain->text(), w.Text1[0].Text);
    w.Text1[0].Text = QStringLiteral("-3");
    w.Slider1[0].setValue(30);
    w.Check5.setValueSilently(1);
    view.sync();
    EXPECT_EQ(gain->text(), "-3");
    EXPECT_EQ(slider->value(), 30);
    EXPECT_TRUE(view.findChild<QCheckBox*>(QStringLiteral("Check5"))->isChecked());

    // Only the section in front is seen.
    auto* input = view.findChild<QGroupBox*>(QStringLiteral("Frame25_0"));
    auto* low = view.findChild<QGroupBox*>(QStringLiteral("Frame25_1"));
    EXPECT_TRUE(input->isVisibleTo(&view));
    EXPECT_FALSE(low->isVisibleTo(&view));
    w.FrontSection = 1;
    view.sync();
    EXPECT_FALSE(input->isVisibleTo(&view));
    EXPECT_TRUE(low->isVisibleTo(&view));
}

TEST(EditingWindowViewTest, TypedGainAndClickedSwitchReachTheDevice) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    env.bus.frames.clear();
    auto* gain = view.findChild<QLineEdit*>(QStringLiteral("Text1_0"));
    gain->clear();
    Press(gain, Qt::Key_Minus, QStringLiteral("-"));
    Press(gain, Qt::Key_4, QStringLiteral("4"));
    Press(gain, Qt::Key_Comma, QStringLiteral(",")); // becomes the locale's sign, "."
    Press(gain, Qt::Key_2, QStringLiteral("2"));
    EXPECT_EQ(w.Text1[0].Text, "-4.2");
    Press(gain, Qt::Key_Return, QString(QChar(13)));
    EXPECT_EQ(gain->text(), "-4");
    EXPECT_EQ(view.findChild<QSlider*>(QStringLiteral("Slider1_0"))->value(), 32);
    ASSERT_EQ(env.sent(CmdSetGain).size(), 1u);
    EXPECT_EQ(env.sent(CmdSetGain)[0][11], 64);

    view.findChild<QCheckBox*>(QStringLiteral("Check5"))->click();
    EXPECT_EQ(env.sent(CmdSetLoudness).size(), 1u);
    EXPECT_EQ(w.Check5.value(), 1);
}

TEST(EditingWindowViewTest, EveryTypedKeyReachesTheKeyProcedureWhichMaySwallowIt) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    env.bus.frames.clear();

    // A field whose procedure swallows one key: the view inserts the others only.
    std::vector<int> seen;
    w.Text2[0].KeyPress = [&seen](int& key) {
        seen.push_back(key);
        if (key == 'x') key = 0;
    };
    auto* delay = view.findChild<QLineEdit*>(QStringLiteral("Text2_0"));
    ASSERT_NE(delay, nullptr);
    delay->clear();
    Press(delay, Qt::Key_X, QStringLiteral("x"));
    Press(delay, Qt::Key_Y, QStringLiteral("y"));
    Press(delay, Qt::Key_Escape, QString(QChar(27)));
    EXPECT_EQ(delay->text(), "y");
    EXPECT_EQ(w.Text2[0].Text, "y");
    EXPECT_EQ(seen, (std::vector<int>{'x', 'y', 27}));

    // Esc in a gain field is a refused key like any other: the warning, then "?".
    auto* gain = view.findChild<QLineEdit*>(QStringLiteral("Text1_0"));
    gain->clear();
    Press(gain, Qt::Key_Escape, QString(QChar(27)));
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, "  Valor Incorrecto");
    EXPECT_EQ(gain->text(), "?");
    EXPECT_TRUE(env.bus.frames.empty());
}

TEST(EditingWindowViewTest, ClickedButtonRunsItsProcedureAndShowsTheNewState) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    env.bus.frames.clear();
    auto* mute = view.findChild<QPushButton*>(QStringLiteral("Command4_1"));
    ASSERT_NE(mute, nullptr);
    mute->click();
    ASSERT_EQ(env.sent(CmdSetMute).size(), 1u);
    EXPECT_EQ(env.sent(CmdSetMute)[0][4], 1);
    EXPECT_EQ(w.Command4[1].Caption, "Muted");
    EXPECT_EQ(mute->text(), "Muted");
    EXPECT_EQ(env.linked.calls, std::vector<std::string>{"mute 1"});
}

TEST(EditingWindowViewTest, BypassedEqualiserCanBeSwitchedBackAndItsMarkerPassesThePointerInItsBox) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    auto* bypass = view.findChild<QPushButton*>(QStringLiteral("Command40_0"));
    ASSERT_NE(bypass, nullptr);
    bypass->click();
    bypass->click(); // still enabled while the band controls are not
    EXPECT_EQ(env.sent(CmdSetEqBypass).size(), 2u);
    EXPECT_EQ(env.st.EqBypass[5][0], 0);

    w.Check3[0].setValue(1);
    view.sync();
    const auto markers = view.findChildren<QLabel*>();
    const auto m = std::find_if(markers.begin(), markers.end(), [](QLabel* l) { return l->text() == "1"; });
    ASSERT_NE(m, markers.end());
    int x = -1, y = -1;
    w.Label5[0].MouseDown = [&](int, int, int px, int py) { x = px, y = py; };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF((*m)->rect().center()) + QPointF(0.5, 0.5),
                      (*m)->mapToGlobal(QPointF(0, 0)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(*m, &press);
    EXPECT_EQ(QPoint(x, y), QPoint(60, 60)); // the centre of its 120-twip box
}

TEST(EditingWindowViewTest, DocumentAreaShowsOpenedWindowsAndHidesClosedOnes) {
    WindowEnv env;
    QMdiArea area;
    EditingWindowViews views(env.editing, &area);
    env.listDevices({5});
    FrmCtrl& w = env.open(5, 4);
    FrmCtrlView* view = views.view(4);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(area.subWindowList().size(), 1);
    QMdiSubWindow* sub = area.subWindowList()[0];
    EXPECT_TRUE(sub->isVisibleTo(&area));
    EXPECT_EQ(sub->windowTitle(), w.Caption);

    // The operator closes it and answers No: it stays; then the device stops answering.
    env.msg.answers = {MsgAnswer::No};
    sub->close();
    EXPECT_TRUE(sub->isVisibleTo(&area));
    EXPECT_TRUE(w.loaded());
    env.bus.device(5)->silent = true;
    w.Command4_Click(0);
    EXPECT_FALSE(sub->isVisibleTo(&area));
    EXPECT_EQ(area.subWindowList().size(), 1); // kept for the slot's next window
}

TEST(EditingWindowViewTest, BypassButtonsStayUsableWhileTheirFrameIsGreyed) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    w.FrontSection = 1;
    view.sync();
    for (const char* name : {"Command13_1", "Command14_1"}) {
        auto* button = view.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(button) << name;
        button->click(); // bypassed: the frame greys
        EXPECT_TRUE(button->isEnabledTo(&view)) << name;
        button->click(); // and the same button brings it back
    }
    EXPECT_TRUE(w.Frame8[1].Enabled && w.Frame8[3].Enabled);
    EXPECT_EQ(env.sent(CmdSetLimiter).size() + env.sent(CmdSetCompressor).size(), 4u);
}

TEST(EditingWindowViewTest, AButtonKeepsTheWindowsFontThroughItsColours) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    w.FrontSection = 1;
    view.sync();
    auto* bypass = view.findChild<QPushButton*>(QStringLiteral("Command13_1"));
    ASSERT_NE(bypass, nullptr);
    const QFont windowFont = view.font();
    for (ColorValue colour : {RGBValue(255, 0, 0), kButtonFace, RGBValue(255, 0, 0), kButtonFace}) {
        bypass->click(); // bypassed and red, then back to the button face, twice
        ASSERT_EQ(w.Command13[1].BackColor, colour);
        bypass->ensurePolished();
        EXPECT_EQ(bypass->font().pointSizeF(), windowFont.pointSizeF()) << colour;
        EXPECT_EQ(QFontInfo(bypass->font()).pixelSize(), QFontInfo(windowFont).pixelSize()) << colour;
    }
}

TEST(EditingWindowViewTest, AClickInTheLimiterThresholdTroughMovesItByOneDecibel) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    w.FrontSection = 1;
    view.sync();
    auto* slider = view.findChild<QSlider*>(QStringLiteral("Slider500_1"));
    ASSERT_NE(slider, nullptr);
    w.Slider500[1].setValue(75); // 3 dBu: trough on either side of the handle
    view.sync();
    for (int step : {5, -5}) {
        env.bus.frames.clear();
        const int before = w.Slider500[1].value();
        // In the trough below the handle (towards the larger positions), then above it.
        QStyleOptionSlider opt;
        opt.initFrom(slider);
        opt.orientation = slider->orientation();
        opt.minimum = slider->minimum();
        opt.maximum = slider->maximum();
        opt.sliderPosition = opt.sliderValue = slider->value();
        opt.upsideDown = !slider->invertedAppearance();
        const QRect handle =
            slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider);
        const QPointF at(slider->width() / 2, step > 0 ? handle.bottom() + 8 : handle.top() - 8);
        QMouseEvent press(QEvent::MouseButtonPress, at, slider->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, slider->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &press);
        QApplication::sendEvent(slider, &release);
        EXPECT_EQ(w.Slider500[1].value(), before + step);
        ASSERT_EQ(env.sent(CmdSetLimiter).size(), 1u) << step;
        EXPECT_EQ(env.sent(CmdSetLimiter)[0][11], 150 - before - step); // 1 dB is 5 positions
    }
}

TEST(EditingWindowViewTest, LimiterAndCompressorCaptionsFitTheirColumns) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    for (int frame : {1, 2, 3, 4}) { // the compressors, then the limiters
        auto* box = view.findChild<QGroupBox*>(QStringLiteral("Frame8_%1").arg(frame));
        ASSERT_NE(box, nullptr) << frame;
        const auto captions = box->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(captions.size(), frame <= 2 ? 5 : 3) << frame;
        EXPECT_EQ(captions[0]->text(), "Thr [dBu]") << frame;
        for (qsizetype i = 0; i < captions.size(); ++i) {
            QLabel* l = captions[i];
            const QRect text = l->fontMetrics().boundingRect(
                l->contentsRect(), static_cast<int>(l->alignment()) | Qt::TextWordWrap, l->text());
            EXPECT_TRUE(l->contentsRect().contains(text)) << l->text().toStdString();
            const bool overlaps = i > 0 && l->geometry().intersects(captions[i - 1]->geometry());
            EXPECT_FALSE(overlaps) << l->text().toStdString();
        }
    }
}

TEST(EditingWindowViewTest, OutputGraphsHaveTheirScaleOptionsInTheirFrame) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    FrmCtrlView view(w);
    for (int g = 1; g <= 2; ++g) {
        auto* scale = view.findChild<QGroupBox*>(QStringLiteral("Frame11_%1").arg(g));
        ASSERT_NE(scale, nullptr) << g;
        EXPECT_EQ(scale->title(), "Graphic Scale Gain");
        QStringList options;
        for (QRadioButton* o : scale->findChildren<QRadioButton*>())
            options << o->text();
        EXPECT_EQ(options, (QStringList{"-30dB/+30dB", "-28dB/+14dB", "-15dB/+15dB"})) << g;
        // Each of them still chooses the range.
        scale->findChildren<QRadioButton*>()[2]->click();
        EXPECT_TRUE(w.Option3[U(3 * g + 2)].value()) << g;
    }
}

TEST(EditingWindowViewTest, CloseBoxTakesTheFirstClickAfterAClickOnTheTitleBar) {
    WindowEnv env;
    QMdiArea area;
    area.resize(1100, 800);
    EditingWindowViews views(env.editing, &area);
    env.open(5, 0);
    area.show();
    QMdiSubWindow* sub = area.subWindowList()[0];
    // Where the style puts the title bar's close box.
    QStyleOptionTitleBar bar;
    bar.initFrom(sub);
    bar.subControls = QStyle::SC_All;
    bar.titleBarFlags = sub->windowFlags();
    bar.rect = QRect(0, 0, sub->width(), sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, sub));
    const QPointF close =
        sub->style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarCloseButton, sub).center();
    const QPointF title(sub->width() / 2, bar.rect.height() / 2);
    auto send = [sub](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at, sub->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(sub, &e);
    };
    env.msg.answers = {MsgAnswer::No};
    send(QEvent::MouseMove, title, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, title, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, title, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseMove, close, Qt::NoButton, Qt::NoButton); // straight onto the close box
    send(QEvent::MouseButtonPress, close, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, close, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].title, "ID:5 - Cerrar ventana");
}
