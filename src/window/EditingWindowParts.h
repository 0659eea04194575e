#pragma once
// The editing windows with everything their procedures work with, wired in the one order that
// works: the window objects by slot, the response graph that draws into them, the context handed
// to every window, and the service that opens and closes them for the device list and the link.
// The program and the tests build them through this one constructor.
#include "graph/ModGraph.h"
#include "linked/ModDevLinked.h"
#include "platform/Services.h"
#include "window/CtrlWindowSlots.h"
#include "window/EditingWindowService.h"
#include "window/WindowContext.h"

struct EditingWindowParts {
    // The program's parts: the windows' handlers repeat their edits through `devLinked`.
    // `graph`, when given, takes the place of the program's response graph (tests that record
    // the graph calls); it must outlive the parts.
    explicit EditingWindowParts(AppState& st, Link& link, Services& sv, CurrentWindowGraph* graph = nullptr);
    // The same with `linked` in place of the program's link routines (tests that record them);
    // `actions`, when given, serves the top bar's memory, file and preset buttons, which otherwise
    // do nothing. Both must outlive the parts.
    EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines& linked,
                       CurrentWindowGraph* graph = nullptr, ProgramActions* actions = nullptr);
    EditingWindowParts(const EditingWindowParts&) = delete;
    EditingWindowParts& operator=(const EditingWindowParts&) = delete;

    CtrlWindowSlots windows;
    ModGraph modGraph;
    CurrentWindowModGraph programGraph;
    NoProgramActions noActions;
    ModDevLinked devLinked;
    WindowContext context;
    EditingWindowService service;

  private:
    EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines* linked,
                       CurrentWindowGraph* graph, ProgramActions* actions);
};
