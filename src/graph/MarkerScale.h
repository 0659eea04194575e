#pragma once
// Where an equaliser band's marker sits on its channel's graph picture, in twips (15 a pixel).
// The band setter, the marker drag and the view all place markers through these functions, so a
// marker shows the band's gain at the same height wherever it was put there from.
//
// Height: 48 twips a decibel (3.2 pixels, next to the curve's 3.1833), the marker's top at
// 1447.5 - (g + 0.1) * 48 + 60 for gain g: 782.7 at +15 dB, 1502.7 at 0 dB, 2222.7 at -15 dB.
// Left edge: 20 Hz at -60, one decade every TwipsPerDecade twips, 20000 Hz at 8595.
#include "common/Numbers.h"
#include "graph/GraphDraw.h"

#include <cmath>

constexpr double kMarkerTwipsPerDb = 48.0;
constexpr double kMarkerMaxGainDb = 15.0; // markers stay within -15 .. +15 dB of heights
constexpr int kMarkerSizeTwips = 120;     // a marker is 120 by 120 twips
constexpr int kMarkerMinLeft = -60, kMarkerMaxLeft = 8595;
constexpr int kMarkerMinTop = -60, kMarkerMaxTop = 2835;

// Top of a marker that shows gain g dB, in whole twips: the exact height cut down to the twip,
// so that reading the top back gives g again or a little more (less than 1/48 dB), never less.
// A marker placed for a tenth of a decibel therefore reads back as that same tenth, and a top
// read back as a gain gives that same top again.
inline int MarkerTopOfGain(double gainDb) {
    constexpr double kRoundingSlack = 1e-9; // a whole-twip height computed a hair below itself
    return static_cast<int>(std::floor(1447.5 - (gainDb + 0.1) * kMarkerTwipsPerDb + 60 + kRoundingSlack));
}

// Gain in dB that a marker's top stands for (not limited to the +-15 dB of the markers).
constexpr double MarkerGainOfTop(double top) {
    return (1447.5 - (top - 60)) / kMarkerTwipsPerDb - 0.1;
}

// Left edge of the marker of frequency f Hz, to the nearest twip.
inline int MarkerLeftOfFrequency(double twipsPerDecade, double f) {
    return static_cast<int>(std::lround(Log10(f / 20.0) * twipsPerDecade - 60));
}

// Frequency in Hz that a marker's left edge stands for.
inline double MarkerFrequencyOfLeft(double twipsPerDecade, double left) {
    return 20.0 * std::pow(10.0, (left + 60) / twipsPerDecade);
}

// Vertical shift, in twips, with which a view draws the markers over the graph picture: it puts
// the centre of a 0 dB marker on the picture's 0 dB row, so that a marker sits on the curve.
inline int MarkerViewShiftTwips() {
    return static_cast<int>(std::lround(kZeroRow * 15)) - (MarkerTopOfGain(0) + kMarkerSizeTwips / 2);
}
