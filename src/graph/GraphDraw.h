#pragma once
// Drawing of the response curves into a graph picture: the picture holds a 576 x 192 image,
// one pixel column per grid point; a curve is a polyline drawn segment by segment with a pen
// that keeps its position between segments.
#include "graph/GraphState.h"
#include "graph/MagScale.h"
#include "platform/Controls.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// Row y of a magnitude level given as its terms in dB, on the graph's scale: each term scaled and
// taken from row 95.4 in turn, then the scale's centre level put on row 95.4. On the full range
// (stretch 1, centre 0) every step is exact, so the row is the one of the plain 3.1833 rows a dB.
inline double MagRowY(const MagScale& scale, std::initializer_list<float> termsDb) {
    const double stretch = scale.Stretch();
    double y = kZeroRow;
    for (float t : termsDb)
        y -= stretch * static_cast<double>(kMagScale * t);
    if (scale.CentreDb != 0) y += stretch * static_cast<double>(kMagScale) * scale.CentreDb;
    return y;
}
// The same on the full -30 .. +30 dB range, on which the grid lines lie.
inline double MagRowY(std::initializer_list<float> termsDb) {
    return MagRowY(kFullMagScale, termsDb);
}
// Row y of a phase in degrees.
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
    void column(int x, int top, int bottom, QRgb c, int width);

    QImage& img_;
    DrawnRows& drawn_;
    uchar* bits_ = nullptr; // none while the picture is empty
    qsizetype stride_ = 0;
    int w_ = 0;
    int h_ = 0;
};

namespace graph_detail {

// n / m to the nearest whole number, halves away from zero (m > 0).
inline int RoundRatio(int n, int m) {
    return n >= 0 ? (2 * n + m) / (2 * m) : -((-2 * n + m) / (2 * m));
}

} // namespace graph_detail

// Paints square brushes of `width` pixels whose lower right pixels are (x, top) .. (x, bottom),
// clipped.
inline void GraphCanvas::column(int x, int top, int bottom, QRgb c, int width) {
    const int x0 = std::max(x - width + 1, 0);
    const int x1 = std::min(x, w_ - 1);
    const int y0 = std::max(top - width + 1, 0);
    const int y1 = std::min(bottom, h_ - 1);
    for (int yy = y0; yy <= y1; ++yy) {
        auto* line = reinterpret_cast<QRgb*>(bits_ + yy * stride_);
        for (int xx = x0; xx <= x1; ++xx)
            line[xx] = c;
    }
}

inline void GraphCanvas::LineTo(PenPos& pen, int x, std::optional<int> row, QRgb c, int width) {
    if (!row) return;
    const int x0 = pen.x;
    const int y0 = pen.y;
    const int x1 = x;
    const int y1 = *row;
    pen.x = x1;
    pen.y = y1;
    if (!bits_) return;
    // A segment wholly left, right, above or below the picture draws nothing.
    if ((x0 < 0 && x1 < 0) || (x0 >= w_ + width && x1 >= w_ + width)) return;
    if ((y0 < 0 && y1 < 0) || (y0 >= h_ + width && y1 >= h_ + width)) return;
    const int top = std::max(std::min(y0, y1) - width + 1, 0);
    const int bottom = std::min(std::max(y0, y1), h_ - 1);
    if (top <= bottom) {
        if (drawn_.Bottom < drawn_.Top) {
            drawn_.Top = top;
            drawn_.Bottom = bottom;
        } else {
            drawn_.Top = std::min(drawn_.Top, top);
            drawn_.Bottom = std::max(drawn_.Bottom, bottom);
        }
    }
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (dx == 1) {
        // From one point to the next: the steps before the middle lie in column x0, the others
        // in column x1, each group on consecutive rows, so each group is one block of brushes.
        const int split = (steps + 1) / 2; // first step in column x1
        const int a = y0 + graph_detail::RoundRatio(dy * (split - 1), steps);
        const int b = y0 + graph_detail::RoundRatio(dy * split, steps);
        column(x0, std::min(y0, a), std::max(y0, a), c, width);
        column(x1, std::min(b, y1), std::max(b, y1), c, width);
        return;
    }
    if (steps == 0) {
        column(x1, y1, y1, c, width);
        return;
    }
    // Each step rounds its share of the segment, halves away from zero.
    for (int s = 0; s <= steps; ++s) {
        const int y = y0 + graph_detail::RoundRatio(dy * s, steps);
        column(x0 + graph_detail::RoundRatio(dx * s, steps), y, y, c, width);
    }
}

// The pixel value of a curve colour.
QRgb CurvePixel(ColorValue color);
