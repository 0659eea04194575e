#include "startup/MDIFrmMain.h"

#include "bus/Speaker.h"

namespace {
const QString kWarning = QStringLiteral("Advertencia");
const QString kNoPort = QStringLiteral("COM no encontrado, le gustaria continuar en modo DEMO?");
const QString kNoDevice = QStringLiteral("Dispositivos desconectados, le gustaria continuar en modo DEMO?");
} // namespace

MDIFrmMain::MDIFrmMain(AppState& st, Services& sv, Link& link) : st_(st), sv_(sv), link_(link) {
    SerialTimer.Interval = 100;
    SerialTimer.Enabled = false;
    SerialTimer.Tick = [this] { SerialTimer_Timer(); };
    Timer3.Tick = [this] { Timer3_Timer(); };
    File.Caption = QStringLiteral("Archivo");
    Exit.Caption = QStringLiteral("Salir");
    Exit.Click = [this] { Exit_Click(); };
    Connection.Caption = QStringLiteral("Exploracion de nuevos equipos");
    SearchNewID.Caption = QStringLiteral("Buscar nuevo ID");
    SearchNewID.Click = [this] { SearchNewID_Click(); };
}

bool MDIFrmMain::askDemo(const QString& text) {
    return sv_.msg.show(text, kWarning, MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes;
}

void MDIFrmMain::refuse() {
    st_.QuitSilently = true;
    Unload();
}

void MDIFrmMain::MDIForm_Load() {
    loaded_ = false;
    st_.FirstWindowPending = true;
    st_.EditBusy = false;
    st_.CommSettings = QStringLiteral("9600,N,8,1");
    st_.QuitSilently = false;
    FillTables(st_.Tables);
    Timer3.Interval = 1000;
    Timer3.Enabled = true;
    st_.CommSuspended = false;
    st_.PortReady = true;

    if (st_.NetworkMode) {
        link_.OpenCommPort();
        bool demo = false;
        if (!st_.PortOpened) {
            demo = true;
            if (!askDemo(kNoPort)) return refuse();
        } else if (!ScanBus(st_, link_, sv_.clock, scanLabels_)) {
            demo = true;
            if (!askDemo(kNoDevice)) return refuse();
        }
        if (demo) {
            st_.DemoMode = true;
            if (!LoadSpeakersCfgAll(st_, sv_.msg)) return refuse();
        }
    } else {
        link_.OpenCommPort();
        if (!st_.PortOpened) {
            if (!askDemo(kNoPort)) return refuse();
            st_.DemoMode = true;
            if (!LoadSpeakersCfgModel(st_, sv_.msg)) return refuse();
        } else {
            sv_.clock.sleepMs(300);
            if ((st_.ModelMask & 1) == 0 && (st_.ModelMask & 2) != 0) st_.SingleDeviceAddress += 33;
            const int a = st_.SingleDeviceAddress;
            if (!link_.PingDevice(a, CmdPing)) {
                st_.PortOpened = false;
                if (!askDemo(kNoDevice)) return refuse();
                st_.DemoMode = true;
                if (!LoadSpeakersCfgFirst(st_, sv_.msg)) return refuse();
            } else {
                st_.DevTable[static_cast<size_t>(a)].Address = static_cast<int16_t>(a);
                st_.DevTable[static_cast<size_t>(a)].Present = 1;
                st_.FoundLast = 0;
                st_.FoundList[0] = static_cast<int16_t>(a);
            }
        }
    }
    loaded_ = true;
}

void MDIFrmMain::ShowDeviceList() {
    if (deviceList_) deviceList_->ShowDeviceList(QString());
}

void MDIFrmMain::Timer3_Timer() {
    Connection.Enabled = !st_.DemoMode && st_.OpenWindowCount == -1;
    Timer3.Interval = 500;
}

void MDIFrmMain::SerialTimer_Timer() {
    st_.RxTimeout = true;
}

void MDIFrmMain::Exit_Click() {
    Unload();
}

void MDIFrmMain::SearchNewID_Click() {
    if (sv_.msg.show(QStringLiteral("Desea continuar?\r\nTodos los ajustes se perderan"),
                     QStringLiteral("Buscando nuevo ID"), MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::No)
        return;
    MousePointer = 13;
    if (deviceList_) deviceList_->UnloadDeviceList();
    FrmWait wait(st_, link_, deviceList_);
    wait.Form_Load();
    sv_.dialogs.ShowModal(wait);
    MousePointer = 0;
}

void MDIFrmMain::MDIForm_QueryUnload(bool& cancel, int /*unloadMode*/) {
    if (!st_.QuitSilently) {
        if (sv_.msg.show(QStringLiteral("                Esta seguro ? "), QStringLiteral("Salir"),
                         MsgButtons::YesNo, MsgIcon::None) != MsgAnswer::Yes) {
            cancel = true;
            return;
        }
        // Both banks are signed off. The operator has confirmed: a frame that fails (a port that
        // vanished) takes the link's silent failure path, so no message holds the closing up,
        // and the program ends whatever the frames did.
        st_.ReportCommErrors = false;
        link_.SendFrame(0, CmdSignOff);
        link_.SendFrame(33, CmdSignOff);
    }
    link_.CloseCommPort();
}

bool MDIFrmMain::Unload() {
    if (closed_) return true;
    bool cancel = false;
    MDIForm_QueryUnload(cancel, 0);
    if (cancel) return false;
    Timer3.Enabled = false;
    SerialTimer.Enabled = false;
    closed_ = true;
    return true;
}
