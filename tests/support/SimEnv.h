#pragma once
// A program state wired to a simulated bus on a fake clock, for tests.
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Services.h"
#include "sim/SimBus.h"

#include <vector>

// Records what the link's failure path asked of the device list and the windows.
struct RecordingFailureSink : LinkFailureSink {
    std::vector<std::pair<int, int>> rows; // (row, bus address)
    std::vector<int> closed;               // bus addresses whose window was closed
    void ShowRowDisconnected(int row, int busAddress) override { rows.emplace_back(row, busAddress); }
    void CloseDeviceWindow(int busAddress) override { closed.push_back(busAddress); }
};

struct SimEnv {
    FakeClock clock;
    SimBus bus;
    SimPort port{bus, clock};
    CountingEventPump events;
    ScriptedMessageBox msg;
    ScriptedDialogs dialogs;
    Services sv{port, clock, events, msg, dialogs};
    AppState st;
    Link link{st, sv};

    // Opens "COM 1" on the simulated bus.
    SimEnv() {
        st.CommPortNumber = 1;
        link.OpenCommPort();
    }
    // Lists the given bus addresses as device-list rows, in order.
    void listDevices(const std::vector<int>& addrs) {
        st.FoundLast = -1;
        for (int a : addrs) {
            ++st.FoundLast;
            st.FoundList[static_cast<size_t>(st.FoundLast)] = static_cast<int16_t>(a);
            st.DeviceRow[static_cast<size_t>(a)] = st.FoundLast;
        }
    }
};

inline Frame13 FrameOf(std::initializer_list<int> bytes) {
    Frame13 f{};
    size_t i = 0;
    for (int b : bytes) f[i++] = static_cast<uint8_t>(b);
    return f;
}
