#include "memories/FrmType.h"

#include "common/NameCode.h"
#include "memories/SpeakerList.h"

namespace {
constexpr int kLoad = 0, kCancel = 1;
constexpr int kFirstOutputByte = 48; // image bytes 48..207 are the two output sections
constexpr int kReads = kSpeakerSlotDataBytes / 8;
constexpr int kWrites = kSpeakerSlotDataBytes / 4;
// The bar's range; a load takes 60 of its steps (20 reads and 40 writes).
constexpr int kProgressMax = 75;
const QString kTitle = QStringLiteral("Leer tipo sistema");

Data8 AddressData(int a) {
    const auto [hi, lo] = AddressBytes(a);
    return Data8{hi, lo, 0, 0, 0, 0, 0, 0};
}
} // namespace

FrmType::FrmType(MemoryContext c) : c_(c) {
    Label1[0].Caption = QStringLiteral("Ultimo tipo cargado en equipo:");
    Label1[1].Caption = QStringLiteral("Tipo sistema disponible:");
    Command1[kLoad].Caption = QStringLiteral("Leer");
    Command1[kCancel].Caption = QStringLiteral("Cancelar");
    for (int i = 0; i < 2; ++i)
        Command1[static_cast<size_t>(i)].Click = [this, i] { Command1_Click(i); };
    ProgressBar1.Visible = false;
}

bool FrmType::slotUsed(int s) const {
    return s >= 0 && s < kSpeakerSlots &&
           c_.st.PresetStatus[static_cast<size_t>(c_.dev)][static_cast<size_t>(s)] == SpkRec::kUsed;
}

void FrmType::Form_Load() {
    const auto& names = c_.st.PresetName[static_cast<size_t>(c_.dev)];
    List1.clear();
    for (int s = 0; s < kSpeakerSlots; ++s)
        List1.items.append(TwoDigitsVar(s + 1) + QStringLiteral(" - ") +
                           (slotUsed(s) ? names[static_cast<size_t>(s)] : QStringLiteral("Vacia")));
    Command1[kLoad].Enabled = !c_.st.DemoMode;
    const int t = c_.st.LastSystemType[static_cast<size_t>(c_.dev)];
    if (slotUsed(t)) {
        Text1.Text = TwoDigitsVar(t + 1) + QStringLiteral(" ") + names[static_cast<size_t>(t)];
        List1.setListIndex(t);
    } else {
        Text1.Text = QStringLiteral("Default");
        List1.setListIndex(0);
    }
}

void FrmType::Command1_Click(int index) {
    if (index == kCancel) {
        Unload();
        return;
    }
    if (index != kLoad) return;
    if (c_.msg.show(QStringLiteral("                Esta Seguro?"), kTitle, MsgButtons::YesNo) ==
        MsgAnswer::No)
        return;
    const int s = List1.listIndex();
    if (s < 0 || s >= kSpeakerSlots) return;
    if (!slotUsed(s)) {
        c_.msg.show(QStringLiteral("Memoria Vacia"), kTitle, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    MousePointer = 13;
    refresh();
    LoadSystemType(s);
    MousePointer = 0;
    Unload();
}

void FrmType::LoadSystemType(int s) {
    if (s < 0 || s >= kSpeakerSlots) return;
    MousePointer = 13;
    ProgressBar1.Min = 0;
    ProgressBar1.Max = kProgressMax;
    ProgressBar1.setValue(0);
    ProgressBar1.Visible = true;
    refresh();
    const auto finish = [this] {
        ProgressBar1.Visible = false;
        refresh();
    };

    // The slot's data bytes, gathered before any of them is used: output settings come only
    // from replies that arrived.
    std::array<uint8_t, kSpeakerSlotDataBytes> slot{};
    for (int i = 0; i < kReads; ++i) {
        if (c_.link.SendFrameEx(c_.dev, CmdRead8, AddressData(SpeakerSlotAddress(s, 16 + 8 * i))) !=
            Exchange::Done) {
            finish();
            return;
        }
        std::copy_n(c_.st.RxBuf.begin() + 4, 8, slot.begin() + 8 * i);
        step();
    }
    ProgRecord& img = c_.prog();
    for (int i = 0; i < kSpeakerSlotDataBytes; ++i)
        img.SetByte(kFirstOutputByte + i, slot[static_cast<size_t>(i)]);

    for (int i = 0; i < kWrites; ++i) {
        const int k = kFirstOutputByte + 4 * i;
        Data8 d = AddressData(k + kLiveOutputOffset);
        for (int j = 0; j < 4; ++j)
            d[static_cast<size_t>(2 + j)] = img.Byte(k + j);
        if (c_.link.SendFrame(c_.dev, CmdWrite4, d)) {
            finish();
            return;
        }
        step();
    }
    c_.st.LastSystemType[static_cast<size_t>(c_.dev)] = static_cast<int16_t>(s);
    Data8 type = AddressData(kSystemTypeAddress);
    type[4] = static_cast<uint8_t>(s);
    if (c_.link.SendFrame(c_.dev, CmdWriteByte, type)) {
        finish();
        return;
    }
    c_.window.LoadProgram();
    finish();
}
