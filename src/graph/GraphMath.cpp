#include "graph/GraphMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Base-10 logarithm as the natural logarithm of x over that of 10.
double Log10(double x) {
    return std::log(x) / std::log(10.0);
}

double NonZero(double d) {
    return d == 0.0 ? kZeroDenominator : d;
}

// The arc tangent; of a zero it is that zero itself, which spares the call for flat stages.
inline double Atan(double y) {
    return y == 0.0 ? y : std::atan(y);
}

// Phase K * (atan(P / D) - n * pi) of a ratio whose denominator changes sign at a pole while its
// numerator keeps its sign: past the pole (D < 0) the phase goes on beyond -90 degrees for a
// negative numerator (n = 1) and beyond +90 degrees for a positive one (n = -1). Split in two so
// that a sweep can work out the ratios of all points first and the arc tangents after.
struct PoleRatio {
    double y; // P / D
    double n; // half turns
};

inline PoleRatio Pole(double P, double D) {
    D = NonZero(D);
    double n = 0;
    if (D < 0) n = P < 0 ? 1 : -1;
    return {P / D, n};
}

inline double PoleAngle(PoleRatio r, bool plusHalfTurn) {
    double v = Atan(r.y) - r.n * kGraphPi;
    if (plusHalfTurn) v += kGraphPi;
    return v * kDegPerRad;
}

double PoleWrapped(double P, double D, bool plusHalfTurn) {
    return PoleAngle(Pole(P, D), plusHalfTurn);
}

using Row = PointRow<double>;

// 20 log10 of every ratio, kept as the stored single-precision magnitude.
void MagRow(const Row& ratio, PointRow<float>& mag) {
    for (size_t i = 0; i < kGraphPoints; ++i)
        mag[i] = static_cast<float>(20 * Log10(ratio[i]));
}

// The phases of the pole ratios of every point.
void PoleRow(const std::array<PoleRatio, kGraphPoints>& r, bool plusHalfTurn, Row& phase) {
    for (size_t i = 0; i < kGraphPoints; ++i)
        phase[i] = PoleAngle(r[i], plusHalfTurn);
}

// Phase K * (atan(P / D) - n * pi) where `continuous` (radians) is the phase that a sweep from
// the lowest frequency reaches here; n is the whole number of half turns between the two.
double WrappedTo(double P, double D, double continuous) {
    D = NonZero(D);
    double a = std::atan(P / D);
    double n = std::nearbyint((a - continuous) / 3.14159265358979323846);
    if (!std::isfinite(n)) n = 0;
    return (a - n * kGraphPi) * kDegPerRad;
}

bool IsShelf(int type) {
    return type >= 1 && type <= 6;
}
bool IsHighShelf(int type) {
    return type >= 1 && type <= 3;
}

int ShelfIndex(int slider) {
    return 60 - std::clamp(slider, 0, 60);
}

} // namespace

double GridFrequency(int i, double pointsPerDecade) {
    return 20.0 * std::pow(10.0, static_cast<double>(i) / pointsPerDecade);
}

void FrequencyGrid::build(double pointsPerDecade) {
    if (Density == pointsPerDecade) return;
    for (size_t i = 0; i < kGraphPoints; ++i) {
        F[i] = GridFrequency(static_cast<int>(i), pointsPerDecade);
        for (size_t n = 0; n < Pow.size(); ++n)
            Pow[n][i] = std::pow(F[i], static_cast<int>(n));
    }
    Density = pointsPerDecade;
}

double DelayPhaseAt(double f, int32_t samples) {
    return -(f * kGraphPi * static_cast<double>(samples) / 24000.0) * kDegPerRad;
}

double NormPhase(double& x) {
    if (!std::isfinite(x)) return x;
    if (x > 180.0 || x < -180.0) {
        // fmod is exact; one correction brings the rest into -180..180, keeping +-180 as the
        // repeated subtraction would leave it.
        double r = std::fmod(x, 360.0);
        if (r > 180.0)
            r -= 360.0;
        else if (r < -180.0)
            r += 360.0;
        x = r;
    }
    return x;
}

BandResponse::BandResponse(const BandSettings& b, const ShelfTables& t) : b_(b) {
    init(&t);
}

BandResponse::BandResponse(const BandSettings& b) : b_(b) {
    init(nullptr);
}

void BandResponse::init(const ShelfTables* t) {
    const BandSettings& b = b_;
    flat_ = b.Off != 0.0 || b.Type < 0 || b.Type >= kBandTypeCount;
    A_ = std::pow(10.0, b.Gain / 40.0);
    sqrtA_ = std::sqrt(A_);
    peakFactor_ = (A_ * A_ - 1) / A_;
    passGain_ = std::pow(10.0, b.Gain / 20.0);
    const size_t idx = static_cast<size_t>(ShelfIndex(b.GainSlider));
    const double fa = t ? t->A[idx] : 1.0;
    const double fb = t ? t->B[idx] : 1.0;
    shelfMagFc_ = b.Freq;
    shelfPhFc_ = b.Freq;
    shelfPhQ_ = b.Q;
    switch (b.Type) {
    case 1:
        shelfMagFc_ = b.Freq / fa;
        shelfMagC_ = 0.3;
        shelfPhFc_ = 0.6 * b.Freq;
        shelfPhQ_ = 0.45;
        break;
    case 2:
        shelfMagFc_ = b.Freq / (0.97 * fb);
        shelfMagC_ = 1.0;
        shelfPhFc_ = 0.75 * b.Freq;
        shelfPhQ_ = 0.707;
        break;
    case 4:
        shelfMagFc_ = b.Freq * fa;
        shelfMagC_ = 0.3;
        shelfPhFc_ = b.Freq / 0.6;
        shelfPhQ_ = 0.45;
        break;
    case 5:
        shelfMagFc_ = b.Freq * fb;
        shelfMagC_ = 1.0;
        shelfPhFc_ = b.Freq / 0.75;
        shelfPhQ_ = 0.707;
        break;
    default:
        shelfMagC_ = b.Q * b.Q;
        break; // 3 and 6 use the band's own frequency and Q
    }
}

// The ratio whose 20 log10 is the shelf magnitude.
double BandResponse::shelfMagRatio(double f) const {
    const double A = A_;
    const double x = f / shelfMagFc_;
    const double x2 = x * x;
    const double T = A * x2 / shelfMagC_;
    const double lo = (A - x2) * (A - x2) + T;         // the terms with A - x^2
    const double hi = (1 - A * x2) * (1 - A * x2) + T; // the terms with 1 - A x^2
    if (IsHighShelf(b_.Type)) return A * std::sqrt(hi) / std::sqrt(lo);
    return A * std::sqrt(lo) / std::sqrt(hi);
}

namespace {

// The shelf phase's ratio: D is the real part of a product whose two factors each turn less
// than a half turn, so the continuous phase is the principal angle of (D, P).
inline PoleRatio ShelfPole(int type, double A, double sqrtA, double fc, double q, double f) {
    const double x = f / fc;
    const double x2 = x * x;
    const double r = sqrtA * x / q;
    const double D = (x / q) * (x / q) * A + (1 - x2 * A) * (A - x2);
    const double P = IsHighShelf(type) ? r * (A - x2 - 1 + x2 * A) : r * (1 - x2 * A - A + x2);
    return Pole(P, D);
}

// The pole ratio of the pass types 8, 9, 11 and 12.
inline PoleRatio PassPole(int type, double fc, double Q, double f) {
    const double x = f / fc;
    switch (type) {
    case 8:
        return Pole(-x / 0.707, 1 - x * x);
    case 9:
        return Pole(-x / Q, 1 - x * x);
    case 11:
        return Pole(-f / (0.707 * fc), 1 - x * x);
    default: // 12
        return Pole(-f / (Q * fc), 1 - x * x);
    }
}

} // namespace

double BandResponse::ShelfMag(double f) const {
    if (!IsShelf(b_.Type)) return 0;
    return 20 * Log10(shelfMagRatio(f));
}

double BandResponse::ShelfPhase(double f) const {
    if (!IsShelf(b_.Type)) return 0;
    return PoleAngle(ShelfPole(b_.Type, A_, sqrtA_, shelfPhFc_, shelfPhQ_, f), false);
}

double BandResponse::PassPhase(double f) const {
    const double fc = b_.Freq;
    const double Q = b_.Q;
    const double x = f / fc;
    switch (b_.Type) {
    case 7:
        return kDegPerRad * Atan(-x);
    case 8:
    case 9:
        return PoleAngle(PassPole(b_.Type, fc, Q, f), false);
    case 10:
        return kDegPerRad * (Atan(-x) + kGraphPi / 2);
    case 11:
    case 12:
        return PoleAngle(PassPole(b_.Type, fc, Q, f), true);
    default:
        return 0;
    }
}

// The ratio whose 20 log10 is the magnitude of the pass types 7..12.
double BandResponse::passMagRatio(double f) const {
    const double fc = b_.Freq;
    const double Q = b_.Q;
    const double x = f / fc;
    const double x2 = x * x;
    switch (b_.Type) {
    case 7:
        return fc / std::sqrt(f * f + fc * fc);
    case 8:
        return fc * fc / std::sqrt(f * f * f * f + fc * fc * fc * fc);
    case 9:
        return 1 / std::sqrt((1 - x2) * (1 - x2) + x2 / (Q * Q));
    case 10:
        return f / std::sqrt(f * f + fc * fc);
    case 11:
        return f * f / std::sqrt(f * f * f * f + fc * fc * fc * fc);
    default: // 12
        return x2 / std::sqrt((1 - x2) * (1 - x2) + x2 / (Q * Q));
    }
}

namespace {

// Peak: the magnitude, and the ratio whose arc tangent is the phase.
inline StagePoint PeakPoint(double gain, double peakFactor, double fc, double Q, double f) {
    const double x = f / fc;
    const double x2 = x * x;
    const double d = fc / f - f / fc;
    const double P = peakFactor * (1 - x2) * x / Q;
    const double D = NonZero((1 - x2) * (1 - x2) + (x / Q) * (x / Q));
    return {gain / (1 + Q * Q * d * d), P / D};
}

// Band pass (15): the magnitude's ratio and the arc tangent's ratio.
inline StagePoint BandPassPoint(double passGain, double fc, double Q, double f) {
    const double x = f / fc;
    const double x2 = x * x;
    const double num = passGain * x / Q;
    // The denominator x / Q never changes sign: no half turn is ever taken.
    return {num / std::sqrt((1 - x2) * (1 - x2) + (x / Q) * (x / Q)), (1 - x2) / NonZero(x / Q)};
}

// Notch (16): the same two ratios.
inline StagePoint NotchPoint(double fc, double Q, double f) {
    const double x = f / fc;
    const double x2 = x * x;
    double N = std::sqrt((1 - x2) * (1 - x2));
    if (N == 0.0) {
        const double y = (f - 1) / fc;
        N = std::sqrt((1 - y * y) * (1 - y * y));
    }
    return {N / std::sqrt((1 - x2) * (1 - x2) + (x / Q) * (x / Q)), (-x / Q) / NonZero(1 - x2)};
}

} // namespace

StagePoint BandResponse::At(double f) const {
    StagePoint p;
    if (flat_) return p;
    const double fc = b_.Freq;
    const double Q = b_.Q;
    const double x = f / fc;
    const double x2 = x * x;
    switch (b_.Type) {
    case 0: {
        const StagePoint r = PeakPoint(b_.Gain, peakFactor_, fc, Q, f);
        p.Mag = r.Mag;
        p.Phase = kDegPerRad * Atan(r.Phase);
        break;
    }
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        p.Mag = ShelfMag(f);
        p.Phase = ShelfPhase(f);
        break;
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
        p.Mag = 20 * Log10(passMagRatio(f));
        p.Phase = PassPhase(f);
        break;
    case 13:
        p.Mag = 0;
        p.Phase = PoleWrapped(-x, 1 - x2, false);
        break;
    case 14: {
        p.Mag = 0;
        const double P = (1 - x2) * (-2 * x) / Q;
        const double D = (1 - x2) * (1 - x2) - (x / Q) * (x / Q);
        // The second-order all-pass turns from 0 to -360 degrees, -180 at its centre.
        p.Phase = WrappedTo(P, D, -2 * std::atan2(x / Q, 1 - x2));
        break;
    }
    case 15: {
        const StagePoint r = BandPassPoint(passGain_, fc, Q, f);
        p.Mag = 20 * Log10(r.Mag);
        p.Phase = kDegPerRad * Atan(r.Phase);
        break;
    }
    default: { // 16, notch
        const StagePoint r = NotchPoint(fc, Q, f);
        p.Mag = 20 * Log10(r.Mag);
        p.Phase = kDegPerRad * Atan(r.Phase);
        break;
    }
    }
    return p;
}

// The same as At point by point, done stage by stage over the whole grid: first the ratios of
// every point (divisions and roots only), then the logarithms, then the arc tangents.
void BandResponse::Sweep(const FrequencyGrid& grid, PointRow<float>& mag, PointRow<double>& phase) const {
    const int type = b_.Type;
    if (flat_) {
        mag.fill(0);
        phase.fill(0);
        return;
    }
    const Row& F = grid.F;
    const double fc = b_.Freq;
    const double Q = b_.Q;
    Row ratio;
    std::array<PoleRatio, kGraphPoints> pole;
    switch (type) {
    case 0:
        for (size_t i = 0; i < kGraphPoints; ++i) {
            const StagePoint r = PeakPoint(b_.Gain, peakFactor_, fc, Q, F[i]);
            mag[i] = static_cast<float>(r.Mag);
            ratio[i] = r.Phase;
        }
        for (size_t i = 0; i < kGraphPoints; ++i)
            phase[i] = kDegPerRad * Atan(ratio[i]);
        return;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        for (size_t i = 0; i < kGraphPoints; ++i) {
            ratio[i] = shelfMagRatio(F[i]);
            pole[i] = ShelfPole(type, A_, sqrtA_, shelfPhFc_, shelfPhQ_, F[i]);
        }
        MagRow(ratio, mag);
        PoleRow(pole, false, phase);
        return;
    case 7:
    case 10:
        for (size_t i = 0; i < kGraphPoints; ++i)
            ratio[i] = passMagRatio(F[i]);
        MagRow(ratio, mag);
        for (size_t i = 0; i < kGraphPoints; ++i)
            phase[i] = PassPhase(F[i]);
        return;
    case 8:
    case 9:
    case 11:
    case 12:
        for (size_t i = 0; i < kGraphPoints; ++i) {
            ratio[i] = passMagRatio(F[i]);
            pole[i] = PassPole(type, fc, Q, F[i]);
        }
        MagRow(ratio, mag);
        PoleRow(pole, type >= 11, phase);
        return;
    case 15:
    case 16:
        for (size_t i = 0; i < kGraphPoints; ++i) {
            const StagePoint r = type == 15 ? BandPassPoint(passGain_, fc, Q, F[i]) : NotchPoint(fc, Q, F[i]);
            ratio[i] = r.Mag;
            pole[i].y = r.Phase;
        }
        MagRow(ratio, mag);
        for (size_t i = 0; i < kGraphPoints; ++i)
            phase[i] = kDegPerRad * Atan(pole[i].y);
        return;
    default: // 13 and 14, point by point
        for (size_t i = 0; i < kGraphPoints; ++i) {
            const StagePoint p = At(F[i]);
            mag[i] = static_cast<float>(p.Mag);
            phase[i] = p.Phase;
        }
        return;
    }
}

double CalcShelfMag(const BandSettings& b, double f, const ShelfTables& t) {
    return BandResponse(b, t).ShelfMag(f);
}

double CalcShelfPhase(const BandSettings& b, double f) {
    return BandResponse(b).ShelfPhase(f);
}

double CalcPassPhase(const BandSettings& b, double f) {
    return BandResponse(b).PassPhase(f);
}

StagePoint BandResponseAt(const BandSettings& b, double f, const ShelfTables& t) {
    return BandResponse(b, t).At(f);
}

int XoverTypeCode(double stored) {
    if (!std::isfinite(stored) || stored < -32768.0 || stored > 32767.0) return -1;
    return static_cast<int>(std::nearbyint(stored));
}

namespace {

using Section = XoverResponse::Section;

inline PoleRatio SecondOrderPole(double q, double f, double fc) {
    const double r = f / fc;
    return Pole(-r / q, 1 - r * r);
}

} // namespace

double LowPass2Phase(double q, double f, double fc) {
    return PoleAngle(SecondOrderPole(q, f, fc), false);
}

double HighPass2Phase(double q, double f, double fc) {
    return PoleAngle(SecondOrderPole(q, f, fc), true);
}

namespace {

// The ratios whose 20 log10 are the magnitudes of the first-order and second-order sections.
inline double FirstOrderRatio(bool low, double F, double f) {
    return (low ? F : f) / std::sqrt(F * F + f * f);
}

inline double SecondOrderRatio(bool low, double F, double Q, double f) {
    const double x = f / F;
    const double den = std::sqrt(x * x / (Q * Q) + (1 - x * x) * (1 - x * x));
    return (low ? 1.0 : x * x) / den;
}

double FirstOrderMag(bool low, double F, double f) {
    return 20 * Log10(FirstOrderRatio(low, F, f));
}

double SecondOrderMag(bool low, double F, double Q, double f) {
    return 20 * Log10(SecondOrderRatio(low, F, Q, f));
}

double FirstOrderPhase(bool low, double F, double f) {
    return low ? std::atan(-f / F) * kDegPerRad : (kGraphPi / 2 + std::atan(-f / F)) * kDegPerRad;
}

double SectionPhase(bool low, const Section& s, double f) {
    if (s.Order == 1) return FirstOrderPhase(low, s.F, f);
    return low ? LowPass2Phase(s.Q, f, s.F) : HighPass2Phase(s.Q, f, s.F);
}

bool SameSection(const Section& a, const Section& b) {
    return a.Order == b.Order && a.F == b.F && a.Q == b.Q;
}

// Magnitude (dB, not yet rounded to single precision) of section s at every point.
void SectionMagRow(bool low, const Section& s, const Row& F, Row& mag) {
    for (size_t i = 0; i < kGraphPoints; ++i)
        mag[i] = s.Order == 1 ? FirstOrderRatio(low, s.F, F[i]) : SecondOrderRatio(low, s.F, s.Q, F[i]);
    for (size_t i = 0; i < kGraphPoints; ++i)
        mag[i] = 20 * Log10(mag[i]);
}

// Phase of section s at every point.
void SectionPhaseRow(bool low, const Section& s, const Row& F, Row& phase) {
    if (s.Order == 1) {
        for (size_t i = 0; i < kGraphPoints; ++i)
            phase[i] = FirstOrderPhase(low, s.F, F[i]);
        return;
    }
    std::array<PoleRatio, kGraphPoints> pole;
    for (size_t i = 0; i < kGraphPoints; ++i)
        pole[i] = SecondOrderPole(s.Q, F[i], s.F);
    PoleRow(pole, !low, phase);
}

// Sections of crossover type `type` in the order their phases are added; returns their count.
int Sections(int type, bool low, const XoverSettings& x, std::array<Section, 4>& s) {
    const double F1 = x.F[0];
    switch (type) {
    case 1:
        s[0] = {1, F1, 0};
        return 1;
    case 2:
        s[0] = {2, F1, 0.707};
        return 1;
    case 3:
        s[0] = {1, F1, 0};
        s[1] = {1, F1, 0};
        return 2;
    case 4:
        s[0] = {2, low ? F1 / 0.52 : F1 * 0.52, 0.577};
        return 1;
    case 5:
        s[0] = {1, F1, 0};
        s[1] = {2, F1, 1};
        return 2;
    case 6:
        s[0] = {2, F1, 1.307};
        s[1] = {2, F1, 0.541};
        return 2;
    case 7:
        s[0] = {2, F1, 0.707};
        s[1] = {2, F1, 0.707};
        return 2;
    case 8: {
        const double Fb = low ? F1 : F1 * 0.649;
        s[0] = {2, Fb, 0.522};
        s[1] = {2, Fb, 0.806};
        return 2;
    }
    case 9:
        s[0] = {2, F1, 0.7};
        s[1] = {2, F1, 1.307};
        s[2] = {2, F1, 0.541};
        return 3;
    case 10:
        s[0] = {2, F1, 1.307};
        s[1] = {2, F1, 0.541};
        s[2] = {2, F1, 1.307};
        s[3] = {2, F1, 0.541};
        return 4;
    case 11:
    case 13:
    case 15:
    case 17: {
        const int n = (type - 9) / 2; // 1, 2, 3, 4 second-order sections
        for (int j = 0; j < n; ++j)
            s[static_cast<size_t>(j)] = {2, x.F[static_cast<size_t>(j)], x.Q[static_cast<size_t>(j)]};
        return n;
    }
    case 12:
    case 14:
    case 16: {
        const int n = (type - 10) / 2 + 1; // first order, then 1, 2, 3 second-order sections
        s[0] = {1, F1, 0};
        for (int j = 1; j < n; ++j)
            s[static_cast<size_t>(j)] = {2, x.F[static_cast<size_t>(j)], x.Q[static_cast<size_t>(j)]};
        return n;
    }
    default:
        return 0;
    }
}

} // namespace

XoverResponse::XoverResponse(int k, const XoverSettings& x) {
    type_ = (x.Type <= 0 || x.Type >= kXoverTypeCount) ? 0 : x.Type;
    low_ = (k % 2) != 0;
    F1_ = x.F[0];
    n_ = Sections(type_, low_, x, s_);
    for (int n = 0; n <= 8; ++n)
        F1pow_[static_cast<size_t>(n)] = std::pow(F1_, n);
}

// Butterworth magnitude of order n at F1.
double XoverResponse::butterworth(int n, double f) const {
    const double top = low_ ? F1pow_[static_cast<size_t>(n)] : std::pow(f, n);
    return 20 * Log10(top / std::sqrt(F1pow_[static_cast<size_t>(2 * n)] + std::pow(f, 2 * n)));
}

// Bessel pair magnitude with frequency factor a.
double XoverResponse::bessel(double a, double f) const {
    if (low_) {
        const double x = f / (a * F1_);
        return 20 * Log10(3 / std::sqrt((3 * x) * (3 * x) + (3 - x * x) * (3 - x * x)));
    }
    const double w = F1_ / a;
    const double t = 3 * f * w;
    const double u = w * w - 3 * f * f;
    return 20 * Log10(3 * f * f / std::sqrt(t * t + u * u));
}

// Whole magnitude of the fixed types 1..10 (a doubled type is one term added to itself).
double XoverResponse::fixedMag(double f) const {
    switch (type_) {
    case 1:
        return butterworth(1, f);
    case 2:
        return butterworth(2, f);
    case 3: {
        const double b = butterworth(1, f);
        return b + b;
    }
    case 4:
        return bessel(0.52, f);
    case 5:
        return butterworth(3, f);
    case 6:
        return butterworth(4, f);
    case 7: {
        const double b = butterworth(2, f);
        return b + b;
    }
    case 8: {
        const double b = bessel(0.649, f);
        return b + b;
    }
    case 9:
        return butterworth(4, f) + butterworth(2, f);
    default: {
        const double b = butterworth(4, f);
        return b + b;
    } // 10
    }
}

XoverPoint XoverResponse::At(double f) const {
    XoverPoint p;
    if (type_ == 0) return p;
    const auto& s = s_;
    if (type_ <= 10) {
        p.Mag = static_cast<float>(fixedMag(f));
    } else {
        // Section by section into the stored single-precision value.
        p.Mag = static_cast<float>(s[0].Order == 1 ? FirstOrderMag(low_, s[0].F, f)
                                                   : SecondOrderMag(low_, s[0].F, s[0].Q, f));
        for (size_t j = 1; j < static_cast<size_t>(n_); ++j)
            p.Mag = static_cast<float>(static_cast<double>(p.Mag) + SecondOrderMag(low_, s[j].F, s[j].Q, f));
    }
    p.Phase = SectionPhase(low_, s[0], f);
    for (size_t j = 1; j < static_cast<size_t>(n_); ++j)
        p.Phase += SectionPhase(low_, s[j], f);
    return p;
}

double XoverResponse::butterworthAt(int n, const FrequencyGrid& grid, size_t i) const {
    const auto un = static_cast<size_t>(n);
    const double top = low_ ? F1pow_[un] : grid.Pow[un][i];
    return 20 * Log10(top / std::sqrt(F1pow_[2 * un] + grid.Pow[2 * un][i]));
}

// fixedMag at grid point i, with the powers of f taken from the grid.
double XoverResponse::fixedMagAt(const FrequencyGrid& grid, size_t i) const {
    const double f = grid.F[i];
    switch (type_) {
    case 1:
        return butterworthAt(1, grid, i);
    case 2:
        return butterworthAt(2, grid, i);
    case 3: {
        const double b = butterworthAt(1, grid, i);
        return b + b;
    }
    case 4:
        return bessel(0.52, f);
    case 5:
        return butterworthAt(3, grid, i);
    case 6:
        return butterworthAt(4, grid, i);
    case 7: {
        const double b = butterworthAt(2, grid, i);
        return b + b;
    }
    case 8: {
        const double b = bessel(0.649, f);
        return b + b;
    }
    case 9:
        return butterworthAt(4, grid, i) + butterworthAt(2, grid, i);
    default: {
        const double b = butterworthAt(4, grid, i);
        return b + b;
    } // 10
    }
}

// The same as At point by point. A section that repeats an earlier one (the doubled fixed types)
// is worked out once and its values used again.
void XoverResponse::Sweep(const FrequencyGrid& grid, PointRow<float>& mag, PointRow<double>& phase) const {
    if (type_ == 0) {
        mag.fill(0);
        phase.fill(0);
        return;
    }
    const auto n = static_cast<size_t>(n_);
    std::array<Row, 4> rows;
    std::array<const Row*, 4> row{};
    // The section j' <= j whose values section j takes.
    auto firstSame = [&](size_t j) {
        size_t e = 0;
        while (!SameSection(s_[e], s_[j]))
            ++e;
        return e;
    };
    if (type_ <= 10) {
        for (size_t i = 0; i < kGraphPoints; ++i)
            mag[i] = static_cast<float>(fixedMagAt(grid, i));
    } else {
        // Section by section into the stored single-precision value.
        for (size_t j = 0; j < n; ++j) {
            const size_t e = firstSame(j);
            if (e == j) SectionMagRow(low_, s_[j], grid.F, rows[j]);
            row[j] = &rows[e];
        }
        for (size_t i = 0; i < kGraphPoints; ++i)
            mag[i] = static_cast<float>((*row[0])[i]);
        for (size_t j = 1; j < n; ++j)
            for (size_t i = 0; i < kGraphPoints; ++i)
                mag[i] = static_cast<float>(static_cast<double>(mag[i]) + (*row[j])[i]);
    }
    for (size_t j = 0; j < n; ++j) {
        const size_t e = firstSame(j);
        if (e == j) SectionPhaseRow(low_, s_[j], grid.F, rows[j]);
        row[j] = &rows[e];
    }
    phase = *row[0];
    for (size_t j = 1; j < n; ++j)
        for (size_t i = 0; i < kGraphPoints; ++i)
            phase[i] += (*row[j])[i];
}

XoverPoint XoverResponseAt(int k, const XoverSettings& x, double f) {
    return XoverResponse(k, x).At(f);
}
