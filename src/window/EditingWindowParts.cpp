#include "window/EditingWindowParts.h"

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines& linked,
                                       ResponseGraph* graph)
    : windows(st), modGraph(st, windows),
      programGraph(modGraph), context{st,    link, windows, sv.msg, sv.dialogs, graph ? *graph : programGraph,
                                      linked},
      service(st, windows) {
    windows.setContext(&context);
}
