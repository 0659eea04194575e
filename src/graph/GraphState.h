#pragma once
// State of the response graphs: the response store of every editing window slot, the two grid
// pictures and the pen position of every graph picture.
#include "common/BandNumbering.h"
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

// Rebuilds the sum of channel ch (0..2) at every point: its bands (left out while its equaliser
// is bypassed), its crossover filters (outputs only) and its delay phase, added in that order.
// The phase stays unwrapped.
void SumChannel(SlotResponse& r, int ch, bool eqBypassed);

// Column of the vertical grid line at frequency hz on a graph picture (20 Hz is column 0).
int GridLineX(double hz, double pointsPerDecade);

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

// The rows of a graph picture drawn over its grid picture since the picture was last cleared,
// with the picture's and the grid's cache keys at that time: while the picture is still what the
// drawing left, clearing it again repaints only those rows from the grid.
struct DrawnRows {
    qint64 ImageKey = 0;
    qint64 GridKey = 0;
    int Top = 0;
    int Bottom = -1; // none while Bottom < Top
};

struct GraphState {
    FrmImage Image;

    // Response store of window slot s (0..65; other values are taken into that range). All
    // entries are zero until a computation fills them.
    SlotResponse& Slot(int s);
    // Pen of graph picture g (0..2) of window slot s, and the rows drawn into that picture.
    PenPos& Pen(int s, int g);
    DrawnRows& Drawn(int s, int g);
    // The grid frequencies and their powers, worked out once for a grid density.
    const FrequencyGrid& Frequencies(double pointsPerDecade);
    // Works out the delay phase of channel ch of slot s for a delay of `samples`, unless that
    // channel's stored delay phase was last worked out for the same delay and grid.
    void UpdateDelayPhase(int s, int ch, int32_t samples, double pointsPerDecade);

  private:
    struct DelayKey {
        bool Made = false;
        int32_t Samples = 0;
        double Density = 0;
    };

    FrequencyGrid grid_;
    std::vector<SlotResponse> slots_; // created whole on first use
    std::array<std::array<PenPos, kGraphChannels>, kGraphSlots> pens_{};
    std::array<std::array<DrawnRows, kGraphChannels>, kGraphSlots> drawn_{};
    std::array<std::array<DelayKey, kGraphChannels>, kGraphSlots> delayKeys_{};
};
