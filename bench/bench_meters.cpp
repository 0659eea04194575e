// Timing of the meter poll: one tick of an editing window's poll timer as the program runs it,
// the meter request to a simulated device that answers at once, the reply decoded and the view's
// LEDs and lamps painted, on Qt's offscreen platform (BM_MeterTick). Every tick gets another
// reply than the one before, so that the bars change each time.
#include "bus/FrmSearchNet.h"
#include "tests/support/SimEnv.h"
#include "window/EditingWindowParts.h"
#include "window/ui/FrmCtrlView.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// An editing window of device 1 on the simulated bus, opened as the device list opens it.
struct PolledWindow : SimEnv {
    static constexpr int kDev = 1;
    static constexpr int kSlot = 0;
    EditingWindowParts parts{st, link, sv};
    FrmSearchNet list{st, sv, link};
    FrmCtrl* form = nullptr;

    PolledWindow() {
        list.setEditingWindows(&parts.service);
        link.setFailureSink(&list);
        bus.addDevice(kDev).replyDelay = 0;
        st.ModelCode[kDev] = 1;
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(),
                  st.DevProgs[kDev].Params.begin());
        st.SlotTable[kSlot] = WinSlotRec{-1, kDev, kSlot};
        st.NextSlot = kSlot;
        ++st.OpenWindowCount;
        if (parts.service.ShowEditingWindow(kSlot)) form = &parts.windows.CtrlWindow(kSlot);
    }
};

void BM_MeterTick(benchmark::State& state) {
    PolledWindow env;
    if (!env.form || !env.form->loaded()) {
        state.SkipWithError("the editing window did not open");
        return;
    }
    FrmCtrlView view(*env.form);
    view.show();
    QApplication::processEvents();
    SimDevice& dev = *env.bus.device(PolledWindow::kDev);
    // Two replies that differ in every bar and lamp.
    const std::array<uint8_t, 8> replies[2] = {{7, 0, 0xBF, 95, 0, 0, 0, 0x05}, {127, 0, 1, 3, 0, 0, 0, 0x0A}};
    size_t n = 0;
    for (auto _ : state) {
        dev.meters = replies[n++ & 1];
        view.pollTick();
        QApplication::processEvents(); // the repaint of the LEDs that changed
    }
    if (env.bus.framesWithCommand(CmdReadMeters).size() < n) state.SkipWithError("a tick sent no meter request");
}
BENCHMARK(BM_MeterTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
