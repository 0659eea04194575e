#include "params/EqServices.h"

#include "graph/ModGraph.h"

// The handlers' forms: the graph of the current window.

void ModGraphResponse::CalcBandGraph(int b) {
    graph_.CalcBandGraph(graph_.State().CurSlot, b);
}

void ModGraphResponse::CalcXoverGraph(int k) {
    graph_.CalcXoverGraph(graph_.State().CurSlot, k);
}

void ModGraphResponse::RedrawGraph(int g) {
    graph_.RedrawGraph(graph_.State().CurSlot, g);
}
