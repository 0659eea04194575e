#pragma once
// What the editing windows' procedures, the setters and the whole-program load work with: the
// program-wide state, the serial link, the window objects by slot, message boxes, dialogs, the
// response graph and the linked-device routines. EditingWindowParts builds it, for the program and for
// the tests alike.
#include "common/AppState.h"
#include "link/Link.h"
#include "linked/LinkedRoutines.h"
#include "params/EqServices.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"
#include "window/CtrlWindowSlots.h"

struct WindowContext {
    AppState& st;
    Link& link;
    CtrlWindowSlots& windows;
    MessageBoxService& msg;
    DialogService& dialogs;
    ResponseGraph& graph;
    LinkedRoutines& linked;

    // Bus address of the current window's device.
    int dev() const { return st.CurDevice(); }
    FrmCtrl& win() { return windows.CtrlWindow(st.CurSlot); }
    ProgRecord& prog() { return st.DevProgs[static_cast<size_t>(dev())]; }
    DeviceRec& rec() { return st.DevRecs[static_cast<size_t>(dev())]; }
};
