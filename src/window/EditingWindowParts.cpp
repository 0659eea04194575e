#include "window/EditingWindowParts.h"

EditingWindowParts::EditingWindowParts(AppState& st, Link& link, Services& sv, LinkedRoutines& linked,
                                       CurrentWindowGraph* graph, ProgramActions* actions)
    : windows(st), modGraph(st, windows), programGraph(modGraph), context{st,
                                                                          link,
                                                                          windows,
                                                                          sv.msg,
                                                                          sv.dialogs,
                                                                          sv.clock,
                                                                          graph ? *graph : programGraph,
                                                                          linked,
                                                                          actions ? actions : &noActions},
      service(st, windows) {
    windows.setContext(&context);
}
