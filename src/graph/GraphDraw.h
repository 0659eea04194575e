#pragma once
// Drawing of the response curves into a graph picture: the picture holds a 576 x 192 image,
// one pixel column per grid point; a curve is a polyline drawn segment by segment with a pen
// that keeps its position between segments.
#include "graph/GraphState.h"
#include "platform/Controls.h"

#include <QImage>
#include <algorithm>
#include <cmath>
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
inline double MagRowY(std::initializer_list<float> termsDb) {
    double y = kZeroRow;
    for (float t : termsDb)
        y -= static_cast<double>(kMagScale * t);
    return y;
}
inline double PhaseRowY(double degrees) {
    return kZeroRow - kPhaseScale * degrees;
}

// Pixel row of y: to the nearest whole number, halves to even. y outside the picture is first
// brought within a few hundred rows of it (the part drawn is the same); a y that is not a number
// gives no row at all.
inline std::optional<int> PixelRow(double y) {
    if (std::isnan(y)) return std::nullopt;
    // Rows this far outside the 192-row picture draw nothing either way; keeping them near
    // makes every level, however large, a safe whole number.
    y = std::clamp(y, -512.0, 704.0);
    // Adding and taking away 1.5 * 2^52 leaves y rounded to a whole number, halves to even (in
    // the default rounding mode, which the program never changes).
    constexpr double kRounder = 6755399441055744.0;
    return static_cast<int>((y + kRounder) - kRounder);
}

// Clears the picture and paints the grid picture of the magnitude or phase view into it. When
// the picture still holds that grid with only the rows in `drawn` drawn over, only those rows are
// painted again.
void ClearGraph(PictureBox& pic, const FrmImage& image, bool magView, DrawnRows& drawn);

// Moves the pen without drawing.
void GraphMoveTo(PenPos& pen, int x, int y);

// A graph picture opened for drawing curves: its pixels are reached directly, and the rows
// drawn are marked in `drawn`.
class GraphCanvas {
  public:
    GraphCanvas(PictureBox& pic, DrawnRows& drawn);
    ~GraphCanvas();
    GraphCanvas(const GraphCanvas&) = delete;
    GraphCanvas& operator=(const GraphCanvas&) = delete;

    // Draws from the pen to (x, row) with the given colour and pen width and moves the pen
    // there. Without a row nothing is drawn and the pen stays.
    void LineTo(PenPos& pen, int x, std::optional<int> row, QRgb color, int width = kGraphPenWidth);

  private:
    void brush(int x, int y, QRgb c, int width);

    QImage& img_;
    DrawnRows& drawn_;
    uchar* bits_ = nullptr; // none while the picture is empty
    qsizetype stride_ = 0;
    int w_ = 0;
    int h_ = 0;
};

// The pixel value of a curve colour.
QRgb CurvePixel(ColorValue color);
