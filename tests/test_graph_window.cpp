// Response graph on an editing window: channel sums, bypass, polarity and the drawn curves.
#include "graph/ModGraph.h"
#include "window/CtrlWindowSlots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr QRgb kRedPixel = 0xFFFF0000u;
constexpr QRgb kBluePixel = 0xFF0000FFu;

struct GraphWindowTest : ::testing::Test {
    AppState st;
    CtrlWindowSlots wins{st};
    ModGraph mg{st, wins};
    static constexpr int kDev = 7;
    static constexpr int kSlot = 2;

    void SetUp() override {
        st.SlotTable[kSlot] = {-1, kDev, kSlot};
        st.CurSlot = kSlot;
        DeviceRec& r = rec();
        for (int b = 0; b < 19; ++b) {
            r.BandFreq[b] = 1000;
            r.BandQ[b] = 1.0f;
            r.BandOff[b] = 1.0f;
        }
        for (int k = 0; k < 4; ++k) {
            r.XoverF1[k] = r.XoverF2[k] = r.XoverF3[k] = r.XoverF4[k] = 1000;
            r.XoverQ1[k] = r.XoverQ2[k] = r.XoverQ3[k] = r.XoverQ4[k] = 0.7f;
        }
    }
    DeviceRec& rec() { return st.DevRecs[kDev]; }
    FrmCtrl& win() { return wins.CtrlWindow(kSlot); }
    SlotResponse& resp() { return st.Graph.Slot(kSlot); }
    QImage& image(int g) { return win().Picture1[static_cast<size_t>(g)].Image; }
    void setBand(int b, int type, float gain, float fc, float q) {
        st.BandType[kDev][b] = static_cast<int16_t>(type);
        rec().BandGain[b] = gain;
        rec().BandFreq[b] = fc;
        rec().BandQ[b] = q;
        rec().BandOff[b] = 0.0f;
        win().Slider2[b].setValue(static_cast<int>(std::lround(30 - 2 * gain)));
    }
    // Pixels of colour c in column x.
    int countInColumn(int g, int x, QRgb c) {
        int n = 0;
        for (int y = 0; y < image(g).height(); ++y)
            n += image(g).pixel(x, y) == c;
        return n;
    }
    bool rowHas(int g, int y, QRgb c) {
        for (int x = 0; x < 576; ++x)
            if (image(g).pixel(x, y) != c) return false;
        return true;
    }
};

} // namespace

TEST_F(GraphWindowTest, SumsFollowBandsCrossoversDelayAndBypass) {
    setBand(6, 0, 6, 1000, 1.4f);
    setBand(9, 8, 0, 2000, 1);
    rec().XoverType[0] = 2;
    st.DelaySamples[kDev][1] = 48;
    mg.CalcBandGraph(kSlot, 6);
    mg.CalcBandGraph(kSlot, 9);
    mg.CalcXoverGraph(kSlot, 0);
    SlotResponse& r = resp();
    for (int i : {0, 200, 333, 575}) {
        const double f = GridFrequency(i, st.Tables.PointsPerDecade);
        EXPECT_FLOAT_EQ(r.OutMag[1][i], r.BandMag[6][i] + r.BandMag[9][i] + r.XoverMag[0][i]) << i;
        EXPECT_NEAR(r.OutPhase[1][i],
                    r.BandPhase[6][i] + r.BandPhase[9][i] + r.XoverPhase[0][i] + DelayPhaseAt(f, 48), 1e-9);
    }
    // A band that is switched off is flat; the output's equaliser bypass leaves the bands out.
    rec().BandOff[6] = 1.0f;
    mg.CalcBandGraph(kSlot, 6);
    EXPECT_EQ(r.BandMag[6][300], 0.0f);
    EXPECT_EQ(r.BandPhase[6][300], 0.0);
    st.EqBypass[kDev][1] = 1;
    mg.CalcBandGraph(kSlot, 5);
    for (int i : {10, 300}) {
        EXPECT_FLOAT_EQ(r.OutMag[1][i], r.XoverMag[0][i]);
        EXPECT_DOUBLE_EQ(r.OutPhase[1][i], r.XoverPhase[0][i] + r.DelayPhase[1][i]);
    }
    // Input bypassed: 0 dB and the delay phase alone.
    setBand(2, 0, 12, 500, 1);
    st.EqBypass[kDev][0] = 1;
    st.DelaySamples[kDev][0] = 5;
    mg.CalcBandGraph(kSlot, 2);
    EXPECT_EQ(r.OutMag[0][400], 0.0f);
    EXPECT_DOUBLE_EQ(r.OutPhase[0][400], r.DelayPhase[0][400]);
    EXPECT_NE(r.BandMag[2][400], 0.0f);
    // Stale values from an earlier type never survive an unknown type.
    st.BandType[kDev][2] = 23;
    mg.CalcBandGraph(kSlot, 2);
    rec().XoverType[0] = 19;
    mg.CalcXoverGraph(kSlot, 0);
    EXPECT_EQ(r.BandMag[2][400], 0.0f);
    EXPECT_EQ(r.XoverMag[0][400], 0.0f);
    EXPECT_EQ(r.XoverPhase[0][400], 0.0);
}

TEST_F(GraphWindowTest, PhaseViewIsUnchangedByWhatRanBefore) {
    // Band pass edited twice, and a Butterworth -12 high-pass at 40 Hz after another filter: the
    // stored curves are the same each time.
    win().Option5[1].setValue(true);
    setBand(5, 15, 0, 1000, 2);
    mg.CalcBandGraph(kSlot, 5);
    const auto first = resp().BandPhase[5];
    mg.CalcBandGraph(kSlot, 5);
    EXPECT_EQ(resp().BandPhase[5], first);
    EXPECT_NEAR(first[0], 90, 3);

    rec().XoverType[1] = 7;
    rec().XoverF1[1] = 3000;
    mg.CalcXoverGraph(kSlot, 1);
    rec().XoverType[0] = 2;
    rec().XoverF1[0] = 40;
    mg.CalcXoverGraph(kSlot, 0);
    EXPECT_NEAR(resp().XoverPhase[0][0], 136.69, 0.01);
    // The drawn sum is wrapped into -180..180 and kept so.
    for (int i = 0; i < kGraphPoints; ++i) {
        EXPECT_LE(std::abs(resp().OutPhase[1][i]), 180.0) << i;
    }
}

TEST_F(GraphWindowTest, FlatChannelRowsPolarityAndOutputPlusInput) {
    // Flat input at 0 dB: row 95 across the whole graph, red.
    mg.CalcBandGraph(kSlot, 0);
    EXPECT_EQ(image(0).size(), QSize(576, 192));
    EXPECT_TRUE(rowHas(0, 95, kRedPixel));
    EXPECT_EQ(countInColumn(0, 300, kRedPixel), 2); // pen width 2

    // Output 1 at +6 dB with the input at -3 dB added: row 86.
    rec().ChanGain[1] = 6;
    rec().ChanGain[0] = -3;
    st.AddInputGain[kSlot][0] = 1;
    mg.RedrawGraph(kSlot, 1);
    EXPECT_TRUE(rowHas(1, 86, kRedPixel));
    EXPECT_EQ(countInColumn(1, 300, kRedPixel), 2);
    st.AddInputGain[kSlot][0] = 0;
    mg.RedrawGraph(kSlot, 1);
    EXPECT_TRUE(rowHas(1, 76, kRedPixel)); // 95.4 - 19.1

    // Phase view with the output's polarity box ticked: -180 kept, on row 191.
    win().Check2[2].setValue(1);
    win().Option5[2].setValue(true);
    mg.CalcBandGraph(kSlot, 12);
    EXPECT_DOUBLE_EQ(resp().OutPhase[2][100], -180.0);
    EXPECT_TRUE(rowHas(2, 191, kBluePixel));

    EXPECT_EQ(PixelRow(86.5), 86);
    EXPECT_EQ(PixelRow(87.5), 88);
}

TEST_F(GraphWindowTest, OverlayOrderColoursAndSuspension) {
    rec().ChanGain[1] = 0;
    rec().ChanGain[2] = 0;
    st.OverlayOther[kSlot] = {1, 1};
    // Graph 1: the blue overlay of output 2 lies under the red own curve.
    mg.RedrawGraph(kSlot, 1);
    EXPECT_EQ(image(1).pixel(300, 95), kRedPixel);
    // Graph 2: the red overlay of output 1 lies under the blue own curve.
    mg.CalcXoverGraph(kSlot, 3);
    EXPECT_EQ(image(2).pixel(300, 95), kBluePixel);
    // Apart, both colours show.
    rec().ChanGain[2] = -10;
    mg.RedrawGraph(kSlot, 1);
    EXPECT_EQ(countInColumn(1, 300, kBluePixel), 2);
    EXPECT_EQ(countInColumn(1, 300, kRedPixel), 2);
    // No overlay in the phase view.
    win().Option5[1].setValue(true);
    mg.RedrawGraph(kSlot, 1);
    EXPECT_EQ(countInColumn(1, 300, kBluePixel), 0);

    // While drawing is suspended the grid is painted and the sums made, but no curve drawn.
    st.DrawSuspended = 1;
    setBand(1, 0, 6, 1000, 1);
    mg.CalcBandGraph(kSlot, 1);
    EXPECT_NEAR(resp().OutMag[0][kGraphPoints - 1], resp().BandMag[1][kGraphPoints - 1], 1e-6);
    EXPECT_EQ(image(0), st.Graph.Image.Picture1.Image);
    EXPECT_EQ(countInColumn(0, 300, kRedPixel), 0);
}

TEST_F(GraphWindowTest, GridPicturesAndWildLevels) {
    mg.RedrawGraph(kSlot, 0);
    const FrmImage& img = st.Graph.Image;
    EXPECT_EQ(img.GridPictureWidth, 576);
    EXPECT_EQ(img.GridPictureHeight, 192);
    const QRgb black = 0xFF000000u;
    const int col1k = static_cast<int>(std::lrint(st.Tables.PointsPerDecade * std::log10(50.0)));
    EXPECT_EQ(img.Picture1.Image.pixel(col1k, 10), black);
    EXPECT_EQ(img.Picture1.Image.pixel(0, 95), black);
    EXPECT_EQ(img.Picture2.Image.pixel(300, 95), black);
    EXPECT_EQ(img.Picture1.Image.pixel(col1k + 3, 10), 0xFFFFFFFFu);

    // A point that is not a number is passed over (the curve joins its neighbours); a huge level
    // is drawn off the picture.
    resp().OutMag[0][300] = std::nanf("");
    rec().ChanGain[0] = 0;
    mg.RedrawGraph(kSlot, 0);
    EXPECT_TRUE(rowHas(0, 95, kRedPixel));
    rec().ChanGain[0] = 1e30f;
    mg.RedrawGraph(kSlot, 0);
    EXPECT_EQ(countInColumn(0, 100, kRedPixel), 0);
    EXPECT_EQ(PixelRow(-1e300), -512);
    EXPECT_EQ(PixelRow(INFINITY), 704);
    EXPECT_FALSE(PixelRow(std::nan("")).has_value());
}

TEST_F(GraphWindowTest, AnotherSlotsGraphLeavesTheCurrentWindowAlone) {
    setBand(0, 0, 6, 1000, 1);
    st.DelaySamples[kDev][0] = 5;
    mg.CalcBandGraph(kSlot, 0);
    const auto before = std::make_unique<SlotResponse>(resp());
    const QImage picture = image(0);

    // Slot 5 shows device 9: a -6 dB peak at 200 Hz, a 1 ms delay, its input graph in phase view.
    constexpr int kOther = 5;
    constexpr int kOtherDev = 9;
    st.SlotTable[kOther] = {-1, kOtherDev, kOther};
    DeviceRec& o = st.DevRecs[kOtherDev];
    for (int b = 0; b < 5; ++b)
        o.BandOff[b] = 1.0f;
    o.BandOff[0] = 0.0f;
    o.BandGain[0] = -6;
    o.BandFreq[0] = 200;
    o.BandQ[0] = 2;
    st.DelaySamples[kOtherDev][0] = 48;
    FrmCtrl& other = wins.CtrlWindow(kOther);
    other.Option5[0].setValue(true);
    mg.CalcBandGraph(kOther, 0);
    mg.RedrawGraph(kOther, 0);

    EXPECT_EQ(st.CurSlot, kSlot);
    EXPECT_EQ(resp().BandMag[0], before->BandMag[0]);
    EXPECT_EQ(resp().DelayPhase[0], before->DelayPhase[0]);
    EXPECT_EQ(resp().OutMag[0], before->OutMag[0]);
    EXPECT_EQ(resp().OutPhase[0], before->OutPhase[0]);
    EXPECT_EQ(image(0), picture);

    // The other slot holds its own device's curves, wrapped for its phase view, and they are
    // drawn into its own window's picture.
    const SlotResponse& r = st.Graph.Slot(kOther);
    EXPECT_NEAR(*std::min_element(r.OutMag[0].begin(), r.OutMag[0].end()), -6.0, 0.05);
    for (int i : {100, 400}) {
        EXPECT_EQ(r.DelayPhase[0][i], DelayPhaseAt(GridFrequency(i, st.Tables.PointsPerDecade), 48)) << i;
        EXPECT_LE(std::abs(r.OutPhase[0][i]), 180.0) << i;
        const QImage& drawn = other.Picture1[0].Image;
        ASSERT_EQ(drawn.size(), QSize(576, 192));
        EXPECT_EQ(drawn.pixel(i, *PixelRow(PhaseRowY(r.OutPhase[0][i]))), kRedPixel) << i;
    }
}

// The frequency captions stand centred on the vertical grid lines they name, on every graph, and
// each overlay caption has the colour of the output whose curve it names.
TEST_F(GraphWindowTest, AxisCaptionsSitOnTheirGridLinesInTheirCurvesColours) {
    st.Graph.Image.Form_Load(st.Tables.PointsPerDecade);
    const QImage& grid = st.Graph.Image.Picture1.Image;
    const FrmCtrl& w = win();
    const std::array<QString, 3> names{"100Hz", "1KHz", "10KHz"};
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(w.Label4[static_cast<size_t>(8 * g)].Caption, "20Hz");
        for (int i = 0; i < 3; ++i) {
            const Label& c = w.FreqCaption[static_cast<size_t>(3 * g + i)];
            EXPECT_EQ(c.Caption, names[static_cast<size_t>(i)]);
            ASSERT_EQ((c.Left + c.Width / 2) % kTwipsPerPixel, 0) << c.Caption.toStdString();
            const int x = (c.Left + c.Width / 2) / kTwipsPerPixel;
            // Row 2 crosses no horizontal grid line: black there means a vertical line.
            EXPECT_EQ(grid.pixel(x, 2), qRgb(0, 0, 0)) << "graph " << g << " " << c.Caption.toStdString();
            EXPECT_NE(grid.pixel(x + 3, 2), qRgb(0, 0, 0));
        }
    }
    for (int i = 2; i < 6; ++i) {
        const Label& l = w.Label10[static_cast<size_t>(i)];
        EXPECT_EQ(l.ForeColor, CurveColor(l.Caption == "Channel Left" ? 1 : 2)) << i;
    }
    EXPECT_EQ(w.Label10[4].Caption, "Channel Left");
    EXPECT_EQ(w.Label10[4].ForeColor, CurveColor(1));
}
