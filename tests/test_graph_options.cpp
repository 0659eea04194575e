// Graph view options of the editing window: captions of each view, the dB ranges and what is
// drawn on them, and each window's own Output+Input and overlay choices.
#include "graph/MarkerScale.h"
#include "support/LinkedEnv.h"
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb kRedPixel = 0xFFFF0000u, kBluePixel = 0xFF0000FFu, kBlackPixel = 0xFF000000u;
constexpr int kColumn = 300; // no vertical grid line here; row 48 holds the phase grid's +90 degrees line

// Lowest row of colour c in the column of graph g: a pen of width 2 ends on the curve's row.
int CurveRow(const FrmCtrl& w, size_t g, QRgb c) {
    const QImage& img = w.Picture1[g].Image;
    for (int y = img.height() - 1; y >= 0; --y)
        if (img.pixel(kColumn, y) == c) return y;
    return -1;
}

void EnterGain(FrmCtrl& w, size_t ch, const char* text) {
    w.Text1[ch].Text = text;
    int enter = 13;
    w.Text1_KeyPress(static_cast<int>(ch), enter);
}

} // namespace

TEST(GraphOptionsTest, LoadLabelGraphShowsTheCaptionsAndOptionsOfTheView) {
    struct Case {
        int dev;
        size_t g;
        std::string clicks; // 'P' "Phase", 'M' "Mag", in turn
        bool overlayBox;
    };
    const Case cases[] = {
        {1, 0, "P", false}, {1, 1, "", true}, {1, 1, "P", false}, {1, 1, "PM", true}, {34, 1, "PM", false}};
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl& w = env.open(c.dev, 0);
        const size_t g = c.g;
        env.st.CurSlot = 5; // another window's handler ran last: the click makes this one current
        for (char v : c.clicks)
            (v == 'P' ? w.Option5 : w.Option2)[g].setValue(true);
        const bool phase = !c.clicks.empty() && c.clicks.back() == 'P';
        EXPECT_EQ(w.Picture1[g].Image.pixel(kColumn, 48) == kBlackPixel, phase) << c.dev << c.g << c.clicks;
        for (size_t i = 0; i < 9; ++i)
            EXPECT_EQ(w.Label6[9 * g + i].Visible, phase) << c.dev << c.g << c.clicks;
        for (size_t i = 0; i <= 7; ++i) // the frequency caption (0) in both views
            EXPECT_EQ(w.Label4[8 * g + i].Visible, i == 0 || !phase) << c.dev << c.g << c.clicks;
        if (c.g == 0) continue;
        EXPECT_EQ(w.Check4[g - 1].Visible, c.overlayBox) << c.dev << c.clicks;
        EXPECT_EQ(w.Option4[2 * g - 2].Visible && w.Option4[2 * g - 1].Visible, !phase) << c.dev << c.clicks;
    }
}

TEST(GraphOptionsTest, ScalesCaptionTheirGraphsAndDrawCurvesOverlaysAndMarkersOnTheirRange) {
    const char* captions[3] = {"+30,+20,+10, 0,-10,-20,-30", "+14,+7, 0,-7,-14,-21,-28",
                               "+15,+10,+5, 0,-5,-10,-15"};
    struct Case {
        size_t index;
        std::array<size_t, 3> chosen; // scale choice then shown by graphs 0, 1, 2
        int ownRow, overlayRow;       // graph 1: output 1 flat at +7 dB, output 2 at 0 dB over it
        const char* dragUp;           // band 5's gain after a drag far above the picture
    };
    const Case cases[] = {
        {4, {1, 1, 0}, 32, 64, "14"}, {2, {2, 2, 0}, 51, 95, "15"}, {8, {0, 0, 2}, 73, 95, "15"}};
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl& w = env.open(1, 0);
        EnterGain(w, 1, "7");
        w.Check4[0].setValue(1);
        w.Option3[c.index].setValue(true);
        for (size_t g = 0; g < 3; ++g) {
            QStringList shown;
            for (size_t i = 1; i <= 7; ++i)
                shown << w.Label4[8 * g + i].Caption;
            EXPECT_TRUE(w.Option3[3 * g + c.chosen[g]].value()) << c.index << " graph " << g;
            EXPECT_EQ(shown.join(','), captions[c.chosen[g]]) << c.index << " graph " << g;
        }
        EXPECT_EQ(CurveRow(w, 1, kRedPixel), c.ownRow) << c.index;
        EXPECT_EQ(CurveRow(w, 1, kBluePixel), c.overlayRow) << c.index;
        // A 0 dB band's marker sits on the range's 0 dB row; dragged away it gives no gain beyond
        // a band's or the range's and stays on the picture.
        Label& m = w.Label5[5];
        EXPECT_NEAR((m.Top + kMarkerSizeTwips / 2 + MarkerViewShiftTwips()) / 15.0, c.overlayRow, 1.0);
        m.MouseDown(kLeftButton, 0, 60, 60);
        m.MouseMove(kLeftButton, 0, 60, -20000);
        EXPECT_EQ(w.Text9[5].Text, c.dragUp) << c.index;
        EXPECT_GE(m.Top + MarkerViewShiftTwips(), 0) << c.index;
    }
}

TEST(GraphOptionsTest, EachWindowDrawsItsOwnViewOptions) {
    WindowEnv env;
    FrmCtrl& a = env.open(1, 0);
    EnterGain(a, 0, "-6");
    a.Option4[1].setValue(true); // "Output+Input" in the first window only
    FrmCtrl& b = env.open(2, 1);
    EnterGain(b, 0, "-6");
    EnterGain(b, 2, "-10");
    // The overlay in the second window only, ticked as a program load does it: the handler runs
    // all the same and leaves the load's EditBusy raised.
    env.st.SuppressEvents = env.st.EditBusy = true;
    b.Check4[0].setValue(1);
    EXPECT_TRUE(env.st.EditBusy);
    env.st.SuppressEvents = env.st.EditBusy = false;
    a.ApplyGainSlider(1);
    b.ApplyGainSlider(1);
    EXPECT_EQ(CurveRow(a, 1, kRedPixel), 115); // 0 dB output with the -6 dB input added: 114.5000004
    EXPECT_EQ(CurveRow(a, 1, kBluePixel), -1);
    EXPECT_EQ(CurveRow(b, 1, kRedPixel), 95);
    EXPECT_EQ(CurveRow(b, 1, kBluePixel), 127); // output 2 at -10 dB
}

TEST(GraphOptionsTest, LinkedMemberShowsTheBandMarkerOnItsOwnRange) {
    LinkedEnv env({1, 2}, {1, 2});
    FrmCtrl& m = env.open(2, 1);
    m.Option3[2].setValue(true); // "-15dB/+15dB" on the member's input graph only
    FrmCtrl& cur = env.open(1, 0);
    cur.Slider2[2].setValue(10); // +10 dB
    cur.ApplyBandGainSlider(2);
    EXPECT_EQ(cur.Label5[2].Top, MarkerTopOfGain(10, kFullMagScale));
    EXPECT_EQ(m.Label5[2].Top, MarkerTopOfGain(10, MagScaleOf(2)));
}
