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

// Phase K * (atan(P / D) - n * pi) of a ratio whose denominator changes sign at a pole while its
// numerator keeps its sign: past the pole (D < 0) the phase goes on beyond -90 degrees for a
// negative numerator (n = 1) and beyond +90 degrees for a positive one (n = -1).
double PoleWrapped(double P, double D, bool plusHalfTurn) {
    D = NonZero(D);
    double n = 0;
    if (D < 0) n = P < 0 ? 1 : -1;
    double v = std::atan(P / D) - n * kGraphPi;
    if (plusHalfTurn) v += kGraphPi;
    return v * kDegPerRad;
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

double BandResponse::ShelfMag(double f) const {
    if (!IsShelf(b_.Type)) return 0;
    const double A = A_;
    const double x = f / shelfMagFc_;
    const double x2 = x * x;
    const double T = A * x2 / shelfMagC_;
    const double lo = (A - x2) * (A - x2) + T;         // the terms with A - x^2
    const double hi = (1 - A * x2) * (1 - A * x2) + T; // the terms with 1 - A x^2
    if (IsHighShelf(b_.Type)) return 20 * Log10(A * std::sqrt(hi) / std::sqrt(lo));
    return 20 * Log10(A * std::sqrt(lo) / std::sqrt(hi));
}

double BandResponse::ShelfPhase(double f) const {
    if (!IsShelf(b_.Type)) return 0;
    const double A = A_;
    const double q = shelfPhQ_;
    const double x = f / shelfPhFc_;
    const double x2 = x * x;
    const double r = sqrtA_ * x / q;
    const double D = (x / q) * (x / q) * A + (1 - x2 * A) * (A - x2);
    const double P = IsHighShelf(b_.Type) ? r * (A - x2 - 1 + x2 * A) : r * (1 - x2 * A - A + x2);
    // D is the real part of a product whose two factors each turn less than a half turn, so
    // the continuous phase is the principal angle of (D, P).
    return PoleWrapped(P, D, false);
}

double BandResponse::PassPhase(double f) const {
    const double fc = b_.Freq;
    const double Q = b_.Q;
    const double x = f / fc;
    switch (b_.Type) {
    case 7:
        return kDegPerRad * std::atan(-x);
    case 8:
        return PoleWrapped(-x / 0.707, 1 - x * x, false);
    case 9:
        return PoleWrapped(-x / Q, 1 - x * x, false);
    case 10:
        return kDegPerRad * (std::atan(-x) + kGraphPi / 2);
    case 11:
        return PoleWrapped(-f / (0.707 * fc), 1 - x * x, true);
    case 12:
        return PoleWrapped(-f / (Q * fc), 1 - x * x, true);
    default:
        return 0;
    }
}

StagePoint BandResponse::At(double f) const {
    StagePoint p;
    if (flat_) return p;
    const double fc = b_.Freq;
    const double Q = b_.Q;
    const double x = f / fc;
    const double x2 = x * x;
    switch (b_.Type) {
    case 0: {
        const double d = fc / f - f / fc;
        p.Mag = b_.Gain / (1 + Q * Q * d * d);
        const double P = peakFactor_ * (1 - x2) * x / Q;
        const double D = NonZero((1 - x2) * (1 - x2) + (x / Q) * (x / Q));
        p.Phase = kDegPerRad * std::atan(P / D);
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
        p.Mag = 20 * Log10(fc / std::sqrt(f * f + fc * fc));
        p.Phase = PassPhase(f);
        break;
    case 8:
        p.Mag = 20 * Log10(fc * fc / std::sqrt(f * f * f * f + fc * fc * fc * fc));
        p.Phase = PassPhase(f);
        break;
    case 9:
        p.Mag = 20 * Log10(1 / std::sqrt((1 - x2) * (1 - x2) + x2 / (Q * Q)));
        p.Phase = PassPhase(f);
        break;
    case 10:
        p.Mag = 20 * Log10(f / std::sqrt(f * f + fc * fc));
        p.Phase = PassPhase(f);
        break;
    case 11:
        p.Mag = 20 * Log10(f * f / std::sqrt(f * f * f * f + fc * fc * fc * fc));
        p.Phase = PassPhase(f);
        break;
    case 12:
        p.Mag = 20 * Log10(x2 / std::sqrt((1 - x2) * (1 - x2) + x2 / (Q * Q)));
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
        const double num = passGain_ * x / Q;
        p.Mag = 20 * Log10(num / std::sqrt((1 - x2) * (1 - x2) + (x / Q) * (x / Q)));
        // The denominator x / Q never changes sign: no half turn is ever taken.
        p.Phase = kDegPerRad * std::atan((1 - x2) / NonZero(x / Q));
        break;
    }
    default: { // 16, notch
        double N = std::sqrt((1 - x2) * (1 - x2));
        if (N == 0.0) {
            const double y = (f - 1) / fc;
            N = std::sqrt((1 - y * y) * (1 - y * y));
        }
        p.Mag = 20 * Log10(N / std::sqrt((1 - x2) * (1 - x2) + (x / Q) * (x / Q)));
        p.Phase = kDegPerRad * std::atan((-x / Q) / NonZero(1 - x2));
        break;
    }
    }
    return p;
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

double LowPass2Phase(double q, double f, double fc) {
    const double r = f / fc;
    return PoleWrapped(-r / q, 1 - r * r, false);
}

double HighPass2Phase(double q, double f, double fc) {
    const double r = f / fc;
    return PoleWrapped(-r / q, 1 - r * r, true);
}

namespace {

using Section = XoverResponse::Section;

double FirstOrderMag(bool low, double F, double f) {
    return 20 * Log10((low ? F : f) / std::sqrt(F * F + f * f));
}

double FirstOrderPhase(bool low, double F, double f) {
    return low ? std::atan(-f / F) * kDegPerRad : (kGraphPi / 2 + std::atan(-f / F)) * kDegPerRad;
}

double SecondOrderMag(bool low, double F, double Q, double f) {
    const double x = f / F;
    const double den = std::sqrt(x * x / (Q * Q) + (1 - x * x) * (1 - x * x));
    return 20 * Log10((low ? 1.0 : x * x) / den);
}

double SectionPhase(bool low, const Section& s, double f) {
    if (s.Order == 1) return FirstOrderPhase(low, s.F, f);
    return low ? LowPass2Phase(s.Q, f, s.F) : HighPass2Phase(s.Q, f, s.F);
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

XoverPoint XoverResponseAt(int k, const XoverSettings& x, double f) {
    return XoverResponse(k, x).At(f);
}
