#include "window/EditingWindowParts.h"

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, CurrentWindowGraph* graph)
    : EditingWindowParts(st, link, sv, static_cast<LinkedRoutines*>(nullptr), graph) {}

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines& linked,
                                       CurrentWindowGraph* graph)
    : EditingWindowParts(st, link, sv, &linked, graph) {}

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines* linked,
                                       CurrentWindowGraph* graph)
    : windows(st), modGraph(st, windows), programGraph(modGraph), devLinked(st, link, windows, modGraph),
      context{st, link, windows, sv.msg, sv.dialogs, graph ? *graph : programGraph, linked ? *linked : devLinked},
      service(st, windows) {
    windows.setContext(&context);
}
