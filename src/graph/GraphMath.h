#pragma once
// Response math of the graphs: the logarithmic frequency grid, the magnitude (dB) and phase
// (degrees) of an equaliser band, of a crossover filter and of a channel delay at one frequency,
// and the wrap of a phase into -180..180.
//
// Every phase that passes a pole (where the arc tangent of the ratio jumps by a half turn) is
// made continuous from the section's own numbers alone: the number of half turns is found from
// the signs of the ratio's parts, so no count is carried from one point, sweep or section to the
// next. Where a sweep starts below the pole, the result equals the running count of a sweep.
#include <array>
#include <cstddef>
#include <cstdint>

constexpr int kGraphPoints = 576;               // grid points 0..575, one per pixel column
constexpr int kGraphBands = 19;                 // equaliser bands 0..18
constexpr int kGraphXovers = 4;                 // crossover filters 0..3
constexpr int kGraphChannels = 3;               // input, output 1, output 2
constexpr double kGraphPi = 3.1415926535;       // pi as the graph takes it
constexpr double kDegPerRad = 57.2957877855694; // radians to degrees as the graph takes it
constexpr double kZeroDenominator = 1e-17;      // in place of a denominator that is exactly 0
constexpr int kBandTypeCount = 17;              // band types 0..16
constexpr int kXoverTypeCount = 18;             // crossover types 0..17

// Frequency of grid point i: 20 Hz * 10^(i / pointsPerDecade).
double GridFrequency(int i, double pointsPerDecade);

template <typename T> using PointRow = std::array<T, kGraphPoints>;

// The grid frequencies (GridFrequency of every point) and their whole powers f^0 .. f^8, worked
// out once for a grid density, so that a sweep pays only for what depends on its settings.
struct FrequencyGrid {
    // Works the grid out again when pointsPerDecade differs from the density it was made for.
    void build(double pointsPerDecade);

    double Density = 0; // 0 until built
    PointRow<double> F{};
    std::array<PointRow<double>, 9> Pow{}; // Pow[n][i] = F[i]^n
};

// Phase of a channel delayed by `samples` at 48 kHz, at frequency f, in degrees (not wrapped).
double DelayPhaseAt(double f, int32_t samples);

// Wraps x into -180..180 in place and returns it: above 180 whole turns are taken off until it
// is 180 or less, below -180 added until it is -180 or more (so 540 gives 180, -540 gives -180).
// A value that is not a finite number is returned unchanged.
double NormPhase(double& x);

// Magnitude and phase of one stage at one frequency.
struct StagePoint {
    double Mag = 0;   // dB
    double Phase = 0; // degrees
};

// The two shelf factor tables (61 entries each, by 60 - gain slider position).
struct ShelfTables {
    const std::array<double, 61>& A;
    const std::array<double, 61>& B;
};

// One equaliser band as its response reads it.
struct BandSettings {
    int Type = 0;       // 0..16
    double Gain = 0;    // dB
    double Freq = 1000; // centre or corner frequency, Hz
    double Q = 1;
    double Off = 0;      // 0.0 band active, anything else band off
    int GainSlider = 30; // position of the band's gain slider 0..60 (the fixed shelves' factors)
};

// A band's response prepared once for a sweep: the values that do not depend on the frequency
// are worked out when it is made, so each point costs only what depends on f.
class BandResponse {
  public:
    BandResponse(const BandSettings& b, const ShelfTables& t);
    // Without the factor tables (for the phases, which do not use them).
    explicit BandResponse(const BandSettings& b);
    StagePoint At(double f) const;
    // The response at every grid point, the same values as At gives point by point; the
    // magnitude is kept as the stored single-precision value.
    void Sweep(const FrequencyGrid& grid, PointRow<float>& mag, PointRow<double>& phase) const;
    double ShelfMag(double f) const;
    double ShelfPhase(double f) const;
    double PassPhase(double f) const;

  private:
    void init(const ShelfTables* t);
    double shelfMagRatio(double f) const;
    double passMagRatio(double f) const;

    BandSettings b_;
    bool flat_ = false; // off, or a type outside 0..16
    double A_ = 1;      // 10^(gain / 40)
    double sqrtA_ = 1;
    double peakFactor_ = 0; // (A^2 - 1) / A of the peak phase
    double shelfMagFc_ = 1; // corner and constant of the shelf magnitude
    double shelfMagC_ = 1;
    double shelfPhFc_ = 1; // corner and q of the shelf phase
    double shelfPhQ_ = 1;
    double passGain_ = 1; // 10^(gain / 20) of the band pass
};

// Magnitude in dB of the shelf types 1..6 at frequency f (0 for other types).
double CalcShelfMag(const BandSettings& b, double f, const ShelfTables& t);
// Phase in degrees of the shelf types 1..6 at frequency f (0 for other types).
double CalcShelfPhase(const BandSettings& b, double f);
// Phase in degrees of the pass types 7..12 at frequency f (0 for other types).
double CalcPassPhase(const BandSettings& b, double f);
// Magnitude and phase of a band at frequency f: 0 dB and 0 degrees while the band is off or
// its type is not one of 0..16.
StagePoint BandResponseAt(const BandSettings& b, double f, const ShelfTables& t);

// One crossover filter as its response reads it.
struct XoverSettings {
    int Type = 0;              // 0..17
    std::array<double, 4> F{}; // section corner frequencies, Hz
    std::array<double, 4> Q{}; // section Qs
};

// Type code from the stored value: to the nearest whole number (halves to even); a value that
// is not finite or lies outside the 16-bit range gives -1, which is no type.
int XoverTypeCode(double stored);

// Phase in degrees of a second-order low-pass or high-pass section (q, corner fc) at f. The
// half turn is taken at the section's own corner: the low-pass runs from 0 to -180 degrees, the
// high-pass from +180 to 0.
double LowPass2Phase(double q, double f, double fc);
double HighPass2Phase(double q, double f, double fc);

// Magnitude (dB, kept as the stored single-precision value) and phase of crossover filter k
// (odd k low-pass, even k high-pass) at frequency f. Type 0 and any type outside 0..17 give
// 0 dB and 0 degrees.
struct XoverPoint {
    float Mag = 0;
    double Phase = 0;
};
XoverPoint XoverResponseAt(int k, const XoverSettings& x, double f);

// A crossover filter's response prepared once for a sweep.
class XoverResponse {
  public:
    XoverResponse(int k, const XoverSettings& x);
    XoverPoint At(double f) const;
    // The response at every grid point, the same values as At gives point by point.
    void Sweep(const FrequencyGrid& grid, PointRow<float>& mag, PointRow<double>& phase) const;

    struct Section {
        int Order; // 1 or 2
        double F;
        double Q;
    };

  private:
    double butterworth(int n, double f) const;
    double bessel(double a, double f) const;
    double fixedMag(double f) const;
    double butterworthAt(int n, const FrequencyGrid& grid, std::size_t i) const;
    double fixedMagAt(const FrequencyGrid& grid, std::size_t i) const;

    int type_ = 0;
    bool low_ = false;
    double F1_ = 0;
    std::array<Section, 4> s_{};
    int n_ = 0;
    std::array<double, 9> F1pow_{}; // F1^n, n = 0..8
};
