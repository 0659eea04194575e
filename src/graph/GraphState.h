#pragma once
// State of the response graphs: the response store of every editing window slot, the two grid
// pictures and the pen position of every graph picture.
#include "graph/GraphMath.h"
#include "platform/Controls.h"

#include <array>
#include <cstdint>
#include <vector>

constexpr int kGraphSlots = 66; // editing window slots 0..65

template <typename T, int N> using PointRows = std::array<std::array<T, kGraphPoints>, N>;

// Responses of one editing window slot at the grid points: magnitudes in dB, phases in degrees.
struct SlotResponse {
    PointRows<float, kGraphBands> BandMag{};
    PointRows<double, kGraphBands> BandPhase{};
    PointRows<float, kGraphXovers> XoverMag{};
    PointRows<double, kGraphXovers> XoverPhase{};
    PointRows<double, kGraphChannels> DelayPhase{};
    PointRows<float, kGraphChannels> OutMag{};
    PointRows<double, kGraphChannels> OutPhase{};
};

// Rebuilds the sum of channel ch (0..2) at point i: its bands (left out while its equaliser is
// bypassed), its crossover filters (outputs only) and its delay phase. The phase stays unwrapped.
void SumChannelPoint(SlotResponse& r, int ch, int i, bool eqBypassed);

// First equaliser band and band count of channel ch; channel of band b and of filter k.
constexpr int FirstBandOf(int ch) {
    return ch == 0 ? 0 : (ch == 1 ? 5 : 12);
}
constexpr int BandCountOf(int ch) {
    return ch == 0 ? 5 : 7;
}
constexpr int ChannelOfBand(int b) {
    return b < 5 ? 0 : (b < 12 ? 1 : 2);
}
constexpr int ChannelOfXover(int k) {
    return k / 2 + 1;
}

// The hidden image form: the magnitude grid picture (Picture1) and the phase grid picture
// (Picture2), 576 x 192 pixels, white with black grid lines, built on first use.
class FrmImage {
  public:
    // Builds both pictures (the frequency lines placed by pointsPerDecade) and takes their size.
    void Form_Load(double pointsPerDecade);
    bool Loaded() const { return loaded_; }

    PictureBox Picture1;
    PictureBox Picture2;
    long GridPictureWidth = 0;
    long GridPictureHeight = 0;

  private:
    bool loaded_ = false;
};

// Current position of a picture's drawing pen.
struct PenPos {
    int x = 0;
    int y = 0;
};

struct GraphState {
    FrmImage Image;

    // Response store of window slot s (0..65; other values are taken into that range). All
    // entries are zero until a computation fills them.
    SlotResponse& Slot(int s);
    // Pen of graph picture g (0..2) of window slot s.
    PenPos& Pen(int s, int g);
    // The grid frequencies (GridFrequency of every point), worked out once for a grid density.
    const std::array<double, kGraphPoints>& Frequencies(double pointsPerDecade);

  private:
    std::array<double, kGraphPoints> freq_{};
    double freqDensity_ = 0;          // density freq_ was made for; 0 none yet
    std::vector<SlotResponse> slots_; // created whole on first use
    std::array<std::array<PenPos, kGraphChannels>, kGraphSlots> pens_{};
};
