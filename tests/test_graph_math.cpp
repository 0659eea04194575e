// Response math: grid, band and crossover responses, phase continuity and wrapping.
#include "common/Tables.h"
#include "graph/GraphMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const ConstantTables& Tables() {
    static const ConstantTables t;
    return t;
}

ShelfTables Shelves() {
    return {Tables().ShelfFactorA, Tables().ShelfFactorB};
}

double Ppd() {
    return Tables().PointsPerDecade;
}

BandSettings Band(int type, double gain, double fc, double q, int slider = 30) {
    BandSettings b;
    b.Type = type;
    b.Gain = gain;
    b.Freq = fc;
    b.Q = q;
    b.GainSlider = slider;
    return b;
}

XoverSettings Xover(int type, double f1, std::array<double, 4> f = {}, std::array<double, 4> q = {}) {
    XoverSettings x;
    x.Type = type;
    x.F = f;
    x.Q = q;
    x.F[0] = f1;
    return x;
}

std::vector<double> BandPhaseSweep(const BandSettings& b) {
    std::vector<double> out;
    for (int i = 0; i < kGraphPoints; ++i)
        out.push_back(BandResponseAt(b, GridFrequency(i, Ppd()), Shelves()).Phase);
    return out;
}

std::vector<double> XoverPhaseSweep(int k, const XoverSettings& x) {
    std::vector<double> out;
    for (int i = 0; i < kGraphPoints; ++i)
        out.push_back(XoverResponseAt(k, x, GridFrequency(i, Ppd())).Phase);
    return out;
}

double LargestStep(const std::vector<double>& v) {
    double m = 0;
    for (size_t i = 1; i < v.size(); ++i)
        m = std::max(m, std::abs(v[i] - v[i - 1]));
    return m;
}

// The running half-turn count of a sweep, started fresh: the reference the closed form must
// equal wherever a sweep starts below the pole.
struct RunningWrap {
    int count = 0;
    int prevSign = 0;
    int operator()(double num, double den) {
        const double r = num / den;
        const int sign = (r > 0) - (r < 0);
        const double s = std::sin(std::atan(r));
        if (s > 0.6 && prevSign < 0 && sign >= 1)
            ++count;
        else if (s < -0.6 && prevSign >= 1 && sign < 0)
            --count;
        prevSign = sign;
        return count;
    }
};

double Wrapped(RunningWrap& w, double P, double D, bool plus) {
    if (D == 0.0) D = kZeroDenominator;
    const int n = w(P, D);
    return kDegPerRad * (std::atan(P / D) - n * kGraphPi + (plus ? kGraphPi : 0.0));
}

} // namespace

TEST(GraphGridTest, GridEndsDelayPhaseAndNormPhase) {
    EXPECT_NEAR(GridFrequency(0, Ppd()), 20.0, 1e-9);
    EXPECT_NEAR(GridFrequency(575, Ppd()), 20000.0, 1e-6);
    EXPECT_NEAR(GridFrequency(192, Ppd()), 200.0, 3.0);
    EXPECT_EQ(DelayPhaseAt(5000, 0), 0.0);
    EXPECT_NEAR(DelayPhaseAt(1000, 48), -360.0, 1e-3);
    EXPECT_NEAR(DelayPhaseAt(20000, 48), -7200.0, 1e-2);

    const struct {
        double in, out;
    } cases[] = {
        {540, 180},  {-540, -180}, {181, -179},     {180, 180},  {-180, -180},   {0, 0},          {360, 0},
        {-181, 179}, {900, 180},   {-7200.5, -0.5}, {7380, 180}, {45.25, 45.25}, {1e12 + 90, 10},
    };
    for (const auto& c : cases) {
        double x = c.in;
        EXPECT_DOUBLE_EQ(NormPhase(x), c.out) << c.in;
        EXPECT_DOUBLE_EQ(x, c.out) << "written back for " << c.in;
    }
    double nan = std::nan("");
    EXPECT_TRUE(std::isnan(NormPhase(nan)));
}

TEST(GraphBandTest, WorkedValuesByType) {
    // Peak: exact gain at its centre, phase positive below and negative above, flat at 0 dB.
    const BandSettings peak = Band(0, 12, 1000, 1.4);
    EXPECT_NEAR(BandResponseAt(peak, 1000, Shelves()).Mag, 12.0, 1e-12);
    EXPECT_NEAR(BandResponseAt(peak, 1000, Shelves()).Phase, 0.0, 1e-9);
    EXPECT_GT(BandResponseAt(peak, 700, Shelves()).Phase, 1.0);
    EXPECT_LT(BandResponseAt(peak, 1400, Shelves()).Phase, -1.0);
    for (double f : {20.0, 1000.0, 20000.0}) {
        const StagePoint p = BandResponseAt(Band(0, 0, 1000, 2), f, Shelves());
        EXPECT_EQ(p.Mag, 0.0);
        EXPECT_EQ(p.Phase, 0.0);
    }
    // Second-order low-pass at its corner.
    const StagePoint lp = BandResponseAt(Band(8, 0, 1000, 1), 1000, Shelves());
    EXPECT_NEAR(lp.Mag, -3.0103, 1e-4);
    EXPECT_NEAR(lp.Phase, -90.0, 1e-4);
    // Band pass: its gain at the centre.
    EXPECT_NEAR(BandResponseAt(Band(15, 6, 500, 2), 500, Shelves()).Mag, 6.0, 1e-9);
    // Shelves reach their gain on their own side and 0 dB on the other.
    for (int type : {1, 2, 3}) {
        EXPECT_NEAR(BandResponseAt(Band(type, 9, 500, 0.7, 12), 20000, Shelves()).Mag, 9.0, 0.2) << type;
        EXPECT_NEAR(BandResponseAt(Band(type, 9, 500, 0.7, 12), 20, Shelves()).Mag, 0.0, 0.2) << type;
        EXPECT_NEAR(BandResponseAt(Band(type + 3, -9, 500, 0.7, 48), 20, Shelves()).Mag, -9.0, 0.2) << type;
    }
    // Within 12 steps of the middle the fixed shelves use the band frequency itself.
    EXPECT_EQ(CalcShelfMag(Band(1, 3, 800, 1, 18), 900, Shelves()),
              CalcShelfMag(Band(1, 3, 800, 1, 42), 900, Shelves()));
    EXPECT_NE(CalcShelfMag(Band(1, 3, 800, 1, 17), 900, Shelves()),
              CalcShelfMag(Band(1, 3, 800, 1, 18), 900, Shelves()));
    // All-pass bands are flat; a notch on a grid frequency is deep but finite.
    EXPECT_EQ(BandResponseAt(Band(13, 5, 300, 1), 900, Shelves()).Mag, 0.0);
    EXPECT_EQ(BandResponseAt(Band(14, 5, 300, 1), 900, Shelves()).Mag, 0.0);
    const double f100 = GridFrequency(100, Ppd());
    const double notch = BandResponseAt(Band(16, 0, f100, 2), f100, Shelves()).Mag;
    EXPECT_TRUE(std::isfinite(notch));
    EXPECT_LT(notch, -20.0);
}

TEST(GraphBandTest, OffAndUnknownTypesAreFlat) {
    for (int type : {-1, 0, 5, 9, 16, 17, 40}) {
        BandSettings b = Band(type, 10, 1000, 1);
        if (type >= 0 && type <= 16) b.Off = 1.0;
        const StagePoint p = BandResponseAt(b, 900, Shelves());
        EXPECT_EQ(p.Mag, 0.0) << type;
        EXPECT_EQ(p.Phase, 0.0) << type;
    }
}

TEST(GraphBandTest, WrappedPhasesAreContinuousAndEqualAFreshSweep) {
    // Types whose phase passes a pole: no half-turn jump anywhere, and the same values as a
    // running count started fresh at the first point.
    const struct {
        int type;
        double gain, fc, q;
    } cases[] = {
        {1, 12, 1000, 1}, {2, -12, 300, 1},   {3, 15, 2000, 6}, {4, 12, 1000, 1}, {5, -15, 80, 1},
        {6, 15, 500, 8},  {8, 0, 1000, 1},    {9, 0, 400, 12},  {11, 0, 1000, 1}, {12, 0, 60, 0.5},
        {13, 0, 2000, 1}, {14, 0, 1000, 0.7}, {14, 0, 300, 5},  {15, 3, 1000, 2}, {15, 0, 100, 0.3},
    };
    for (const auto& c : cases) {
        const BandSettings b = Band(c.type, c.gain, c.fc, c.q, 0);
        const std::vector<double> ph = BandPhaseSweep(b);
        EXPECT_LT(LargestStep(ph), 60.0) << "type " << c.type << " fc " << c.fc;
        if (c.type >= 8) {
            RunningWrap w;
            for (int i = 0; i < kGraphPoints; ++i) {
                const double f = GridFrequency(i, Ppd());
                const double x = f / c.fc;
                double ref = 0;
                switch (c.type) {
                case 8:
                    ref = Wrapped(w, -x / 0.707, 1 - x * x, false);
                    break;
                case 9:
                    ref = Wrapped(w, -x / c.q, 1 - x * x, false);
                    break;
                case 11:
                    ref = Wrapped(w, -f / (0.707 * c.fc), 1 - x * x, true);
                    break;
                case 12:
                    ref = Wrapped(w, -f / (c.q * c.fc), 1 - x * x, true);
                    break;
                case 13:
                    ref = Wrapped(w, -x, 1 - x * x, false);
                    break;
                case 14:
                    ref = Wrapped(w, (1 - x * x) * (-2 * x) / c.q,
                                  (1 - x * x) * (1 - x * x) - (x / c.q) * (x / c.q), false);
                    break;
                default:
                    ref = Wrapped(w, 1 - x * x, x / c.q, false);
                    break;
                }
                ASSERT_DOUBLE_EQ(ph[static_cast<size_t>(i)], ref) << "type " << c.type << " point " << i;
            }
        }
    }
    // Second-order low-pass runs 0 .. -180, high-pass +180 .. 0, all-pass II 0 .. -360.
    const auto lp = BandPhaseSweep(Band(8, 0, 632, 1));
    const auto hp = BandPhaseSweep(Band(11, 0, 632, 1));
    const auto ap = BandPhaseSweep(Band(14, 0, 632, 0.7));
    EXPECT_NEAR(lp.front(), 0, 5);
    EXPECT_NEAR(lp.back(), -180, 5);
    EXPECT_NEAR(hp.front(), 180, 5);
    EXPECT_NEAR(hp.back(), 0, 5);
    EXPECT_NEAR(ap.front(), 0, 8);
    EXPECT_NEAR(ap.back(), -360, 8);
}

TEST(GraphXoverTest, WorkedValuesByType) {
    const struct {
        int type, k;
        double f, mag, phase;
    } cases[] = {
        {2, 1, 1000, -3.0103, -90.000013},  // Butterworth -12 low-pass at F1
        {7, 1, 1000, -6.0206, -180.000026}, // Linkwitz-Riley -24
        {1, 1, 1000, -3.0103, -45.0000065}, // Butterworth -6 low-pass
        {1, 0, 1000, -3.0103, 45.0000065},  // Butterworth -6 high-pass
        {3, 0, 1000, -6.0206, 90.000013},   // Linkwitz-Riley -12 high-pass
    };
    for (const auto& c : cases) {
        const XoverPoint p = XoverResponseAt(c.k, Xover(c.type, 1000), c.f);
        EXPECT_NEAR(p.Mag, c.mag, 1e-4) << c.type;
        EXPECT_NEAR(p.Phase, c.phase, 1e-5) << c.type;
    }
    for (int k : {0, 1}) {
        EXPECT_NEAR(XoverResponseAt(k, Xover(4, 800), 800).Mag, -5.7431, 1e-4) << k;
        EXPECT_NEAR(XoverResponseAt(k, Xover(8, 800), 800).Mag, -7.6680, 1e-4) << k;
    }
    // A custom section at its corner has 20 log10(Q).
    const XoverPoint custom = XoverResponseAt(1, Xover(11, 500, {}, {0.7, 0, 0, 0}), 500);
    EXPECT_NEAR(custom.Mag, -3.098, 1e-3);
    // Bypass and unknown codes are flat.
    for (int type : {0, 18, -1, 200}) {
        const XoverPoint p = XoverResponseAt(1, Xover(type, 1000), 300);
        EXPECT_EQ(p.Mag, 0.0f);
        EXPECT_EQ(p.Phase, 0.0);
    }
    EXPECT_EQ(XoverTypeCode(2.5), 2);
    EXPECT_EQ(XoverTypeCode(3.5), 4);
    EXPECT_EQ(XoverTypeCode(std::nan("")), -1);
    EXPECT_EQ(XoverTypeCode(1e30), -1);
}

TEST(GraphXoverTest, EveryTypeIsContinuousWhateverRanBefore) {
    const std::array<double, 4> f = {300, 900, 2500, 6000};
    const std::array<double, 4> q = {0.7, 1.3, 0.5, 2.0};
    for (int type = 1; type <= 17; ++type) {
        for (int k = 0; k < 4; ++k) {
            // A corner below 53 Hz and a higher one: no half-turn jumps, the same on every sweep.
            for (double f1 : {40.0, 1000.0}) {
                const XoverSettings x = Xover(type, f1, f, q);
                const auto ph = XoverPhaseSweep(k, x);
                EXPECT_LT(LargestStep(ph), 60.0) << "type " << type << " k " << k << " F1 " << f1;
                EXPECT_EQ(ph, XoverPhaseSweep(k, x)) << "type " << type;
            }
        }
    }
    // Butterworth -12 high-pass from +180 at the bottom; a corner on point 0 gives -90 there.
    EXPECT_NEAR(XoverPhaseSweep(0, Xover(2, 40)).front(), 136.69, 0.01);
    EXPECT_NEAR(XoverPhaseSweep(1, Xover(2, 20)).front(), -90.0, 1e-4);
    // Fixed types with one shared corner equal a fresh running count.
    RunningWrap w;
    const XoverSettings lr48 = Xover(10, 700);
    for (int i = 0; i < kGraphPoints; ++i) {
        const double fi = GridFrequency(i, Ppd());
        const double r = fi / 700;
        double ref = 0;
        for (double qq : {1.307, 0.541, 1.307, 0.541})
            ref += Wrapped(w, -r / qq, 1 - r * r, true);
        ASSERT_DOUBLE_EQ(XoverResponseAt(0, lr48, fi).Phase, ref) << i;
    }
}
