#pragma once
// View of a device's editing window: the top bar, the three channel sections stacked in one
// place (only the front one is shown) and in each the graph with its view options, the equaliser
// bands, the gain and delay boxes and the channel's own panels. Every widget shows one control of
// the window's control state and passes the operator's events to that control's procedure.
#include "platform/ui/BoundControls.h"
#include "window/FrmCtrl.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QGroupBox;

class FrmCtrlView : public QWidget {
    Q_OBJECT
  public:
    explicit FrmCtrlView(FrmCtrl& frm, QWidget* parent = nullptr);

    FrmCtrl& form() const { return frm_; }
    // Shows the control state again.
    void sync();
    // One tick of the meter poll: runs the window's own Timer1 element and shows what it changed.
    // A tick that only read the levels shows the meters and lamps, nothing else; one whose
    // exchange failed (the window may have closed) shows every window again.
    void pollTick();
    // Run after each event the view passed to the window; shows the state again when left empty.
    std::function<void()> AfterEvent;

    static constexpr int kClientWidth = 978;  // 14670 twips
    static constexpr int kClientHeight = 675; // 10125 twips

  private:
    void afterEvent();
    void buildTopBar();
    void buildSection(int ch);
    void buildGraph(int g, QWidget* parent);
    void buildEqualiser(int ch, QWidget* parent);
    void buildGainDelay(int ch, QWidget* parent);
    void buildInputPanels(QWidget* parent);
    // The design's inert controls: laid out, bound to no procedure.
    void buildInertPanels(QWidget* parent, const QRect& r);
    void buildOutputPanels(int ch, QWidget* parent);
    void buildCrossover(int k, QWidget* parent, const QRect& r);
    void buildMeter(int m, QWidget* parent, const QRect& r);
    // Repaints the meter LEDs and lamps whose colour changed, and keeps the poll timer's pace.
    void showMeters();

    FrmCtrl& frm_;
    std::array<QGroupBox*, kChannels> sections_{};
    ControlBinder bind_;
    QTimer pollTimer_{this}; // runs the window's own Timer1 element: the meter poll
    // The LEDs and lamps the poll colours, with the colour each widget was last painted in.
    struct Lamp {
        QWidget* w;
        const Shape* s;
        ColorValue shown;
    };
    std::vector<Lamp> lamps_;
};
