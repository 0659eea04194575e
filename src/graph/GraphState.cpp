#include "graph/GraphState.h"

#include "graph/GraphDraw.h"

#include <QImage>
#include <algorithm>
#include <cmath>

void SumChannelPoint(SlotResponse& r, int ch, int i, bool eqBypassed) {
    if (ch < 0 || ch >= kGraphChannels || i < 0 || i >= kGraphPoints) return;
    const auto c = static_cast<size_t>(ch);
    const auto p = static_cast<size_t>(i);
    float mag = 0;
    double phase = 0;
    if (!eqBypassed) {
        const auto first = static_cast<size_t>(FirstBandOf(ch));
        const auto last = first + static_cast<size_t>(BandCountOf(ch));
        for (size_t b = first; b < last; ++b) {
            mag += r.BandMag[b][p];
            phase += r.BandPhase[b][p];
        }
    }
    if (c > 0) {
        const size_t k = (c - 1) * 2;
        mag += r.XoverMag[k][p];
        mag += r.XoverMag[k + 1][p];
        phase += r.XoverPhase[k][p];
        phase += r.XoverPhase[k + 1][p];
    }
    r.OutMag[c][p] = mag;
    r.OutPhase[c][p] = phase + r.DelayPhase[c][p];
}

SlotResponse& GraphState::Slot(int s) {
    if (slots_.empty()) slots_.resize(kGraphSlots);
    return slots_[static_cast<size_t>(std::clamp(s, 0, kGraphSlots - 1))];
}

PenPos& GraphState::Pen(int s, int g) {
    return pens_[static_cast<size_t>(std::clamp(s, 0, kGraphSlots - 1))]
                [static_cast<size_t>(std::clamp(g, 0, kGraphChannels - 1))];
}

const std::array<double, kGraphPoints>& GraphState::Frequencies(double pointsPerDecade) {
    if (freqDensity_ != pointsPerDecade) {
        for (int i = 0; i < kGraphPoints; ++i)
            freq_[static_cast<size_t>(i)] = GridFrequency(i, pointsPerDecade);
        freqDensity_ = pointsPerDecade;
    }
    return freq_;
}

namespace {

constexpr int kGridWidth = 576;
constexpr int kGridHeight = 192;

void HLine(QImage& img, int y) {
    if (y < 0 || y >= img.height()) return;
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    std::fill(line, line + img.width(), qRgb(0, 0, 0));
}

void VLine(QImage& img, int x) {
    if (x < 0 || x >= img.width()) return;
    for (int y = 0; y < img.height(); ++y)
        reinterpret_cast<QRgb*>(img.scanLine(y))[x] = qRgb(0, 0, 0);
}

QImage BaseGrid(double pointsPerDecade) {
    QImage img(kGridWidth, kGridHeight, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    // 20..90 Hz, 100..900 Hz, 1..9 kHz, then 10 kHz and 20 kHz.
    for (double decade : {10.0, 100.0, 1000.0})
        for (int m = (decade == 10.0 ? 2 : 1); m <= 9; ++m)
            VLine(img, static_cast<int>(std::lrint(pointsPerDecade * std::log10(m * decade / 20.0))));
    VLine(img, static_cast<int>(std::lrint(pointsPerDecade * std::log10(10000.0 / 20.0))));
    VLine(img, static_cast<int>(std::lrint(pointsPerDecade * std::log10(20000.0 / 20.0))));
    return img;
}

} // namespace

void FrmImage::Form_Load(double pointsPerDecade) {
    if (!std::isfinite(pointsPerDecade) || pointsPerDecade <= 0) pointsPerDecade = 575.0 / 3.0;
    QImage mag = BaseGrid(pointsPerDecade);
    // Six bands of 10 dB and eight of 45 degrees, on the rows where the curves put those values.
    for (int k = -3; k <= 3; ++k)
        HLine(mag, *PixelRow(MagRowY({static_cast<float>(10 * k)})));
    QImage phase = BaseGrid(pointsPerDecade);
    for (int k = -4; k <= 4; ++k)
        HLine(phase, *PixelRow(PhaseRowY(45.0 * k)));
    Picture1.Image = mag;
    Picture2.Image = phase;
    GridPictureWidth = std::lround(static_cast<double>(Picture1.Image.width()));
    GridPictureHeight = std::lround(static_cast<double>(Picture1.Image.height()));
    loaded_ = true;
}
