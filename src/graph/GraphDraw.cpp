#include "graph/GraphDraw.h"

#include <cstdlib>
#include <cstring>

void ClearGraph(PictureBox& pic, const FrmImage& image, bool magView, DrawnRows& drawn) {
    const QImage& grid = magView ? image.Picture1.Image : image.Picture2.Image;
    const bool gridSize = grid.width() == image.GridPictureWidth && grid.height() == image.GridPictureHeight;
    QImage& img = pic.Image;
    if (gridSize && !grid.isNull() && drawn.ImageKey == img.cacheKey() && drawn.GridKey == grid.cacheKey() &&
        img.size() == grid.size() && img.format() == grid.format()) {
        // Still the grid with curves drawn over some rows: paint those rows again.
        if (drawn.Bottom >= drawn.Top) {
            const auto bytes = static_cast<size_t>(std::min(img.bytesPerLine(), grid.bytesPerLine()));
            for (int y = drawn.Top; y <= drawn.Bottom; ++y)
                std::memcpy(img.scanLine(y), grid.constScanLine(y), bytes);
        }
    } else if (gridSize) {
        img = grid; // shared until something is drawn into it
    } else {
        img =
            grid.scaled(static_cast<int>(image.GridPictureWidth), static_cast<int>(image.GridPictureHeight));
    }
    drawn = {img.cacheKey(), gridSize ? grid.cacheKey() : 0, 0, -1};
    if (pic.Picture) pic.Picture();
}

void GraphMoveTo(PenPos& pen, int x, int y) {
    pen.x = x;
    pen.y = y;
}

QRgb CurvePixel(ColorValue color) {
    const QColor qc = ToQColor(color);
    return qRgb(qc.red(), qc.green(), qc.blue());
}

GraphCanvas::GraphCanvas(PictureBox& pic, DrawnRows& drawn) : img_(pic.Image), drawn_(drawn) {
    if (img_.isNull()) return;
    // A picture changed since the last clear or drawing is no longer the grid plus marked rows.
    if (drawn_.ImageKey != img_.cacheKey()) drawn_.GridKey = 0;
    if (img_.format() != QImage::Format_RGB32 && img_.format() != QImage::Format_ARGB32)
        img_ = img_.convertToFormat(QImage::Format_RGB32);
    bits_ = img_.bits();
    stride_ = img_.bytesPerLine();
    w_ = img_.width();
    h_ = img_.height();
}

GraphCanvas::~GraphCanvas() {
    if (bits_) drawn_.ImageKey = img_.cacheKey();
}

namespace {

// n / m to the nearest whole number, halves away from zero (m > 0).
int RoundRatio(int n, int m) {
    return n >= 0 ? (2 * n + m) / (2 * m) : -((-2 * n + m) / (2 * m));
}

} // namespace

// Paints a square brush of `width` pixels whose lower right pixel is (x, y), clipped.
void GraphCanvas::brush(int x, int y, QRgb c, int width) {
    const int x0 = std::max(x - width + 1, 0);
    const int x1 = std::min(x, w_ - 1);
    const int y0 = std::max(y - width + 1, 0);
    const int y1 = std::min(y, h_ - 1);
    for (int yy = y0; yy <= y1; ++yy) {
        auto* line = reinterpret_cast<QRgb*>(bits_ + yy * stride_);
        for (int xx = x0; xx <= x1; ++xx)
            line[xx] = c;
    }
}

void GraphCanvas::LineTo(PenPos& pen, int x, std::optional<int> row, QRgb c, int width) {
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
    if (steps == 0) {
        brush(x1, y1, c, width);
        return;
    }
    // Each step rounds its share of the segment, halves away from zero.
    for (int s = 0; s <= steps; ++s)
        brush(x0 + RoundRatio(dx * s, steps), y0 + RoundRatio(dy * s, steps), c, width);
}
