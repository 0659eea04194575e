#include "params/EqServices.h"

#include "graph/ModGraph.h"

void ModGraphResponse::CalcBandGraph(int b) {
    graph_.CalcBandGraph(b);
}

void ModGraphResponse::CalcXoverGraph(int k) {
    graph_.CalcXoverGraph(k);
}

void ModGraphResponse::RedrawGraph(int g) {
    graph_.RedrawGraph(g);
}
