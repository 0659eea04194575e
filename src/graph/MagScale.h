#pragma once
// The dB ranges a magnitude graph can be drawn on. The picture's 192 rows always hold six equal
// bands of the grid; a range says how many dB those bands span and which level lies on the middle
// row, so the curve, its overlay, the band markers and the captions beside the graph agree.
#include <algorithm>
#include <array>

struct MagScale {
    double SpanDb = 60;  // from the bottom row to the top row
    double CentreDb = 0; // level on the middle row (95.4)

    // Factor by which a level is stretched against the full 60 dB range.
    constexpr double Stretch() const { return 60.0 / SpanDb; }
    constexpr double TopDb() const { return CentreDb + SpanDb / 2; }
    constexpr double BottomDb() const { return CentreDb - SpanDb / 2; }
};

// The three choices of a graph's scale options: "-30dB/+30dB", "-28dB/+14dB", "-15dB/+15dB".
constexpr int kMagScaleChoices = 3;
constexpr std::array<MagScale, kMagScaleChoices> kMagScales{{{60, 0}, {42, -7}, {30, 0}}};
constexpr MagScale kFullMagScale = kMagScales[0];

// The scale of choice c (0..2); any other value gives the full range.
constexpr MagScale MagScaleOf(int choice) {
    return choice >= 0 && choice < kMagScaleChoices ? kMagScales[static_cast<size_t>(choice)] : kFullMagScale;
}
