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
