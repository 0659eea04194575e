// Graph view options of the editing window: captions of each view, the dB ranges and what is
// drawn on them, and each window's own Output+Input and overlay choices.
#include "graph/MarkerScale.h"
#include "params/ProgramLoad.h"
#include "support/EqTestEnv.h"
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

size_t U(int i) {
    return static_cast<size_t>(i);
}
constexpr QRgb kRedPixel = 0xFFFF0000u, kBluePixel = 0xFF0000FFu, kBlackPixel = 0xFF000000u;
constexpr int kColumn = 300; // no vertical grid line here

// Lowest row of colour c in the column of graph g: a pen of width 2 ends on the curve's row.
int CurveRow(const FrmCtrl& w, int g, QRgb c) {
    const QImage& img = w.Picture1[U(g)].Image;
    for (int y = img.height() - 1; y >= 0; --y)
        if (img.pixel(kColumn, y) == c) return y;
    return -1;
}

void EnterGain(FrmCtrl& w, int ch, const char* text) {
    w.Text1[U(ch)].Text = text;
    int enter = 13;
    w.Text1_KeyPress(ch, enter);
}

} // namespace

TEST(GraphOptionsTest, LoadLabelGraphShowsTheCaptionsAndOptionsOfTheView) {
    struct Case {
        int dev, g;
        std::string clicks; // 'P' "Phase", 'M' "Mag", in turn
        bool overlayBox;
    };
    const Case cases[] = {{1, 0, "", false},  {1, 0, "P", false},  {1, 1, "", true},    {1, 1, "P", false},
                          {1, 1, "PM", true}, {34, 1, "", false}, {34, 1, "PM", false}};
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl& w = env.open(c.dev, 0);
        const size_t g = U(c.g);
        for (char v : c.clicks)
            (v == 'P' ? w.Option5 : w.Option2)[g].setValue(true);
        const bool phase = !c.clicks.empty() && c.clicks.back() == 'P';
        const std::string name = std::to_string(c.dev) + "/" + std::to_string(c.g) + c.clicks;
        for (size_t i = 0; i < 9; ++i)
            EXPECT_EQ(w.Label6[9 * g + i].Visible, phase) << name;
        for (size_t i = 1; i <= 7; ++i)
            EXPECT_EQ(w.Label4[8 * g + i].Visible, !phase) << name;
        EXPECT_TRUE(w.Label4[8 * g].Visible);
        // The graph was drawn again on the grid of the view chosen (a phase line at +90 degrees).
        EXPECT_EQ(w.Picture1[g].Image.pixel(kColumn, 48) == kBlackPixel, phase) << name;
        if (c.g == 0) continue;
        EXPECT_EQ(w.Check4[g - 1].Visible, c.overlayBox) << name;
        EXPECT_EQ(w.Option4[2 * (g - 1)].Visible && w.Option4[2 * (g - 1) + 1].Visible, !phase) << name;
    }
}

TEST(GraphOptionsTest, ScaleCaptionsGraphsZeroAndOneTogetherAndGraphTwoAlone) {
    const std::array<std::array<const char*, 7>, 3> captions{{
        {"+30", "+20", "+10", " 0", "-10", "-20", "-30"},
        {"+14", "+7", " 0", "-7", "-14", "-21", "-28"},
        {"+15", "+10", "+5", " 0", "-5", "-10", "-15"},
    }};
    struct Case {
        int index;
        std::array<int, 3> chosen; // scale choice then shown by graphs 0, 1, 2
    };
    const Case cases[] = {{4, {1, 1, 0}}, {2, {2, 2, 0}}, {8, {0, 0, 2}}, {7, {0, 0, 1}}};
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl& w = env.open(1, 0);
        w.Option3[U(c.index)].setValue(true);
        for (size_t g = 0; g < 3; ++g) {
            EXPECT_TRUE(w.Option3[3 * g + U(c.chosen[g])].value()) << c.index << " graph " << g;
            for (size_t i = 0; i < 7; ++i)
                EXPECT_EQ(w.Label4[8 * g + 1 + i].Caption, captions[U(c.chosen[g])][i]) << c.index;
            EXPECT_EQ(w.Label4[8 * g].Caption, "20Hz");
        }
        EXPECT_FALSE(env.st.EditBusy);
    }
}

TEST(GraphOptionsTest, CurveOverlayAndMarkersLieOnTheRangeTheCaptionsShow) {
    struct Case {
        int index, ownRow, overlayRow; // output 1 flat at +7 dB, output 2 flat at 0 dB over it
    };
    const Case cases[] = {{3, 73, 95}, {4, 32, 64}, {5, 51, 95}};
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl& w = env.open(1, 0);
        EnterGain(w, 1, "7");
        w.Check4[0].setValue(1);
        w.Option3[U(c.index)].setValue(true);
        EXPECT_EQ(CurveRow(w, 1, kRedPixel), c.ownRow) << c.index;
        EXPECT_EQ(CurveRow(w, 1, kBluePixel), c.overlayRow) << c.index;
        EXPECT_EQ(CurveRow(w, 2, kBluePixel), 95) << c.index; // graph 2 keeps its own range
        // The 0 dB marker of a band of output 1 sits on the 0 dB row of the range.
        const Label& m = w.Label5[5];
        const double markerRow = (m.Top + kMarkerSizeTwips / 2 + MarkerViewShiftTwips()) / 15.0;
        EXPECT_NEAR(markerRow, c.overlayRow, 1.0) << c.index;
    }
}

TEST(GraphOptionsTest, MarkerDragStaysWithinABandsGainsTheRangeShownAndThePicture) {
    struct Case {
        int index;
        const char *up, *down;
    };
    const Case cases[] = {{3, "15", "-15"}, {4, "14", "-15"}, {5, "15", "-15"}};
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl& w = env.open(1, 0);
        w.Option3[U(c.index)].setValue(true);
        Label& m = w.Label5[5];
        m.MouseDown(kLeftButton, 0, 60, 60);
        for (int dy : {-20000, 40000}) {
            m.MouseMove(kLeftButton, 0, 60, 60 + dy);
            EXPECT_EQ(w.Text9[5].Text, dy < 0 ? c.up : c.down) << c.index;
            const int top = m.Top + MarkerViewShiftTwips();
            EXPECT_TRUE(top >= 0 && top + kMarkerSizeTwips <= 192 * 15) << c.index << " " << top;
        }
        m.MouseUp(kLeftButton, 0, 60, 60);
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
    b.Check4[0].setValue(1); // the overlay in the second window only
    a.ApplyGainSlider(1);
    b.ApplyGainSlider(1);
    EXPECT_EQ(CurveRow(a, 1, kRedPixel), 115); // 0 dB output with the -6 dB input added: 114.5000004
    EXPECT_EQ(CurveRow(a, 1, kBluePixel), -1);
    EXPECT_EQ(CurveRow(b, 1, kRedPixel), 95);
    EXPECT_EQ(CurveRow(b, 1, kBluePixel), 127); // output 2 at -10 dB

    // "Phase" clicked in the first window while the second is current changes only the first.
    const QImage bInput = b.Picture1[0].Image.copy();
    env.st.CurSlot = 1;
    a.Option5[0].setValue(true);
    EXPECT_EQ(a.Picture1[0].Image.pixel(kColumn, 48), kBlackPixel);
    EXPECT_EQ(b.Picture1[0].Image, bInput);
}

TEST(GraphOptionsTest, ProgramLoadRunsTheViewHandlersAndHoldsEditBusyToItsEnd) {
    EqTestEnv e;
    std::copy(e.st.Tables.DefaultProgram.begin(), e.st.Tables.DefaultProgram.end(), e.img().Params.begin());
    e.img().Options[1] = 1;  // overlay on graph 2
    e.img().Options[40] = 1; // "Output+Input" on graph 1
    e.st.CommSuspended = true;
    LoadProgramToWindow(e.ctx);
    EXPECT_TRUE(e.w().Check4[1].value() && e.w().Option4[1].value());
    EXPECT_EQ(e.st.OverlayOther[0], (std::array<int16_t, 2>{0, 1}));
    EXPECT_EQ(e.st.AddInputGain[0], (std::array<int16_t, 2>{1, 0}));
    ASSERT_FALSE(e.graph.calls.empty());
    for (size_t i = 0; i < e.graph.calls.size(); ++i)
        EXPECT_TRUE(e.graph.editBusyAtCall[i]) << e.graph.calls[i];
    EXPECT_FALSE(e.st.EditBusy);
}
