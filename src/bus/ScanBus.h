#pragma once
// The bus scans: ScanBus at start-up (the chosen models, the chain IDs or IDs 1..32) and the
// rescan of the wait window (IDs 1..32 of both models). A device is present when the second of
// two pings to its bus address is answered.
#include "bus/DeviceListHost.h"
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <functional>

// The progress labels the start-up scan writes: the percentage and the model name. They belong
// to the window on screen during the scan; any of them may be left out.
struct ScanLabels {
    Label* Label2 = nullptr; // percentage
    Label* Label3 = nullptr; // model name
    std::function<void()> Refresh;
};

// Progress text of entry i of a list whose last entry is `divisor`: one decimal, cut (not
// rounded), the locale's decimal sign: 1 of 32 gives "3.1", 32 of 32 "100".
QString ScanPercentText(int i, int divisor, int32_t decimalComma);

// Scans the models of ModelMask over the probe list of the chosen mode; true when at least one
// device answered. Fills DevTable, FoundList and FoundLast and marks every address disconnected
// first. A chain entry whose bus address would leave 0..65 is skipped.
bool ScanBus(AppState& st, Link& link, Clock& clock, ScanLabels labels = {});

// "Buscando nuevo ID": the modal wait window that runs the rescan once from its timer and then
// shows the device list again.
class FrmWait : public DialogWindow {
  public:
    FrmWait(AppState& st, Link& link, DeviceListHost* deviceList);

    Label Label1; // "Buscando nuevo ID"
    Label Label3; // "Por favor espere........."
    Label Label2; // progress: model and percentage
    Timer Timer1;

    void Form_Load();
    void Timer1_Timer();

    std::function<void()> Refresh; // repaints the progress label at once
    bool closed() const { return closed_; }

  private:
    AppState& st_;
    Link& link_;
    DeviceListHost* deviceList_;
    bool closed_ = false;
};
