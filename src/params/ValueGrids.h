#pragma once
// Value grids: a typed or dragged value is brought onto the grid the device accepts. Every snap
// takes the nearest grid value, an exact tie going to the smaller value, and holds values beyond
// either end at that end. None of them touches a control, a record or the serial line.
#include "common/Tables.h"

#include <cstdint>

// An entry of FreqTable (20 .. 16000 Hz).
double SnapToFrequencyTable(const ConstantTables& t, double x);
// i/2 - 15 for i = 0..60: -15 .. +15 dB in 0.5 dB steps.
double SnapEqGain(double x);
// i/2 - 36 for i = 0..96: -36 .. +12 dB in 0.5 dB steps.
double SnapChannelGain(double x);
// i/5 - 18 for i = 0..150: -18 .. +12 dBu in 0.2 steps.
double SnapThreshold(double x);
// The index 0..31 of the ratio n:1 (n = 1..32) nearest to x.
double SnapRatioIndex(double x);
// Index 0..29 of the nearest ReleaseTimes / AttackTimes entry.
int16_t ReleaseIndex(const ConstantTables& t, double x);
int16_t AttackIndex(const ConstantTables& t, double x);
// The nearest WidthTable entry, and its index 0..197 (a tie goes to the smaller width, that is
// to the higher index).
double SnapToWidthTable(const ConstantTables& t, double x);
int16_t WidthTableIndex(const ConstantTables& t, double x);
// Crossover section Q to its stepper index: (q - 0.05) / 0.05 rounded half to even, held in 0..199.
int16_t XoverQToIndex(double q);
// The crossover section Q that stepper index i stands for: 0.05 + 0.05 i.
constexpr double XoverQOfIndex(int i) {
    return i * 0.05 + 0.05;
}
// Equaliser band Q to its stepper index: (q - 0.3) * 10 rounded half to even, held in 0..197.
int16_t EqQToIndex(double q);
