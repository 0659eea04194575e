#include "bus/FrmNameDevice.h"

#include "bus/DeviceListHost.h"
#include "common/NameCode.h"

namespace {
constexpr int kNameLength = 8;
constexpr int kPaddedLength = 16;
constexpr int kNameAddress = 32;
constexpr int kKeyBackspace = 8, kKeyEnter = 13, kKeyBlank = 32;

bool AllowedNameKey(int key) {
    if (key == kKeyBackspace || key == kKeyEnter || key == kKeyBlank) return true;
    if ((key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z') || (key >= '0' && key <= '9')) return true;
    for (char c : {'-', '_', '/', '*', '&', '+', '"', '.', ','})
        if (key == c) return true;
    return false;
}
} // namespace

FrmNameDevice::FrmNameDevice(AppState& st, Link& link, MessageBoxService& msg, DeviceListHost* deviceList)
    : st_(st), link_(link), msg_(msg), deviceList_(deviceList) {
    Label1.Caption = QStringLiteral("Editar nombre equipo");
    Command1[0].Caption = QStringLiteral("Confirmar");
    Command1[1].Caption = QStringLiteral("Cancelar");
    Text1.KeyPress = [this](int& key) { Text1_KeyPress(key); };
    for (int i = 0; i < 2; ++i)
        Command1[static_cast<size_t>(i)].Click = [this, i] { Command1_Click(i); };
}

void FrmNameDevice::Form_Load() {
    const int slot = st_.CurSlot;
    dev_ = slot >= 0 && slot < kWindowSlots ? st_.SlotTable[static_cast<size_t>(slot)].Device : -1;
    Text1.Text = ValidBusAddress(dev_) ? st_.DeviceName[static_cast<size_t>(dev_)].trimmed() : QString();
}

void FrmNameDevice::Text1_KeyPress(int& key) {
    if (AllowedNameKey(key)) return;
    st_.BadCharMessage = QStringLiteral("Simbolo ") + KeyChar(key) + QStringLiteral(" no permitido");
    msg_.show(st_.BadCharMessage + QStringLiteral("\r\n\r\n") + st_.Tables.NameHelpTitle +
                  QStringLiteral("\r\n") + st_.Tables.NameHelpChars,
              Caption, MsgButtons::Ok, MsgIcon::Information);
    key = kKeyBlank;
}

void FrmNameDevice::PadDeviceName(const QString& name) {
    // Counted and taken by characters: one outside the basic plane is one character, never two
    // halves. A character outside the device's set gets the blank's code.
    QList<uint> padded = name.toUcs4();
    while (padded.size() < kPaddedLength)
        padded.push_back(' ');
    PaddedName.clear();
    for (int k = 0; k < kNameLength; ++k) {
        const auto c = static_cast<char32_t>(padded.at(k));
        PaddedName += QString::fromUcs4(&c, 1);
        NameCodes[static_cast<size_t>(k)] =
            static_cast<uint8_t>(EncodeNameChar(QString::number(padded.at(k))));
    }
}

void FrmNameDevice::Command1_Click(int index) {
    if (index == 0)
        confirm();
    else if (index == 1)
        Unload();
}

bool FrmNameDevice::answered(uint8_t cmd, const Data8& d) {
    const Exchange e = link_.SendFrameEx(dev_, cmd, d);
    return e == Exchange::Done || (e == Exchange::Skipped && st_.DemoMode);
}

void FrmNameDevice::confirm() {
    if (!ValidBusAddress(dev_)) {
        Unload();
        return;
    }
    MousePointer = 13;
    Text1.Text = Text1.Text.trimmed();
    if (Refresh) Refresh();
    const int length = static_cast<int>(Text1.Text.toUcs4().size()); // in characters
    PadDeviceName(Text1.Text);

    // The name and the list row change only once the device holds the new name: a device that
    // stops answering keeps the name it has. Its window has then been closed by the link, and the
    // dialog closes too.
    bool done = true;
    for (int k = 0; k < kNameLength && done; ++k) {
        const int address = kNameAddress + k;
        const uint8_t code = k < length ? NameCodes[static_cast<size_t>(k)] : uint8_t{0xFF};
        done = answered(CmdWriteByte, Data8{static_cast<uint8_t>(address >> 8),
                                            static_cast<uint8_t>(address & 0xFF), 0, 0, code, 0, 0, 0});
    }
    if (done) done = answered(CmdCommitName, Data8{});
    if (done) {
        st_.DeviceName[static_cast<size_t>(dev_)] = PaddedName;
        if (deviceList_) deviceList_->ShowRenamedRow(dev_);
    }
    MousePointer = 0;
    Unload();
}
