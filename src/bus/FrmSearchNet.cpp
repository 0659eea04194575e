#include "bus/FrmSearchNet.h"

#include "bus/DeviceRead.h"
#include "common/NameCode.h"
#include "common/Numbers.h"
#include "common/ScopedFlags.h"

namespace {
const QString kProgramName = QStringLiteral("Talvenor");
const QString kTitleComm = QStringLiteral("Problema de comunicacion");
constexpr int kGridWidth =
    FrmSearchNet::kColWidth[0] + FrmSearchNet::kColWidth[1] + FrmSearchNet::kColWidth[2];

QString IdText(int a) {
    return QStringLiteral("ID:") + TwoDigits(a % 33);
}
} // namespace

FrmSearchNet::FrmSearchNet(AppState& st, Services& sv, Link& link) : st_(st), sv_(sv), link_(link) {
    Label1.Caption = QStringLiteral("Por favor espere, cargando......");
    Label2.Caption = QStringLiteral("Por favor espere, cargando......");
    Timer1.Tick = [this] { Timer1_Timer(); };
    MSFlexGrid1.DblClick = [this] { OpenOrLinkDevice(); };
    MSFlexGrid1.FixedRows = 0;
    MSFlexGrid2.FixedRows = 0;
}

void FrmSearchNet::refresh() {
    if (Refresh) Refresh();
}

void FrmSearchNet::Form_Load() {
    if (Height != 9255) Height = 9255;
    if (Width != 3405) Width = 3405;

    MSFlexGrid2.setRows(1);
    MSFlexGrid2.setCols(3);
    MSFlexGrid2.setTextMatrix(0, 0, QStringLiteral("ID"));
    MSFlexGrid2.setTextMatrix(0, 1, QStringLiteral("Equipo"));
    MSFlexGrid2.setTextMatrix(0, 2, QStringLiteral("Link"));
    MSFlexGrid2.Width = kGridWidth;

    st_.OpenWindowCount = -1;
    Label1.Visible = true;
    Label2.Visible = false;
    Timer1.Enabled = true;
    Timer1.Interval = 1000;

    // A list loaded afresh starts from empty cells.
    MSFlexGrid1.setRows(0);
    MSFlexGrid1.setCols(3);
    MSFlexGrid1.setRows(std::clamp<int>(st_.FoundLast + 1, 0, kListRows));
    MSFlexGrid1.Width = kGridWidth;
    MSFlexGrid1.Row = 0;
    MSFlexGrid1.Col = 0;
    refresh();

    st_.LinkOn.fill(false);
    MSFlexGrid1.ToolTipText = QStringLiteral("Doble click para editar parámetros / activar funcion link");
}

FrmSearchNet::NameRead FrmSearchNet::ReadName(int a) {
    QString name;
    for (int k = 0; k < 8; ++k) {
        const auto addr = SplitToBytesBE(32 + k);
        const Exchange e = link_.SendFrameEx(a, CmdReadByte, Data8{addr[2], addr[3], 0, 0, 0, 0, 0, 0});
        if (e == Exchange::FailedReported) return NameRead::FailedReported;
        if (e == Exchange::Skipped && st_.DemoMode) break; // the demo name replaces it below
        if (e != Exchange::Done) {
            // The characters read so far are kept; nothing is taken from a reply that did not come.
            st_.DeviceName[static_cast<size_t>(a)] = name;
            return NameRead::Failed;
        }
        const uint8_t c = st_.RxBuf[8];
        name += DecodeNameChar(c < 255 ? c : 0);
    }
    if (st_.DemoMode) name.clear();
    st_.DeviceName[static_cast<size_t>(a)] = name;
    return NameRead::Done;
}

// A device that stopped answering while it was being opened is shown as disconnected, so that
// opening it again offers the reconnection.
void FrmSearchNet::MarkSilent(int row, int a) {
    if (st_.DeviceDisconnected[static_cast<size_t>(a)]) return;
    st_.DeviceDisconnected[static_cast<size_t>(a)] = true;
    if (row >= 0 && row < kListRows) st_.LinkOn[static_cast<size_t>(row)] = false;
    ShowRowDisconnected(row, a);
}

void FrmSearchNet::Timer1_Timer() {
    // A ping that waits with events running holds every other exchange back: the timer stays on
    // and the list fills on a later tick.
    if (link_.Busy()) return;
    Timer1.Enabled = false;
    const int rows = MSFlexGrid1.rows();
    for (int r = 0; r < rows; ++r) {
        const int a = st_.FoundList[static_cast<size_t>(r)];
        if (!ValidBusAddress(a)) continue;
        const auto ai = static_cast<size_t>(a);
        st_.DeviceName[ai].clear();
        st_.DeviceRow[ai] = static_cast<int16_t>(r);
        st_.ModelCode[ai] = a >= 33 ? 2 : 1;

        const NameRead read = ReadName(a);
        if (read == NameRead::FailedReported) return; // the fill ends; Label1 stays shown
        if (st_.DemoMode)
            st_.DeviceName[ai] =
                a < 33 ? QStringLiteral("Kestrino Demo     ") : QStringLiteral("Valdoran Demo     ");

        // A name read that failed without a report shows what was read; the row is listed as
        // connected and the image read runs (it copies nothing unless it is done). A device that
        // does not answer is found out when it is opened.
        MSFlexGrid1.setTextMatrix(r, 0, IdText(a));
        MSFlexGrid1.setTextMatrix(r, 1, st_.DeviceName[ai]);
        MSFlexGrid1.setTextMatrix(r, 2, QStringLiteral("OFF"));
        st_.DeviceDisconnected[ai] = false;

        if (!st_.DemoMode) ReadDeviceImage(link_, st_, a);
        refresh();
        sv_.clock.sleepMs(50);
    }
    Timer1.Enabled = false;
    Label1.Visible = false;
    refresh();
}

void FrmSearchNet::OpenOrLinkDevice() {
    const int row = MSFlexGrid1.Row;
    if (row < 0 || row >= MSFlexGrid1.rows()) return;
    if (MSFlexGrid1.Col != 2) {
        OpenDeviceWindow(row);
        return;
    }
    if (st_.FoundLast < 1) {
        sv_.msg.show(QStringLiteral("Funcion no activa,\r\ncuando esta conectado un solo equipo"),
                     kProgramName, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const auto r = static_cast<size_t>(row);
    MSFlexGrid1.Row = row;
    MSFlexGrid1.Col = 2;
    if (!st_.LinkOn[r]) {
        st_.LinkOn[r] = true;
        MSFlexGrid1.setTextMatrix(row, 2, QStringLiteral("ON"));
        MSFlexGrid1.setCellBackColor(row, 2, RGBValue(255, 0, 0));
    } else {
        st_.LinkOn[r] = false;
        MSFlexGrid1.setTextMatrix(row, 2, QStringLiteral("OFF"));
        MSFlexGrid1.setCellBackColor(row, 2, RGBValue(255, 255, 255));
    }
    refresh();
}

void FrmSearchNet::FreeSlot(int slot) {
    st_.SlotTable[static_cast<size_t>(slot)].InUse = 0;
    --st_.OpenWindowCount;
}

bool FrmSearchNet::OpenDeviceWindow(int row) {
    if (row < 0 || row > st_.FoundLast || row >= kListRows) return false;
    const auto busy = RaiseEditBusy(st_);

    // The row's own bus address: the device table entry of a demo device may sit at another index.
    const int a = st_.FoundList[static_cast<size_t>(row)];
    if (!ValidBusAddress(a)) return false;
    const auto ai = static_cast<size_t>(a);

    if (st_.DeviceDisconnected[ai]) {
        if (sv_.msg.show(QStringLiteral("      Desea conectar el equipo? "),
                         QStringLiteral("Conectar Equipo"), MsgButtons::YesNo,
                         MsgIcon::Question) != MsgAnswer::Yes)
            return false;
        link_.ReopenCommPort();
        Label2.Visible = true;
        refresh();
        link_.PingDevice(a, CmdPing);
        if (!link_.PingDevice(a, CmdPing)) {
            st_.DevTable[ai].Present = 0;
            Label2.Visible = false;
            refresh();
            sv_.msg.show(QStringLiteral("Equipo desconectado"), kTitleComm, MsgButtons::Ok,
                         MsgIcon::Exclamation);
            return false;
        }
        st_.DevTable[ai].Present = 1;
        sv_.clock.sleepMs(50);
        st_.DeviceName[ai].clear();
        st_.DeviceRow[ai] = static_cast<int16_t>(row);
        if (ReadName(a) != NameRead::Done) {
            Label2.Visible = false;
            refresh();
            return false;
        }
        if (st_.DemoMode)
            st_.DeviceName[ai] =
                a < 33 ? QStringLiteral("Kestrino Demo    ") : QStringLiteral("Valdoran Demo     ");
        MSFlexGrid1.setTextMatrix(row, 0, IdText(a) + QStringLiteral(" - ") + st_.DeviceName[ai]);
        // The name cell, which the failure path left at "Disconnected", shows the name again.
        MSFlexGrid1.setTextMatrix(row, 1, st_.DeviceName[ai]);
        st_.DeviceDisconnected[ai] = false;
        if (!st_.DemoMode && !ReadDeviceImage(link_, st_, a)) {
            MarkSilent(row, a);
            Label2.Visible = false;
            refresh();
            return false;
        }
        refresh();
        sv_.clock.sleepMs(50);
    }

    if (!st_.DevicePingOk[ai]) {
        Label2.Visible = true;
        refresh();
        st_.DevicePingOk[ai] = true;
        link_.PingDeviceListed(a, CmdPing);
        if (!st_.DevicePingOk[ai]) {
            Label2.Visible = false;
            refresh();
            return false;
        }
    }

    if (st_.OpenWindowCount + 1 >= kMaxOpenWindows) {
        sv_.msg.show(QStringLiteral("Out of memory: max number of window open is %1").arg(kMaxOpenWindows),
                     QStringLiteral("Out of memory"), MsgButtons::Ok, MsgIcon::Exclamation);
        Label2.Visible = false;
        refresh();
        return false;
    }
    for (const WinSlotRec& s : st_.SlotTable) {
        if (s.InUse != 0 && s.Device == a) {
            sv_.msg.show(QStringLiteral("La ventana esta abierta"), QStringLiteral("Edicion equipo"),
                         MsgButtons::Ok, MsgIcon::Exclamation);
            Label2.Visible = false;
            refresh();
            if (windows_) windows_->RaiseDeviceWindow(a);
            return false;
        }
    }
    int slot = -1;
    for (int s = 0; s < kWindowSlots; ++s) {
        if (st_.SlotTable[static_cast<size_t>(s)].InUse == 0) {
            slot = s;
            break;
        }
    }
    if (slot < 0) return false; // every slot taken: the count check above refuses first
    ++st_.OpenWindowCount;
    st_.SlotTable[static_cast<size_t>(slot)] =
        WinSlotRec{-1, static_cast<int16_t>(a), static_cast<int16_t>(slot)};
    st_.NextSlot = static_cast<int16_t>(slot);

    MousePointer = 13;
    Label2.Visible = true;
    refresh();
    const bool read = ReadDeviceInfo(link_, st_, a);
    MousePointer = 0;
    if (!read) {
        // The device went silent: no window for half-read records.
        FreeSlot(slot);
        MarkSilent(row, a);
        Label2.Visible = false;
        refresh();
        return false;
    }
    const bool shown = windows_ && windows_->ShowEditingWindow(slot);
    if (!shown) FreeSlot(slot);
    // The window's load hides the notice; it is hidden here as well when no window came up.
    Label2.Visible = false;
    refresh();
    return shown;
}

void FrmSearchNet::QueryUnloadForRescan(bool& cancel) {
    // The rescan closes the list: the list agrees only while SearchingNewId is set.
    const ScopedValue<bool> searching(st_.SearchingNewId, true);
    Form_QueryUnload(cancel);
}

void FrmSearchNet::Form_QueryUnload(bool& cancel) {
    if (!st_.SearchingNewId) cancel = true;
}

void FrmSearchNet::ShowDeviceList(const QString& caption) {
    UnloadDeviceList();
    Form_Load();
    if (!caption.isEmpty()) Caption = caption;
    sv_.dialogs.ShowModeless(*this);
}

void FrmSearchNet::UnloadDeviceList() {
    if (!IsShown()) return;
    bool cancel = false;
    QueryUnloadForRescan(cancel);
    if (cancel) return;
    Timer1.Enabled = false;
    Refresh = nullptr;
    Unload();
}

void FrmSearchNet::ShowRowDisconnected(int row, int busAddress) {
    if (row < 0 || row >= MSFlexGrid1.rows()) return;
    MSFlexGrid1.setTextMatrix(row, 0, TwoDigits(busAddress % 33));
    MSFlexGrid1.setTextMatrix(row, 1, QStringLiteral("Disconnected"));
    MSFlexGrid1.setTextMatrix(row, 2, QStringLiteral("OFF"));
    if (row < kListRows) st_.LinkOn[static_cast<size_t>(row)] = false;
    MSFlexGrid1.Row = row;
    MSFlexGrid1.Col = 2;
    MSFlexGrid1.setCellBackColor(row, 2, RGBValue(255, 255, 255));
    refresh();
}

void FrmSearchNet::ShowRenamedRow(int busAddress) {
    const int row = st_.ListedRow(busAddress);
    if (row < 0 || row >= MSFlexGrid1.rows()) return;
    MSFlexGrid1.setTextMatrix(row, 0, TwoDigits(busAddress % 33));
    MSFlexGrid1.setTextMatrix(row, 1, st_.DeviceName[static_cast<size_t>(busAddress)]);
    MSFlexGrid1.setTextMatrix(row, 2, QStringLiteral("OFF"));
    st_.LinkOn[static_cast<size_t>(row)] = false;
    MSFlexGrid1.Row = row;
    MSFlexGrid1.Col = 2;
    MSFlexGrid1.setCellBackColor(row, 2, RGBValue(255, 255, 255));
    refresh();
}

void FrmSearchNet::CloseDeviceWindow(int busAddress) {
    if (windows_) windows_->CloseDeviceWindow(busAddress);
}
