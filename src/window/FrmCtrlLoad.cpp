// The editing window's lifecycle: load, resize, activation and close.
#include "bus/DeviceRead.h"
#include "common/Index.h"
#include "common/ScopedFlags.h"
#include "params/ProgramLoad.h"
#include "window/FrmCtrl.h"
#include "window/WindowContext.h"

namespace {
constexpr int kDesignWidth = 14670;
constexpr int kDesignHeight = 10125;
constexpr int kMinimised = 1;
constexpr int kMeterTimerMs = 500; // first meter poll after the window opens
} // namespace

bool FrmCtrl::Form_Load() {
    if (!cx_) return false;
    const WinSlotRec& rec = st_.SlotTable[U(slot_)];
    const int dev = rec.Device;
    // Only a slot that the device list bound to a real device is loaded.
    if (rec.InUse == 0 || !ValidBusAddress(dev)) return false;
    const auto d = U(dev);

    // A window object loaded again starts from the design values.
    if (everLoaded_) resetControls();
    everLoaded_ = true;
    // No marker press of an earlier window (one whose release never came) carries over.
    clearMarkerDrags();

    LoadCorrectWindow();
    st_.ReportCommErrors = true;
    st_.EditBusy = false;
    Height = kDesignHeight;
    Width = kDesignWidth;
    WindowState = 0;
    st_.SelectedSection[d] = 0;
    FrontSection = 0;

    {
        // The controls take the device's program with nothing sent and no curve drawn.
        const auto noDrawing = RaiseDrawSuspended(st_);
        const auto noSending = RaiseCommSuspended(st_);
        st_.DeviceWindowOpen[d] = true;
        st_.DeviceSlot[d] = static_cast<int16_t>(slot_);
        loaded_ = true;
        LoadProgramToWindow(*cx_);
    }
    // Graph view options: the captions and options that fit each graph's view.
    for (int g = 0; g < kGraphs; ++g)
        LoadLabelGraph(g);

    // The lock box from the image: when that changes the box, its click sends the lock byte.
    Check10.setValue(st_.DevProgs[d].Ext[23] == 1 ? 1 : 0);
    if (!loaded_) {
        // The lock byte's exchange failed and the link closed this window (and freed its slot):
        // nothing more to show.
        st_.FirstWindowPending = false;
        return true;
    }
    LoadCorrectWindow();
    ApplyLockState(*cx_);
    st_.FirstWindowPending = false;
    st_.CommSuspended = false;

    const int model = st_.ModelCode[d];
    const QString modelCaption = model >= 0 && model < static_cast<int>(st_.Tables.ModelCaption.size())
                                     ? st_.Tables.ModelCaption[U(model)]
                                     : QString();
    Caption = QStringLiteral("ID:") + QString::number(dev % 33) + QStringLiteral(" - ") + modelCaption +
              QStringLiteral(" - Ultimo programa cargado: en equipo: P") +
              FormatProgNumber(st_.LastProgNumber) + QStringLiteral(" - ") + st_.DevRecs[d].CurProgName;

    if (!st_.ServiceMode) {
        for (CommandButton* b :
             {&Command15[0], &Command15[1], &Command15[2], &Command16[0], &Command16[1], &Command17})
            b->Visible = false;
    }
    if (model == 2) {
        // The second model has no second output.
        Command15[2].Visible = false;
        MeterFrame[3].Visible = false;
        Label1[26].Visible = false;
        Command4[2].Visible = false;
        Check4[0].Visible = false;
        Label10[2].Visible = false;
        Label10[3].Visible = false;
    }

    // Level meters: the input and both outputs start at level 0, painted dark.
    for (int m : {0, 2, 3})
        st_.MeterLevel[d][U(m)] = 0;
    PaintMeterSevenLeds(0);
    PaintMeterSixLeds(2);
    PaintMeterSixLeds(3);

    Timer1[U(slot_)].Interval = kMeterTimerMs;
    Timer1[U(slot_)].Enabled = true;
    st_.ExchangeIdle = true;
    for (int g = 0; g < kGraphs; ++g)
        cx_->graph.RedrawGraph(g);
    return true;
}

void FrmCtrl::Form_Resize() {
    LoadCorrectWindow();
    if (WindowState == kMinimised) return;
    if (Width != kDesignWidth) Width = kDesignWidth;
    if (Height != kDesignHeight) Height = kDesignHeight;
}

void FrmCtrl::Form_Activate() {
    LoadCorrectWindow();
}

void FrmCtrl::Form_QueryUnload(bool& cancel, int /*unloadMode*/) {
    LoadCorrectWindow();
    const int dev = st_.SlotTable[U(slot_)].Device;
    const bool known = ValidBusAddress(dev);
    // The copy dialog closes its target devices' windows, and the link closes the window of a
    // device that stopped answering: neither asks. Only the copy's target closes unasked.
    const bool copyTarget = st_.CloseForCopy && st_.CloseForCopyDevice == dev;
    if (!copyTarget && !closeSilently_ && known && !st_.DeviceDisconnected[U(dev)]) {
        const bool wasLoaded = loaded_;
        MsgAnswer a = MsgAnswer::Yes;
        if (cx_) {
            // The box lets the timers run; the meter poll starts no exchange meanwhile.
            const ScopedValue<bool> asking(closeAsking_, true);
            a = cx_->msg.show(QStringLiteral("                 Esta seguro ? "),
                              QStringLiteral("ID:") + QString::number(dev % 33) +
                                  QStringLiteral(" - Cerrar ventana"),
                              MsgButtons::YesNo, MsgIcon::None);
        }
        // Closed meanwhile all the same (the link's failure path): it was counted and freed then,
        // whatever the answer.
        if (wasLoaded && !loaded_) return;
        if (a != MsgAnswer::Yes) {
            cancel = true;
            return;
        }
    }
    --st_.OpenWindowCount;
    if (known) st_.DeviceWindowOpen[U(dev)] = false;
    st_.SlotTable[U(slot_)].InUse = 0;
}

bool FrmCtrl::Unload() {
    if (!loaded_) return true;
    bool cancel = false;
    Form_QueryUnload(cancel, 0);
    if (cancel) return false;
    loaded_ = false;
    // A press whose release never came (the window closed mid-drag) ends with the window.
    clearMarkerDrags();
    Visible = false;
    Timer1[U(slot_)].Enabled = false;
    return true;
}

void FrmCtrl::CloseSilently() {
    closeSilently_ = true;
    Unload();
    closeSilently_ = false;
}
