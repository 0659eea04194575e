#pragma once
// Where an equaliser band's marker sits on its channel's graph picture, in twips (15 a pixel).
// The band setter, the marker drag, the scale options and the view all place markers through
// these functions, so a marker shows the band's gain at the same height wherever it was put there
// from, and on the same dB range as the curve of its graph.
//
// Height: on the full -30 .. +30 dB range 48 twips a decibel (3.2 pixels, next to the curve's
// 3.1833), the marker's top at 1447.5 - (g + 0.1) * 48 + 60 for gain g: 782.7 at +15 dB, 1502.7
// at 0 dB, 2222.7 at -15 dB. On a narrower range the gain is first stretched about the range's
// centre as the curve is, so a marker still sits on the curve it shapes. A marker never leaves
// the picture: a gain beyond the range shown puts it at the picture's edge.
// Left edge: 20 Hz at -60, one decade every TwipsPerDecade twips, 20000 Hz at 8595.
#include "common/Numbers.h"
#include "graph/GraphDraw.h"
#include "graph/MagScale.h"

#include <algorithm>
#include <cmath>

constexpr double kMarkerTwipsPerDb = 48.0;
constexpr double kMarkerMaxGainDb = 15.0; // a band's gain lies within -15 .. +15 dB
constexpr int kMarkerSizeTwips = 120;     // a marker is 120 by 120 twips
constexpr int kMarkerMinLeft = -60, kMarkerMaxLeft = 8595;
constexpr int kGraphPictureHeightTwips = 192 * 15;

namespace marker_detail {
// Top for a level already stretched to the full range, in whole twips cut down, so that reading
// the top back gives the level again or a little more (less than 1/48 dB), never less.
inline int TopOfFullRangeLevel(double levelDb) {
    constexpr double kRoundingSlack = 1e-9; // a whole-twip height computed a hair below itself
    return static_cast<int>(std::floor(1447.5 - (levelDb + 0.1) * kMarkerTwipsPerDb + 60 + kRoundingSlack));
}
} // namespace marker_detail

// Vertical shift, in twips, with which a view draws the markers over the graph picture: it puts
// the centre of a 0 dB marker on the picture's 0 dB row of the full range, so that a marker sits
// on the curve.
inline int MarkerViewShiftTwips() {
    return static_cast<int>(std::lround(kZeroRow * 15)) -
           (marker_detail::TopOfFullRangeLevel(0) + kMarkerSizeTwips / 2);
}

// The tops between which a marker lies wholly on the picture, as the view draws it.
inline int MarkerMinTop() {
    return -MarkerViewShiftTwips();
}
inline int MarkerMaxTop() {
    return kGraphPictureHeightTwips - kMarkerSizeTwips - MarkerViewShiftTwips();
}

// Top at which a marker would show gain g dB on a graph drawn on `scale`: beyond the picture's
// edge when the gain lies beyond the range shown.
inline int MarkerTopOfGainOffPicture(double gainDb, const MagScale& scale) {
    return marker_detail::TopOfFullRangeLevel((gainDb - scale.CentreDb) * scale.Stretch());
}

// Top of a marker that shows gain g dB on a graph drawn on `scale`, held on the picture.
inline int MarkerTopOfGain(double gainDb, const MagScale& scale) {
    return std::clamp(MarkerTopOfGainOffPicture(gainDb, scale), MarkerMinTop(), MarkerMaxTop());
}

// Gain in dB that a marker's top stands for on a graph drawn on `scale` (not limited to any
// range).
constexpr double MarkerGainOfTop(double top, const MagScale& scale) {
    return ((1447.5 - (top - 60)) / kMarkerTwipsPerDb - 0.1) / scale.Stretch() + scale.CentreDb;
}

// The gains a marker drag can give on `scale`: a band's -15 .. +15 dB, within the range shown.
struct GainRange {
    double Low, High;
};
constexpr GainRange MarkerGainRange(const MagScale& scale) {
    return {std::max(-kMarkerMaxGainDb, scale.BottomDb()), std::min(kMarkerMaxGainDb, scale.TopDb())};
}

// Left edge of the marker of frequency f Hz, to the nearest twip.
inline int MarkerLeftOfFrequency(double twipsPerDecade, double f) {
    return static_cast<int>(std::lround(Log10(f / 20.0) * twipsPerDecade - 60));
}

// Frequency in Hz that a marker's left edge stands for.
inline double MarkerFrequencyOfLeft(double twipsPerDecade, double left) {
    return 20.0 * std::pow(10.0, (left + 60) / twipsPerDecade);
}
