// The editing window's top bar: program files and output presets on the PC, the device's
// memories, the copy to other devices, the factory preset list, the system type, the speaker
// library download, the About box, the rename, the channel section selector and the unit lock.
//
// Each button holds EditBusy for its run, also while the modal dialog it opens is shown, so the
// meter poll keeps off the line until the dialog has closed. Unlike the switches, the buttons do
// not look at SuppressEvents.
#include "bus/FrmNameDevice.h"
#include "params/Setters.h"
#include "startup/FrmVersion.h"
#include "window/FrmCtrl.h"
#include "window/FrmVm.h"
#include "window/WindowContext.h"

namespace {
constexpr int kArrowHourglass = 13;
constexpr int kNoSpeakerFile = 255;
constexpr int kFramesPerSpeakerSlot = 44; // a 176-byte slot in frames of four bytes
constexpr int kMaxSpeakerRecords = 16;
constexpr int kWaitBoxPlace = 100; // twips from the main window's corner
} // namespace

void FrmCtrl::bindUtilitiesBar() {
    for (int i = 0; i < static_cast<int>(Command2.size()); ++i)
        Command2[static_cast<size_t>(i)].Click = [this, i] { Command2_Click(i); };
    Command11.Click = [this] { Command11_Click(); };
    for (int i = 0; i < kChannels; ++i)
        Command15[static_cast<size_t>(i)].Click = [this, i] { Command15_Click(i); };
    for (int i = 0; i < 2; ++i)
        Command16[static_cast<size_t>(i)].Click = [this, i] { Command16_Click(i); };
    Command17.Click = [this] { Command17_Click(); };
    Command18.Click = [this] { Command18_Click(); };
    Command19.Click = [this] { Command19_Click(); };
    Check10.Click = [this] { Check10_Click(); };
}

void FrmCtrl::Command2_Click(int index) {
    barFrame([&] {
        ProgramActions& a = *cx_->actions;
        switch (index) {
        case 0:
            a.OpenProgramFile();
            break;
        case 1:
            a.SaveProgramFile();
            break;
        case 2:
            a.ShowDeleteProg();
            break;
        case 6:
            showNameDevice();
            break;
        case 8: {
            FrmVersion version(st_);
            version.Form_Load();
            cx_->dialogs.ShowModal(version);
            break;
        }
        case 9:
            a.ShowStore();
            break;
        case 11:
            a.ShowRead();
            break;
        default: // 5 "Unconnect device", 10 "Store Project" and the indices with no button
            break;
        }
    });
}

void FrmCtrl::showNameDevice() {
    FrmNameDevice rename(st_, cx_->link, cx_->msg, cx_->deviceList);
    rename.Form_Load();
    cx_->dialogs.ShowModal(rename);
}

void FrmCtrl::Command11_Click() {
    barFrame([&] {
        if (st_.DemoMode) {
            cx_->msg.show(QStringLiteral("Funcion no permitida en modo demo"), QString(), MsgButtons::Ok,
                          MsgIcon::Information);
            return;
        }
        st_.CopySource = static_cast<int16_t>(st_.CurDevice());
        cx_->actions->ShowCopy();
    });
}

void FrmCtrl::Command15_Click(int section) {
    if (section < 0 || section >= kChannels) return;
    barFrame([&] {
        const int dev = st_.CurDevice();
        if (!ValidBusAddress(dev)) return;
        int16_t& selected = st_.SelectedSection[static_cast<size_t>(dev)];
        if (selected == section) return;
        selected = static_cast<int16_t>(section);
        FrontSection = section;
        cx_->graph.RedrawGraph(section);
    });
}

void FrmCtrl::Command16_Click(int index) {
    barFrame([&] {
        if (index == 0)
            cx_->actions->SaveOutputPresetFile();
        else if (index == 1)
            cx_->actions->OpenOutputPresetFile();
    });
}

void FrmCtrl::Command17_Click() {
    barFrame([&] { cx_->actions->ShowStorePrj(); });
}

void FrmCtrl::Command18_Click() {
    barFrame([&] { cx_->actions->ShowType(); });
}

void FrmCtrl::Command19_Click() {
    barFrame([&] {
        const int records = cx_->actions->OpenSpeakerLibFile();
        cx_->clock.sleepMs(100);
        if (records == kNoSpeakerFile) return;
        if (records == 0) {
            cx_->msg.show(QStringLiteral("File incorrecto"), QStringLiteral("Firmware Librerias"),
                          MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        }
        if (records < 1 || records > kMaxSpeakerRecords) return;

        FrmVm wait;
        wait.Left = kWaitBoxPlace;
        wait.Top = kWaitBoxPlace;
        wait.ProgressBar1.Visible = true;
        wait.ProgressBar1.Min = 0;
        wait.ProgressBar1.Max = kFramesPerSpeakerSlot * records + 1;
        wait.ProgressBar1.setValue(0);
        cx_->dialogs.ShowModeless(wait);
        setPointers(kArrowHourglass);
        cx_->actions->DownloadSpeakerLib(wait.ProgressBar1);
        wait.Unload();
        setPointers(0);
    });
}

void FrmCtrl::setPointers(int pointer) {
    MousePointer = pointer;
    if (cx_->mainMousePointer) *cx_->mainMousePointer = pointer;
    if (cx_->refreshWindows) cx_->refreshWindows();
}

void FrmCtrl::Check10_Click() {
    switchFrame(true, [&] {
        const int dev = st_.CurDevice();
        if (!ValidBusAddress(dev)) return;
        DeviceRec& rec = st_.DevRecs[static_cast<size_t>(dev)];
        uint8_t& imageLock = st_.DevProgs[static_cast<size_t>(dev)].Ext[23];
        const double recordBefore = rec.UnitLock;
        const uint8_t imageBefore = imageLock;
        const uint8_t lock = Check10.value() == 1 ? 1 : 0;
        rec.UnitLock = lock;
        imageLock = lock;
        const Exchange sent = cx_->link.SendFrameEx(dev, CmdWriteByte, Data8{0, 23, 0, 0, lock, 0, 0, 0});
        if (sent == Exchange::Failed || sent == Exchange::FailedReported) {
            // The device never got the lock: record, image and box keep what the device holds.
            rec.UnitLock = recordBefore;
            imageLock = imageBefore;
            const auto quiet = RaiseSuppressEvents(st_);
            Check10.setValue(recordBefore == 1.0 ? 1 : 0);
            return;
        }
        ApplyLockState(*cx_);
    });
}
