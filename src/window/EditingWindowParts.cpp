#include "window/EditingWindowParts.h"

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, CurrentWindowGraph* graph)
    : EditingWindowParts(st, link, sv, static_cast<LinkedRoutines*>(nullptr), graph, nullptr) {}

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines& linked,
                                       CurrentWindowGraph* graph, ProgramActions* actions)
    : EditingWindowParts(st, link, sv, &linked, graph, actions) {}

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines* linked,
                                       CurrentWindowGraph* graph, ProgramActions* actions)
    : windows(st), modGraph(st, windows), programGraph(modGraph), devLinked(st, link, windows, modGraph),
      context{st,
              link,
              windows,
              sv.msg,
              sv.dialogs,
              sv.clock,
              graph ? *graph : programGraph,
              linked ? *linked : devLinked,
              actions ? actions : &noActions},
      service(st, windows) {
    windows.setContext(&context);
}
