#include "params/ValueGrids.h"

#include "common/Numbers.h"

#include <algorithm>
#include <cmath>

namespace {

// Scans grid positions 0..n-1, which run from the smallest value to the largest, remembering the
// last entry below x. cmp(k) is negative when entry k lies below x, zero when it equals x and
// positive when it lies above; value(k) is the entry for the distances. An entry equal to x wins;
// at the first entry above x the upper one wins only when it is strictly nearer.
template <class Value, class Cmp> int NearestPosition(int n, double x, Value value, Cmp cmp) {
    int lower = -1;
    for (int k = 0; k < n; ++k) {
        const int c = cmp(k);
        if (c < 0) {
            lower = k;
            continue;
        }
        if (c == 0 || lower < 0) return k;
        return (value(k) - x) < (x - value(lower)) ? k : lower;
    }
    return n - 1;
}

int Compare(double entry, double x) {
    return entry < x ? -1 : (entry == x ? 0 : 1);
}

// Nearest entry of an ascending table in double precision.
template <size_t N> int NearestAscending(const std::array<double, N>& table, double x) {
    return NearestPosition(
        static_cast<int>(N), x, [&](int k) { return table[static_cast<size_t>(k)]; },
        [&](int k) { return Compare(table[static_cast<size_t>(k)], x); });
}

// Half-step gain grids: the grid value held in single precision and compared with x in single
// precision; the distances use x as it is.
double SnapHalfStepGrid(double x, int count, double offset) {
    const auto grid = [offset](int i) { return static_cast<float>(i / 2.0 - offset); };
    const float xs = static_cast<float>(x);
    const int i = NearestPosition(
        count, x, [&](int k) { return static_cast<double>(grid(k)); },
        [&](int k) { return grid(k) < xs ? -1 : (grid(k) == xs ? 0 : 1); });
    return grid(i);
}

int WidthIndex(const ConstantTables& t, double x) {
    // The table runs from the widest band down; scan it from its last (narrowest) entry.
    const int last = static_cast<int>(t.WidthTable.size()) - 1;
    const auto at = [&](int k) { return t.WidthTable[static_cast<size_t>(last - k)]; };
    return last - NearestPosition(last + 1, x, at, [&](int k) { return Compare(at(k), x); });
}

int16_t RoundedIndex(double v, int high) {
    const double r = RoundHalfEven(v);
    if (!(r > 0)) return 0; // also a value that is not a number
    return static_cast<int16_t>(std::min(r, static_cast<double>(high)));
}

} // namespace

double SnapToFrequencyTable(const ConstantTables& t, double x) {
    return t.FreqTable[static_cast<size_t>(NearestAscending(t.FreqTable, x))];
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
    return grid(NearestPosition(151, x, grid, [&](int k) { return Compare(grid(k), x); }));
}

double SnapRatioIndex(double x) {
    const auto grid = [](int i) { return static_cast<double>(i + 1); };
    return NearestPosition(32, x, grid, [&](int k) { return Compare(grid(k), x); });
}

int16_t ReleaseIndex(const ConstantTables& t, double x) {
    return static_cast<int16_t>(NearestAscending(t.ReleaseTimes, x));
}

int16_t AttackIndex(const ConstantTables& t, double x) {
    return static_cast<int16_t>(NearestAscending(t.AttackTimes, x));
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
