#include "graph/GraphMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Base-10 logarithm as the natural logarithm of x over that of 10.
double Log10(double x) { return std::log(x) / std::log(10.0); }

double NonZero(double d) { return d == 0.0 ? kZeroDenominator : d; }

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

bool IsShelf(int type) { return type >= 1 && type <= 6; }
bool IsHighShelf(int type) { return type >= 1 && type <= 3; }

int ShelfIndex(int slider) { return 60 - std::clamp(slider, 0, 60); }

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

double CalcShelfMag(const BandSettings& b, double f, const ShelfTables& t) {
    if (!IsShelf(b.Type)) return 0;
    const double A = std::pow(10.0, b.Gain / 40.0);
    const int idx = ShelfIndex(b.GainSlider);
    double fc = b.Freq;
    double c = 0;
    switch (b.Type) {
    case 1: fc = b.Freq / t.A[static_cast<size_t>(idx)]; c = 0.3; break;
    case 2: fc = b.Freq / (0.97 * t.B[static_cast<size_t>(idx)]); c = 1.0; break;
    case 3: c = b.Q * b.Q; break;
    case 4: fc = b.Freq * t.A[static_cast<size_t>(idx)]; c = 0.3; break;
    case 5: fc = b.Freq * t.B[static_cast<size_t>(idx)]; c = 1.0; break;
    default: c = b.Q * b.Q; break;
    }
    const double x = f / fc;
    const double x2 = x * x;
    const double T = A * x2 / c;
    const double lo = (A - x2) * (A - x2) + T;        // the terms with A - x^2
    const double hi = (1 - A * x2) * (1 - A * x2) + T; // the terms with 1 - A x^2
    if (IsHighShelf(b.Type)) return 20 * Log10(A * std::sqrt(hi) / std::sqrt(lo));
    return 20 * Log10(A * std::sqrt(lo) / std::sqrt(hi));
}

double CalcShelfPhase(const BandSettings& b, double f) {
    if (!IsShelf(b.Type)) return 0;
    const double A = std::pow(10.0, b.Gain / 40.0);
    double fc = b.Freq;
    double q = b.Q;
    switch (b.Type) {
    case 1: fc = 0.6 * b.Freq; q = 0.45; break;
    case 2: fc = 0.75 * b.Freq; q = 0.707; break;
    case 4: fc = b.Freq / 0.6; q = 0.45; break;
    case 5: fc = b.Freq / 0.75; q = 0.707; break;
    default: break; // 3 and 6: fc and Q of the band
    }
    const double x = f / fc;
    const double x2 = x * x;
    const double r = std::sqrt(A) * x / q;
    const double D = (x / q) * (x / q) * A + (1 - x2 * A) * (A - x2);
    const double P = IsHighShelf(b.Type) ? r * (A - x2 - 1 + x2 * A) : r * (1 - x2 * A - A + x2);
    // D is the real part of a product whose two factors each turn less than a half turn, so
    // the continuous phase is the principal angle of (D, P).
    return PoleWrapped(P, D, false);
}

double CalcPassPhase(const BandSettings& b, double f) {
    const double fc = b.Freq;
    const double Q = b.Q;
    const double x = f / fc;
    switch (b.Type) {
    case 7: return kDegPerRad * std::atan(-x);
    case 8: return PoleWrapped(-x / 0.707, 1 - x * x, false);
    case 9: return PoleWrapped(-x / Q, 1 - x * x, false);
    case 10: return kDegPerRad * (std::atan(-x) + kGraphPi / 2);
    case 11: return PoleWrapped(-f / (0.707 * fc), 1 - x * x, true);
    case 12: return PoleWrapped(-f / (Q * fc), 1 - x * x, true);
    default: return 0;
    }
}

StagePoint BandResponseAt(const BandSettings& b, double f, const ShelfTables& t) {
    StagePoint p;
    if (b.Off != 0.0 || b.Type < 0 || b.Type >= kBandTypeCount) return p;
    const double fc = b.Freq;
    const double Q = b.Q;
    const double x = f / fc;
    const double x2 = x * x;
    const double A = std::pow(10.0, b.Gain / 40.0);
    switch (b.Type) {
    case 0: {
        const double d = fc / f - f / fc;
        p.Mag = b.Gain / (1 + Q * Q * d * d);
        const double P = ((A * A - 1) / A) * (1 - x2) * x / Q;
        const double D = NonZero((1 - x2) * (1 - x2) + (x / Q) * (x / Q));
        p.Phase = kDegPerRad * std::atan(P / D);
        break;
    }
    case 1: case 2: case 3: case 4: case 5: case 6:
        p.Mag = CalcShelfMag(b, f, t);
        p.Phase = CalcShelfPhase(b, f);
        break;
    case 7:
        p.Mag = 20 * Log10(fc / std::sqrt(f * f + fc * fc));
        p.Phase = CalcPassPhase(b, f);
        break;
    case 8:
        p.Mag = 20 * Log10(fc * fc / std::sqrt(f * f * f * f + fc * fc * fc * fc));
        p.Phase = CalcPassPhase(b, f);
        break;
    case 9:
        p.Mag = 20 * Log10(1 / std::sqrt((1 - x2) * (1 - x2) + x2 / (Q * Q)));
        p.Phase = CalcPassPhase(b, f);
        break;
    case 10:
        p.Mag = 20 * Log10(f / std::sqrt(f * f + fc * fc));
        p.Phase = CalcPassPhase(b, f);
        break;
    case 11:
        p.Mag = 20 * Log10(f * f / std::sqrt(f * f * f * f + fc * fc * fc * fc));
        p.Phase = CalcPassPhase(b, f);
        break;
    case 12:
        p.Mag = 20 * Log10(x2 / std::sqrt((1 - x2) * (1 - x2) + x2 / (Q * Q)));
        p.Phase = CalcPassPhase(b, f);
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
        const double num = std::pow(10.0, b.Gain / 20.0) * x / Q;
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

struct Section {
    int Order;  // 1 or 2
    double F;
    double Q;
};

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

// Butterworth magnitude of order n at F1.
double Butterworth(bool low, int n, double F1, double f) {
    const double top = std::pow(low ? F1 : f, n);
    return 20 * Log10(top / std::sqrt(std::pow(F1, 2 * n) + std::pow(f, 2 * n)));
}

// Bessel pair magnitude with frequency factor a.
double Bessel(bool low, double a, double F1, double f) {
    if (low) {
        const double x = f / (a * F1);
        return 20 * Log10(3 / std::sqrt((3 * x) * (3 * x) + (3 - x * x) * (3 - x * x)));
    }
    const double w = F1 / a;
    const double t = 3 * f * w;
    const double u = w * w - 3 * f * f;
    return 20 * Log10(3 * f * f / std::sqrt(t * t + u * u));
}

// Sections of crossover type `type` in the order their phases are added; returns their count.
int Sections(int type, bool low, const XoverSettings& x, Section* s) {
    const double F1 = x.F[0];
    switch (type) {
    case 1: s[0] = {1, F1, 0}; return 1;
    case 2: s[0] = {2, F1, 0.707}; return 1;
    case 3: s[0] = {1, F1, 0}; s[1] = {1, F1, 0}; return 2;
    case 4: s[0] = {2, low ? F1 / 0.52 : F1 * 0.52, 0.577}; return 1;
    case 5: s[0] = {1, F1, 0}; s[1] = {2, F1, 1}; return 2;
    case 6: s[0] = {2, F1, 1.307}; s[1] = {2, F1, 0.541}; return 2;
    case 7: s[0] = {2, F1, 0.707}; s[1] = {2, F1, 0.707}; return 2;
    case 8: {
        const double Fb = low ? F1 : F1 * 0.649;
        s[0] = {2, Fb, 0.522}; s[1] = {2, Fb, 0.806};
        return 2;
    }
    case 9: s[0] = {2, F1, 0.7}; s[1] = {2, F1, 1.307}; s[2] = {2, F1, 0.541}; return 3;
    case 10:
        s[0] = {2, F1, 1.307}; s[1] = {2, F1, 0.541}; s[2] = {2, F1, 1.307}; s[3] = {2, F1, 0.541};
        return 4;
    case 11: case 13: case 15: case 17: {
        const int n = (type - 9) / 2; // 1, 2, 3, 4 second-order sections
        for (int j = 0; j < n; ++j) s[j] = {2, x.F[static_cast<size_t>(j)], x.Q[static_cast<size_t>(j)]};
        return n;
    }
    case 12: case 14: case 16: {
        const int n = (type - 10) / 2 + 1; // first order, then 1, 2, 3 second-order sections
        s[0] = {1, F1, 0};
        for (int j = 1; j < n; ++j) s[j] = {2, x.F[static_cast<size_t>(j)], x.Q[static_cast<size_t>(j)]};
        return n;
    }
    default: return 0;
    }
}

// Whole magnitude of the fixed types 1..10.
double FixedMag(int type, bool low, double F1, double f) {
    switch (type) {
    case 1: return Butterworth(low, 1, F1, f);
    case 2: return Butterworth(low, 2, F1, f);
    case 3: return Butterworth(low, 1, F1, f) + Butterworth(low, 1, F1, f);
    case 4: return Bessel(low, 0.52, F1, f);
    case 5: return Butterworth(low, 3, F1, f);
    case 6: return Butterworth(low, 4, F1, f);
    case 7: return Butterworth(low, 2, F1, f) + Butterworth(low, 2, F1, f);
    case 8: return Bessel(low, 0.649, F1, f) + Bessel(low, 0.649, F1, f);
    case 9: return Butterworth(low, 4, F1, f) + Butterworth(low, 2, F1, f);
    default: return Butterworth(low, 4, F1, f) + Butterworth(low, 4, F1, f); // 10
    }
}

} // namespace

XoverPoint XoverResponseAt(int k, const XoverSettings& x, double f) {
    XoverPoint p;
    const int type = x.Type;
    if (type <= 0 || type >= kXoverTypeCount) return p;
    const bool low = (k % 2) != 0;
    Section s[4];
    const int n = Sections(type, low, x, s);
    if (type <= 10) {
        p.Mag = static_cast<float>(FixedMag(type, low, x.F[0], f));
    } else {
        // Section by section into the stored single-precision value.
        p.Mag = static_cast<float>(s[0].Order == 1 ? FirstOrderMag(low, s[0].F, f)
                                                   : SecondOrderMag(low, s[0].F, s[0].Q, f));
        for (int j = 1; j < n; ++j)
            p.Mag = static_cast<float>(static_cast<double>(p.Mag) + SecondOrderMag(low, s[j].F, s[j].Q, f));
    }
    p.Phase = SectionPhase(low, s[0], f);
    for (int j = 1; j < n; ++j) p.Phase += SectionPhase(low, s[j], f);
    return p;
}
