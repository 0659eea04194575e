#pragma once
// Drawing of the response curves into a graph picture: the picture holds a 576 x 192 image,
// one pixel column per grid point; a curve is a polyline drawn segment by segment with a pen
// that keeps its position between segments.
#include "graph/GraphState.h"
#include "platform/Controls.h"

#include <optional>

constexpr double kZeroRow = 95.4;                  // row of 0 dB and of 0 degrees
constexpr float kMagScale = 3.1833334f;            // pixels per dB
constexpr double kPhaseScale = 0.5305555555555556; // pixels per degree
constexpr int kGraphPenWidth = 2;
constexpr int kPenStartX = -10; // pen start before point 0
constexpr int kPenStartY = 95;
constexpr ColorValue kCurveRed = RGBValue(255, 0, 0);  // graphs 0 and 1
constexpr ColorValue kCurveBlue = RGBValue(0, 0, 255); // graph 2

// Curve colour of channel ch.
constexpr ColorValue CurveColor(int ch) {
    return ch == 2 ? kCurveBlue : kCurveRed;
}

// Row y of a magnitude level given as its terms in dB (each scaled and taken from row 95.4 in
// turn), and of a phase in degrees.
double MagRowY(std::initializer_list<float> termsDb);
double PhaseRowY(double degrees);

// Pixel row of y: to the nearest whole number, halves to even. y outside the picture is first
// brought within a few hundred rows of it (the part drawn is the same); a y that is not a number
// gives no row at all.
std::optional<int> PixelRow(double y);

// Clears the picture and paints the grid picture of the magnitude or phase view into it.
void ClearGraph(PictureBox& pic, const FrmImage& image, bool magView);

// Moves the pen without drawing.
void GraphMoveTo(PenPos& pen, int x, int y);
// Draws from the pen to (x, row) with the given colour and pen width and moves the pen there.
// Without a row nothing is drawn and the pen stays.
void GraphLineTo(PictureBox& pic, PenPos& pen, int x, std::optional<int> row, ColorValue color,
                 int width = kGraphPenWidth);
