#include "memories/FrmCopy.h"
#include "common/Index.h"

#include "common/ScopedFlags.h"

namespace {
constexpr int kCopy = 0, kExit = 1, kClear = 2;
constexpr int kFramesPerRow = 18; // the bar's share of each selected row; a full copy sends 17
const QString kTitle = QStringLiteral("Copy Data");

// Program image bytes that mirror device addresses 16 (temperature), 18 (delay unit) and 21
// (temperature unit).
constexpr int kTempMirror = ProgRecord::kExtStart + 16;
constexpr int kDelayUnitMirror = ProgRecord::kExtStart + 18;
constexpr int kTempUnitMirror = ProgRecord::kExtStart + 21;

// A device of the source's model: IDs 1..32 for the first, 34..65 for the second.
bool SameModel(int source, int d) {
    return source < 33 ? d >= 1 && d <= 32 : d >= 34 && d <= 65;
}

QString RowText(const AppState& st, int d) {
    return st.DeviceName[U(d)] + QStringLiteral("  ID:") + QString::number(d % 33);
}
} // namespace

FrmCopy::FrmCopy(AppState& st, Link& link, MessageBoxService& msg, CopyTargetWindows& windows)
    : st_(st), link_(link), msg_(msg), windows_(windows) {
    Label1[0].Caption = QStringLiteral("Source program data from device:");
    Label1[2].Caption = QStringLiteral("Connected devices");
    List1.MultiSelect = true;
    Command2[kCopy].Caption = QStringLiteral("Copy program data to selected devices");
    Command2[kExit].Caption = QStringLiteral("Exit");
    Command2[kClear].Caption = QStringLiteral("Clear");
    for (int i = 0; i < 3; ++i)
        Command2[U(i)].Click = [this, i] { Command2_Click(i); };
    ProgressBar1.Visible = false;
}

void FrmCopy::Form_Load() {
    ProgressBar1.Visible = false;
    const int source = st_.CopySource;
    Label2.Caption = ValidBusAddress(source) ? RowText(st_, source) : QString();
    refresh();
    List1.clear();
    LastRow = -1;
    if (!ValidBusAddress(source)) return;
    // The device list's own rows, each device once: entries past the last row are left from an
    // earlier scan and no longer stand for a present device.
    std::array<bool, kBusAddresses> listed{};
    for (int row = 0; row <= st_.FoundLast && row < kListRows; ++row) {
        const int d = st_.FoundList[U(row)];
        if (!ValidBusAddress(d) || listed[U(d)]) continue;
        listed[U(d)] = true;
        if (d % 33 == 0 || d == source || !SameModel(source, d) || st_.DeviceDisconnected[U(d)]) continue;
        List1.items.append(RowText(st_, d));
        ++LastRow;
        RowDevice[U(LastRow)] = static_cast<int16_t>(d);
    }
}

bool FrmCopy::anySelected() const {
    return selectedCount() > 0;
}

int FrmCopy::selectedCount() const {
    int n = 0;
    for (int r = 0; r <= LastRow; ++r)
        n += List1.selected(r);
    return n;
}

void FrmCopy::Command2_Click(int index) {
    // The pings of a copy let events through: no button acts until the copy has ended.
    if (copying_) return;
    switch (index) {
    case kCopy:
        copySelected();
        break;
    case kExit:
        Unload();
        break;
    case kClear:
        if (msg_.show(QStringLiteral("Reset all selected devices, are you sure ? "), kTitle,
                      MsgButtons::YesNo, MsgIcon::None) != MsgAnswer::Yes)
            return;
        for (int r = 0; r <= LastRow; ++r)
            List1.setSelected(r, false);
        break;
    default:
        break;
    }
}

void FrmCopy::Form_QueryUnload(bool& cancel) {
    if (copying_) cancel = true;
}

void FrmCopy::copySelected() {
    if (!anySelected()) {
        msg_.show(QStringLiteral("there are not selected devices"), QStringLiteral("Warning"), MsgButtons::Ok,
                  MsgIcon::Exclamation);
        return;
    }
    const QString question = QStringLiteral("Copy program data to selected device(s), are you sure?");
    const bool othersOpen = st_.OpenWindowCount > 0;
    const QString text =
        othersOpen ? QStringLiteral("All destination ID windows which are open will be closed\r\n") + question
                   : question;
    if (msg_.show(text, kTitle, MsgButtons::YesNo, MsgIcon::None) != MsgAnswer::Yes) return;

    copying_ = true;
    for (CommandButton& b : Command2)
        b.Enabled = false;
    // A destination's window would show a program that no longer is the device's.
    if (othersOpen)
        for (int r = 0; r <= LastRow; ++r) {
            const int d = RowDevice[U(r)];
            if (List1.selected(r) && st_.DeviceWindowOpen[U(d)]) windows_.CloseForCopy(d);
        }
    ProgressBar1.Visible = true;
    ProgressBar1.setValue(0);
    ProgressBar1.Max = kFramesPerRow * selectedCount();
    MousePointer = 13;
    refresh();
    CopyProgramToSelected();
    MousePointer = 0;
    ProgressBar1.Visible = false;
    for (CommandButton& b : Command2)
        b.Enabled = true;
    copying_ = false;
    refresh();
    Unload();
}

void FrmCopy::CopyProgramToSelected() {
    for (int r = 0; r <= LastRow; ++r) {
        if (!List1.selected(r)) continue;
        const int d = RowDevice[U(r)];
        // The second ping decides: the first may only wake the line.
        link_.PingDevice(d, CmdPing);
        if (link_.PingDevice(d, CmdPing)) {
            UpgCursorNewPreset(d);
        } else {
            msg_.show(QStringLiteral("Device with ID=") + QString::number(d % 33) +
                          QStringLiteral(" Disconnected"),
                      QStringLiteral("Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        }
    }
}

bool FrmCopy::send(int d, uint8_t cmd, const Data8& data) {
    if (link_.SendFrameEx(d, cmd, data) != Exchange::Done) return false;
    ProgressBar1.setValue(ProgressBar1.value() + 1);
    refresh();
    return true;
}

void FrmCopy::UpgCursorNewPreset(int d) {
    const int s = st_.CopySource;
    if (!ValidBusAddress(s) || !ValidBusAddress(d) || s == d) return;
    ProgRecord& img = st_.DevProgs[U(d)];
    const ProgRecord& src = st_.DevProgs[U(s)];
    DeviceRec& rec = st_.DevRecs[U(d)];
    // The input section, its equaliser bypass and the delay unit; the temperature of the record.
    img.CopyBytes(src, 0, 31);
    img.CopyBytes(src, 42, 42);
    img.CopyBytes(src, kDelayUnitMirror, kDelayUnitMirror);
    rec.TempSlider = st_.DevRecs[U(s)].TempSlider;
    rec.TempUnit = st_.DevRecs[U(s)].TempUnit;
    img.SetByte(kTempMirror, static_cast<uint8_t>(rec.TempSlider));
    img.SetByte(kTempUnitMirror, static_cast<uint8_t>(rec.TempUnit));

    const ConstantTables& t = st_.Tables;
    auto b = [&img](int i) { return img.Byte(i); };
    const int gain = t.GainBase[0], delay = t.DelayBase[0], mask = t.BandMaskAddr[0];
    // Both outputs off while the settings change, on again afterwards.
    if (!send(d, CmdSetOutputFlag, Data8{1, 0, 0, 0, 0, 0, 0, 0})) return;
    if (!send(d, CmdSetOutputFlag, Data8{2, 0, 0, 0, 0, 0, 0, 0})) return;
    if (!send(d, CmdSetTemperature, Data8{0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(rec.TempSlider)})) return;
    for (const int mirror : {kDelayUnitMirror, kTempMirror, kTempUnitMirror})
        if (!send(d, CmdWriteByte,
                  Data8{0, static_cast<uint8_t>(mirror - ProgRecord::kExtStart), 0, 0, b(mirror), 0, 0, 0}))
            return;
    if (!send(d, CmdSetDelay, Data8{0, 0, 0, 0, 0, b(delay), b(delay + 1), b(delay + 2)})) return;
    if (!send(d, CmdSetGain, Data8{0, 0, 0, 0, 0, 0, b(gain), b(gain + 1)})) return;
    for (int band = 0; band < 5; ++band) {
        const int base = t.BandBase[U(band)];
        if (!send(d, CmdSetEqBand,
                  Data8{0, static_cast<uint8_t>(band), b(mask), b(base), b(base + 1), b(base + 2),
                        b(base + 3), b(base + 4)}))
            return;
    }
    if (!send(d, CmdSetEqBypass, Data8{0, 0, 0, 0, 0, 0, 0, b(t.EqBypassAddr[0])})) return;
    if (!send(d, CmdSetLoudness, Data8{0, 0, 0, 0, 0, 0, 0, b(t.DlfAddr)})) return;
    if (!send(d, CmdSetOutputFlag, Data8{1, 0, 0, 0, 0, 0, 0, 1})) return;
    send(d, CmdSetOutputFlag, Data8{2, 0, 0, 0, 0, 0, 0, 1});
}
