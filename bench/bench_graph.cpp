// Timing of the response graph. The two figures that count: a whole window recomputed
// (BM_WholeWindow: 19 bands, 4 crossover filters and the sums, drawing suspended as a program
// load does it) and one band edit (BM_BandEdit: the band recomputed, its channel summed and its
// graph redrawn). Both change the settings between runs, so that nothing unchanged is skipped.
// Besides: one band or crossover filter with its sum, and the phase wrap.
#include "graph/ModGraph.h"
#include "window/CtrlWindows.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Window {
    AppState st;
    CtrlWindows wins{st};
    ModGraph mg{st, wins};
    static constexpr int kDev = 3;

    Window() {
        st.SlotTable[0] = {-1, kDev, 0};
        st.CurSlot = 0;
        DeviceRec& r = st.DevRecs[kDev];
        const int types[19] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0, 9};
        for (int b = 0; b < 19; ++b) {
            st.BandType[kDev][b] = static_cast<int16_t>(types[b]);
            r.BandGain[b] = static_cast<float>(b % 7 - 3);
            r.BandFreq[b] = static_cast<float>(50 + 600 * b);
            r.BandQ[b] = 1.2f;
        }
        const int xtypes[4] = {10, 8, 17, 16};
        for (int k = 0; k < 4; ++k) {
            r.XoverType[k] = static_cast<float>(xtypes[k]);
            r.XoverF1[k] = 80;
            r.XoverF2[k] = 300;
            r.XoverF3[k] = 1200;
            r.XoverF4[k] = 5000;
            r.XoverQ1[k] = r.XoverQ2[k] = r.XoverQ3[k] = r.XoverQ4[k] = 0.7f;
        }
        for (int ch = 0; ch < 3; ++ch)
            st.DelaySamples[kDev][ch] = 100 * ch;
        st.Graph.Slot(0); // the store exists before timing
    }
};

// Switches between two programs that differ in every band, crossover filter and delay.
void Alternate(Window& w, int run) {
    DeviceRec& r = w.st.DevRecs[Window::kDev];
    const float shift = (run & 1) ? 0.5f : 0.0f;
    for (int b = 0; b < 19; ++b)
        r.BandGain[b] = static_cast<float>(b % 7 - 3) + shift;
    for (int k = 0; k < 4; ++k)
        r.XoverF1[k] = 80 + 10 * shift;
    for (int ch = 0; ch < 3; ++ch)
        w.st.DelaySamples[Window::kDev][ch] = 100 * ch + static_cast<int>(2 * shift);
}

// One band recomputed and its channel summed (drawing suspended, as the whole-program load runs).
void BM_BandAndChannelSum(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    w->st.DrawSuspended = 1;
    int band = static_cast<int>(state.range(0));
    for (auto _ : state) {
        w->mg.CalcBandGraph(0, band);
        benchmark::DoNotOptimize(w->st.Graph.Slot(0).OutMag[1][300]);
    }
}
BENCHMARK(BM_BandAndChannelSum)
    ->Arg(5)
    ->Arg(6)
    ->Arg(13)
    ->Arg(14)
    ->Arg(16)
    ->Arg(18)
    ->Unit(benchmark::kMicrosecond);

// One band edit as a handler makes it: the band's gain changed, the band recomputed, its
// channel summed and its graph cleared and drawn (magnitude view). Band 6 is a shelf of the
// first output, band 0 a peak of the input.
void BM_BandEdit(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    const int band = static_cast<int>(state.range(0));
    DeviceRec& r = w->st.DevRecs[Window::kDev];
    const float gain = r.BandGain[band];
    int run = 0;
    for (auto _ : state) {
        r.BandGain[band] = gain + static_cast<float>(run++ & 1);
        w->mg.CalcBandGraph(0, band);
        benchmark::DoNotOptimize(w->wins.CtrlWindow(0).Picture1[ChannelOfBand(band)].Image.constBits());
    }
}
BENCHMARK(BM_BandEdit)->Arg(6)->Arg(0)->Unit(benchmark::kMicrosecond);

// A whole window recomputed: all 19 bands and 4 crossover filters of a window with their sums,
// drawing suspended.
void BM_WholeWindow(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    w->st.DrawSuspended = 1;
    int run = 0;
    for (auto _ : state) {
        Alternate(*w, run++);
        for (int b = 0; b < 19; ++b)
            w->mg.CalcBandGraph(0, b);
        for (int k = 0; k < 4; ++k)
            w->mg.CalcXoverGraph(0, k);
        benchmark::DoNotOptimize(w->st.Graph.Slot(0).OutPhase[2][500]);
    }
}
BENCHMARK(BM_WholeWindow)->Unit(benchmark::kMicrosecond);

// One crossover filter with its output sum.
void BM_XoverAndSum(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    w->st.DrawSuspended = 1;
    for (auto _ : state) {
        w->mg.CalcXoverGraph(0, 0);
        benchmark::DoNotOptimize(w->st.Graph.Slot(0).OutMag[1][300]);
    }
}
BENCHMARK(BM_XoverAndSum)->Unit(benchmark::kMicrosecond);

// The phase wrap of a delay phase: the same time whatever the delay (in samples).
void BM_NormPhase(benchmark::State& state) {
    const double delay = static_cast<double>(state.range(0));
    double x = DelayPhaseAt(20000, static_cast<int32_t>(std::min(delay, 2.0e9)));
    for (auto _ : state) {
        double v = x;
        benchmark::DoNotOptimize(NormPhase(v));
        x += 0.001;
    }
}
BENCHMARK(BM_NormPhase)->Arg(0)->Arg(48)->Arg(37920)->Arg(2000000000);

} // namespace

BENCHMARK_MAIN();
