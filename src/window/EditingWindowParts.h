#pragma once
// The editing windows with everything their procedures work with, wired in the one order that
// works: the window objects by slot, the response graph that draws into them, the context handed
// to every window, and the service that opens and closes them for the device list and the link.
// The program and the tests build them through this one constructor.
#include "graph/ModGraph.h"
#include "platform/Services.h"
#include "window/CtrlWindowSlots.h"
#include "window/EditingWindowService.h"
#include "window/WindowContext.h"

struct EditingWindowParts {
    // `graph`, when given, takes the place of the program's response graph (tests that record
    // the graph calls); `actions`, when given, serves the top bar's memory, file and preset
    // buttons, which otherwise do nothing. Both must outlive the parts.
    EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines& linked,
                       CurrentWindowGraph* graph = nullptr, ProgramActions* actions = nullptr);
    EditingWindowParts(const EditingWindowParts&) = delete;
    EditingWindowParts& operator=(const EditingWindowParts&) = delete;

    CtrlWindowSlots windows;
    ModGraph modGraph;
    CurrentWindowModGraph programGraph;
    NoProgramActions noActions;
    WindowContext context;
    EditingWindowService service;
};
