// Timing of the response graph: one band with its channel sum, a whole window's bands and
// crossovers, and the phase wrap for small and very large delays.
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

// One band recomputed and its channel summed (drawing suspended, as the whole-program load runs).
void BM_BandAndChannelSum(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    w->st.DrawSuspended = 1;
    int band = static_cast<int>(state.range(0));
    for (auto _ : state) {
        w->mg.CalcBandGraph(band);
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

// The same with its curve drawn into the graph picture.
void BM_BandSumAndDraw(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    for (auto _ : state) {
        w->mg.CalcBandGraph(6);
        benchmark::DoNotOptimize(w->wins.CtrlWindow(0).Picture1[1].Image.constBits());
    }
}
BENCHMARK(BM_BandSumAndDraw)->Unit(benchmark::kMicrosecond);

// All 19 bands and 4 crossover filters of a window, drawing suspended.
void BM_WholeWindow(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    w->st.DrawSuspended = 1;
    for (auto _ : state) {
        for (int b = 0; b < 19; ++b)
            w->mg.CalcBandGraph(b);
        for (int k = 0; k < 4; ++k)
            w->mg.CalcXoverGraph(k);
        benchmark::DoNotOptimize(w->st.Graph.Slot(0).OutPhase[2][500]);
    }
}
BENCHMARK(BM_WholeWindow)->Unit(benchmark::kMicrosecond);

// One crossover filter with its output sum.
void BM_XoverAndSum(benchmark::State& state) {
    auto w = std::make_unique<Window>();
    w->st.DrawSuspended = 1;
    for (auto _ : state) {
        w->mg.CalcXoverGraph(0);
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
