#include "graph/GraphDraw.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>

double MagRowY(std::initializer_list<float> termsDb) {
    double y = kZeroRow;
    for (float t : termsDb)
        y -= static_cast<double>(kMagScale * t);
    return y;
}

double PhaseRowY(double degrees) {
    return kZeroRow - kPhaseScale * degrees;
}

std::optional<int> PixelRow(double y) {
    if (std::isnan(y)) return std::nullopt;
    // Rows this far outside the 192-row picture draw nothing either way; keeping them near
    // makes every level, however large, a safe whole number.
    y = std::clamp(y, -512.0, 704.0);
    return static_cast<int>(std::nearbyint(y));
}

void ClearGraph(PictureBox& pic, const FrmImage& image, bool magView) {
    const QImage& grid = magView ? image.Picture1.Image : image.Picture2.Image;
    if (grid.width() == image.GridPictureWidth && grid.height() == image.GridPictureHeight)
        pic.Image = grid; // shared until something is drawn into it
    else
        pic.Image =
            grid.scaled(static_cast<int>(image.GridPictureWidth), static_cast<int>(image.GridPictureHeight));
    if (pic.Picture) pic.Picture();
}

void GraphMoveTo(PenPos& pen, int x, int y) {
    pen.x = x;
    pen.y = y;
}

namespace {

// Paints a square brush of `width` pixels whose lower right pixel is (x, y), clipped.
void Brush(QImage& img, int x, int y, QRgb c, int width) {
    const int w = img.width();
    const int h = img.height();
    for (int yy = y - width + 1; yy <= y; ++yy) {
        if (yy < 0 || yy >= h) continue;
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
        for (int xx = x - width + 1; xx <= x; ++xx)
            if (xx >= 0 && xx < w) line[xx] = c;
    }
}

} // namespace

void GraphLineTo(PictureBox& pic, PenPos& pen, int x, std::optional<int> row, ColorValue color, int width) {
    if (!row) return;
    const int x0 = pen.x;
    const int y0 = pen.y;
    const int x1 = x;
    const int y1 = *row;
    pen.x = x1;
    pen.y = y1;
    QImage& img = pic.Image;
    if (img.isNull()) return;
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32)
        img = img.convertToFormat(QImage::Format_RGB32);
    // A segment wholly left, right, above or below the picture draws nothing.
    if ((x0 < 0 && x1 < 0) || (x0 >= img.width() + width && x1 >= img.width() + width)) return;
    if ((y0 < 0 && y1 < 0) || (y0 >= img.height() + width && y1 >= img.height() + width)) return;
    const QColor qc = ToQColor(color);
    const QRgb c = qRgb(qc.red(), qc.green(), qc.blue());
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        Brush(img, x1, y1, c, width);
        return;
    }
    for (int s = 0; s <= steps; ++s) {
        const int px = x0 + static_cast<int>(std::lround(static_cast<double>(dx) * s / steps));
        const int py = y0 + static_cast<int>(std::lround(static_cast<double>(dy) * s / steps));
        Brush(img, px, py, c, width);
    }
}
