#pragma once
// What the editing windows' procedures, the setters and the whole-program load work with: the
// program-wide state, the serial link, the window objects by slot, message boxes, dialogs, the
// response graph, the linked-device routines and the memory, file and preset procedures of the top
// bar. EditingWindowParts builds it, for the program and for the tests alike.
#include "common/AppState.h"
#include "link/Link.h"
#include "linked/LinkedRoutines.h"
#include "memories/ProgramActions.h"
#include "params/EqServices.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"
#include "window/CtrlWindowSlots.h"

#include <functional>

class DeviceListHost;

struct WindowContext {
    AppState& st;
    Link& link;
    CtrlWindowSlots& windows;
    MessageBoxService& msg;
    DialogService& dialogs;
    Clock& clock;
    CurrentWindowGraph& graph;
    LinkedRoutines& linked;
    // The top bar's memory, file and preset procedures; never null. The program points it at its
    // own once they can be built on this context.
    ProgramActions* actions;

    // Set by the program once the main window and the device list exist; empty in most tests.
    // The device list, where a renamed device's row is shown.
    DeviceListHost* deviceList = nullptr;
    // The main window's mouse pointer (0 default, 13 arrow and hourglass).
    int* mainMousePointer = nullptr;
    // Shows every window's state at once, for procedures that talk to the device for a while
    // with no window events running.
    std::function<void()> refreshWindows{};

    // Bus address of the current window's device.
    int dev() const { return st.CurDevice(); }
    FrmCtrl& win() { return windows.CtrlWindow(st.CurSlot); }
    ProgRecord& prog() { return st.DevProgs[static_cast<size_t>(dev())]; }
    DeviceRec& rec() { return st.DevRecs[static_cast<size_t>(dev())]; }
};
