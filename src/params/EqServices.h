#pragma once
// What the equaliser procedures and the whole-program load need of the response graph and of
// the linked-device routines, as two small interfaces. The program plugs the real graph code and
// link routines in; tests record the calls.

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

// The routines that repeat an edit of the current device on every other linked device. The base
// repeats nothing; the linked-device code overrides what it serves.
class LinkedRoutines {
  public:
    virtual ~LinkedRoutines() = default;
    // Repeats input band b (0..4) on the linked devices.
    virtual void LinkEqBand(int b) { (void)b; }
    // Repeats the delay unit on the linked devices.
    virtual void LinkDelayUnit() {}
    // Repeats the gain of channel ch (0..2) on the linked devices.
    virtual void LinkGain(int ch) { (void)ch; }
    // Repeats the mute of channel ch (0..2) on the linked devices.
    virtual void LinkMute(int ch) { (void)ch; }
    // Repeats the dynamic loudness switch on the linked devices.
    virtual void LinkDynLoudness() {}
};
