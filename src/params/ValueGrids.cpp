#include "params/ValueGrids.h"

#include "common/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Scans grid positions 0..n-1, which run from the smallest value to the largest, remembering the
// last entry below x. cmp(k) is negative when entry k lies below x, zero when it equals x and
// positive when it lies above. An entry equal to x wins; at the first entry above x the upper one
// wins only when x lies beyond the midpoint of the two, so a value exactly half-way goes to the
// smaller one.
//
// Every grid is a set of decimals: units(k) is entry k counted in the grid's own unit (1/scale),
// an exact integer. The midpoint is then one division of two exact integers, which gives the
// double nearest to the decimal midpoint; a typed "-7.3" or "0.55" parses to that same double, so
// the tie is decided on the decimal value and never on the rounding noise of differences.
template <class Units, class Cmp> int NearestPosition(int n, double x, double scale, Units units, Cmp cmp) {
    int lower = -1;
    for (int k = 0; k < n; ++k) {
        const int c = cmp(k);
        if (c < 0) {
            lower = k;
            continue;
        }
        if (c == 0 || lower < 0) return k;
        const double mid = static_cast<double>(units(lower) + units(k)) / (2 * scale);
        return x > mid ? k : lower;
    }
    return n - 1;
}

int Compare(double entry, double x) {
    return entry < x ? -1 : (entry == x ? 0 : 1);
}

// A table entry in units of 1/scale; the tables hold decimals with at most log10(scale) places.
int64_t TableUnits(double v, double scale) {
    return std::llround(v * scale);
}

// Nearest entry of an ascending table whose entries have at most log10(scale) decimal places.
template <size_t N> int NearestAscending(const std::array<double, N>& table, double x, double scale) {
    return NearestPosition(
        static_cast<int>(N), x, scale,
        [&](int k) { return TableUnits(table[static_cast<size_t>(k)], scale); },
        [&](int k) { return Compare(table[static_cast<size_t>(k)], x); });
}

// Half-step gain grids: the grid value held in single precision and compared with x in single
// precision; a value between two grid values goes by the exact midpoint.
double SnapHalfStepGrid(double x, int count, int offset) {
    const auto grid = [offset](int i) { return static_cast<float>(i / 2.0 - offset); };
    const float xs = static_cast<float>(x);
    const int i = NearestPosition(
        count, x, 2, [&](int k) { return int64_t{k} - 2 * offset; },
        [&](int k) { return grid(k) < xs ? -1 : (grid(k) == xs ? 0 : 1); });
    return grid(i);
}

// WidthTable holds widths cut to five decimals.
constexpr double kWidthScale = 100000;
// FreqTable and ReleaseTimes hold one decimal place, AttackTimes whole numbers.
constexpr double kTenths = 10;

int WidthIndex(const ConstantTables& t, double x) {
    // The table runs from the widest band down; scan it from its last (narrowest) entry.
    const int last = static_cast<int>(t.WidthTable.size()) - 1;
    const auto at = [&](int k) { return t.WidthTable[static_cast<size_t>(last - k)]; };
    return last - NearestPosition(
                      last + 1, x, kWidthScale, [&](int k) { return TableUnits(at(k), kWidthScale); },
                      [&](int k) { return Compare(at(k), x); });
}

int16_t RoundedIndex(double v, int high) {
    const double r = RoundHalfEven(v);
    if (!(r > 0)) return 0; // also a value that is not a number
    return static_cast<int16_t>(std::min(r, static_cast<double>(high)));
}

} // namespace

double SnapToFrequencyTable(const ConstantTables& t, double x) {
    return t.FreqTable[static_cast<size_t>(NearestAscending(t.FreqTable, x, kTenths))];
}

double SnapEqGain(double x) {
    return SnapHalfStepGrid(x, 61, 15);
}

double SnapChannelGain(double x) {
    return SnapHalfStepGrid(x, 97, 36);
}

double SnapThreshold(double x) {
    // i/5 - 18 written as (i - 90)/5: the same grid, but each value is the double nearest to its
    // decimal, so values near 0 read "0.2" rather than "0.199999999999999" and ties are exact.
    const auto grid = [](int i) { return (i - 90) / 5.0; };
    return grid(NearestPosition(
        151, x, 5, [](int k) { return int64_t{k} - 90; }, [&](int k) { return Compare(grid(k), x); }));
}

double SnapRatioIndex(double x) {
    const auto grid = [](int i) { return static_cast<double>(i + 1); };
    return NearestPosition(
        32, x, 1, [](int k) { return int64_t{k} + 1; }, [&](int k) { return Compare(grid(k), x); });
}

int16_t ReleaseIndex(const ConstantTables& t, double x) {
    return static_cast<int16_t>(NearestAscending(t.ReleaseTimes, x, kTenths));
}

int16_t AttackIndex(const ConstantTables& t, double x) {
    return static_cast<int16_t>(NearestAscending(t.AttackTimes, x, 1));
}

double SnapToWidthTable(const ConstantTables& t, double x) {
    return t.WidthTable[static_cast<size_t>(WidthIndex(t, x))];
}

int16_t WidthTableIndex(const ConstantTables& t, double x) {
    return static_cast<int16_t>(WidthIndex(t, x));
}

int16_t XoverQToIndex(double q) {
    return RoundedIndex((q - 0.05) / 0.05, 199);
}

int16_t EqQToIndex(double q) {
    return RoundedIndex((q - 0.3) * 10, 197);
}
