#include "graph/GraphState.h"

#include "graph/GraphDraw.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace {
size_t SlotIndex(int s) {
    return static_cast<size_t>(std::clamp(s, 0, kGraphSlots - 1));
}
size_t ChannelIndex(int ch) {
    return static_cast<size_t>(std::clamp(ch, 0, kGraphChannels - 1));
}
} // namespace

void SumChannel(SlotResponse& r, int ch, bool eqBypassed) {
    if (ch < 0 || ch >= kGraphChannels) return;
    const auto c = static_cast<size_t>(ch);
    // Summed row by row into rows of its own (which nothing else can reach, so the additions run
    // several points at a time); every point still gets its terms in the same order.
    PointRow<float> mag{};
    PointRow<double> phase{};
    auto add = [](auto& sum, const auto& row) {
        for (size_t i = 0; i < kGraphPoints; ++i)
            sum[i] += row[i];
    };
    if (!eqBypassed) {
        const auto first = static_cast<size_t>(ChannelFirstBand(ch));
        const auto last = first + static_cast<size_t>(ChannelBandCount(ch));
        for (size_t b = first; b < last; ++b) {
            add(mag, r.BandMag[b]);
            add(phase, r.BandPhase[b]);
        }
    }
    if (c > 0) {
        const size_t k = (c - 1) * 2;
        add(mag, r.XoverMag[k]);
        add(mag, r.XoverMag[k + 1]);
        add(phase, r.XoverPhase[k]);
        add(phase, r.XoverPhase[k + 1]);
    }
    add(phase, r.DelayPhase[c]);
    r.OutMag[c] = mag;
    r.OutPhase[c] = phase;
}

SlotResponse& GraphState::Slot(int s) {
    if (slots_.empty()) slots_.resize(kGraphSlots);
    return slots_[SlotIndex(s)];
}

PenPos& GraphState::Pen(int s, int g) {
    return pens_[SlotIndex(s)][ChannelIndex(g)];
}

DrawnRows& GraphState::Drawn(int s, int g) {
    return drawn_[SlotIndex(s)][ChannelIndex(g)];
}

const FrequencyGrid& GraphState::Frequencies(double pointsPerDecade) {
    grid_.build(pointsPerDecade);
    return grid_;
}

void GraphState::UpdateDelayPhase(int s, int ch, int32_t samples, double pointsPerDecade) {
    DelayKey& key = delayKeys_[SlotIndex(s)][ChannelIndex(ch)];
    if (key.Made && key.Samples == samples && key.Density == pointsPerDecade) return;
    const FrequencyGrid& grid = Frequencies(pointsPerDecade);
    auto& row = Slot(s).DelayPhase[ChannelIndex(ch)];
    for (size_t i = 0; i < kGraphPoints; ++i)
        row[i] = DelayPhaseAt(grid.F[i], samples);
    key = {true, samples, pointsPerDecade};
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
            VLine(img, GridLineX(m * decade, pointsPerDecade));
    VLine(img, GridLineX(10000.0, pointsPerDecade));
    VLine(img, GridLineX(20000.0, pointsPerDecade));
    return img;
}

} // namespace

int GridLineX(double hz, double pointsPerDecade) {
    return static_cast<int>(std::lrint(pointsPerDecade * std::log10(hz / 20.0)));
}

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
