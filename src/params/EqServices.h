#pragma once
// What the edit handlers, the setters and the whole-program load need of the response graph, as
// a small interface. The program plugs the real graph code in; tests record the calls.

// The response graph of the current editing window.
class ResponseGraph {
  public:
    virtual ~ResponseGraph() = default;
    // Recomputes band b (0..18) and the sums of its channel, then redraws that channel's graph.
    virtual void CalcBandGraph(int b) = 0;
    // Recomputes and redraws crossover filter k (0..3).
    virtual void CalcXoverGraph(int k) = 0;
    // Redraws graph g (0..2) from the curves last computed.
    virtual void RedrawGraph(int g) = 0;
};

class ModGraph;

// The response graph of the program: the graph module of the current editing window.
class ModGraphResponse : public ResponseGraph {
  public:
    explicit ModGraphResponse(ModGraph& graph) : graph_(graph) {}
    void CalcBandGraph(int b) override;
    void CalcXoverGraph(int k) override;
    void RedrawGraph(int g) override;

  private:
    ModGraph& graph_;
};
