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
#include <cstdint>

constexpr int kGraphPoints = 576;       // grid points 0..575, one per pixel column
constexpr int kGraphBands = 19;         // equaliser bands 0..18
constexpr int kGraphXovers = 4;         // crossover filters 0..3
constexpr int kGraphChannels = 3;       // input, output 1, output 2
constexpr double kGraphPi = 3.1415926535;           // pi as the graph takes it
constexpr double kDegPerRad = 57.2957877855694;     // radians to degrees as the graph takes it
constexpr double kZeroDenominator = 1e-17;          // in place of a denominator that is exactly 0
constexpr int kBandTypeCount = 17;      // band types 0..16
constexpr int kXoverTypeCount = 18;     // crossover types 0..17

// Frequency of grid point i: 20 Hz * 10^(i / pointsPerDecade).
double GridFrequency(int i, double pointsPerDecade);

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
    int Type = 0;        // 0..16
    double Gain = 0;     // dB
    double Freq = 1000;  // centre or corner frequency, Hz
    double Q = 1;
    double Off = 0;      // 0.0 band active, anything else band off
    int GainSlider = 30; // position of the band's gain slider 0..60 (the fixed shelves' factors)
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
    int Type = 0;                      // 0..17
    std::array<double, 4> F{};         // section corner frequencies, Hz
    std::array<double, 4> Q{};         // section Qs
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
