#include "startup/FrmVersion.h"

FrmVersion::FrmVersion(const AppState& st) : st_(st) {
    Label1[0].Caption = QStringLiteral("Software Version:");
    Label1[1].Caption = QStringLiteral("Firmware Version:");
    Command1.Caption = QStringLiteral("OK");
    Command1.Click = [this] { Command1_Click(); };
}

void FrmVersion::Form_Load() {
    Label2.Caption = st_.SoftwareVersion;
    const int slot = st_.CurSlot;
    const int dev = slot >= 0 && slot < kWindowSlots ? st_.SlotTable[static_cast<size_t>(slot)].Device : -1;
    if (!ValidBusAddress(dev)) {
        Label3.Caption.clear();
        Label4.Caption.clear();
        return;
    }
    Label3.Caption = st_.FirmwareVersion[static_cast<size_t>(dev)];
    Label4.Caption = st_.ModelCode[static_cast<size_t>(dev)] == 1 ? QStringLiteral("Kestrino")
                                                                  : QStringLiteral("Valdoran");
}

void FrmVersion::Command1_Click() {
    Unloaded = true;
    Unload();
}
