#include "memories/FrmStore.h"
#include "common/Index.h"

#include "common/NameCode.h"

namespace {

// Key codes the name filter lets through unchanged.
bool NameKeyAllowed(int key) {
    if (key == 8 || key == 13 || key == 32) return true;
    if ((key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z') || (key >= '0' && key <= '9')) return true;
    switch (key) {
    case '-':
    case '_':
    case '/':
    case '*':
    case '&':
    case '+':
    case '"':
    case '.':
    case ',':
        return true;
    default:
        return false;
    }
}

// A send that did not go through, or was refused because the link is busy: the store stops
// there. Only a reply, or a send that needs none (demo mode, no traffic), counts as done.
bool Failed(Exchange e) {
    return e != Exchange::Done && e != Exchange::Skipped;
}
} // namespace

FrmStore::FrmStore(MemoryContext c) : c_(c) {
    List1.ToolTipText = QStringLiteral("Doble click para copiar nombre");
    for (int i = 1; i <= kUserMemories; ++i)
        Combo1.items << QString::number(i);
    List1.DblClick = [this] { List1_DblClick(); };
    Combo1.Click = [this] { Combo1_Click(); };
    Text1.MaxLength = 5;
    Text1.KeyPress = [this](int& key) { Text1_KeyPress(key); };
    Command1[0].Caption = QStringLiteral("Cancelar");
    Command1[1].Caption = QStringLiteral("Guardar");
    for (int i = 0; i < 2; ++i)
        Command1[U(i)].Click = [this, i] { Command1_Click(i); };
    ProgressBar1.Visible = false;
    Label3.Caption = QStringLiteral("Memoria");
    Label2[0].Caption = QStringLiteral("Seleccionar posicion:");
    Label2[1].Caption = QStringLiteral("Editar nombre:");
}

void FrmStore::Form_Load() {
    ProgressBar1.Visible = false;
    ProgressBar1.setValue(0);
    List1Columns = 1;
    List1.clear();
    List1.items = MemoryListRows(c_.rec());
    List1.setListIndex(0);
    Text1.Text = List1.items[0].mid(4);
    Combo1.setListIndex(List1.listIndex());
}

void FrmStore::Combo1_Click() {
    if (c_.st.SuppressEvents) return;
    c_.st.SuppressEvents = true;
    List1.setListIndex(Combo1.listIndex());
    c_.st.SuppressEvents = false;
}

void FrmStore::List1_DblClick() {
    if (c_.st.SuppressEvents) return;
    const int row = List1.listIndex();
    if (row < 0 || row >= List1.items.size()) return;
    Text1.Text = List1.items[row].mid(4);
    c_.st.SuppressEvents = true;
    Combo1.setListIndex(row);
    c_.st.SuppressEvents = false;
}

void FrmStore::Text1_KeyPress(int& keyAscii) {
    if (NameKeyAllowed(keyAscii)) return;
    const ConstantTables& t = c_.st.Tables;
    BadCharMessage = QStringLiteral("Simbolo ") + KeyChar(keyAscii) + QStringLiteral(" no permitido");
    c_.msg.show(BadCharMessage + QStringLiteral("\r\n\r\n") + t.NameHelpTitle + QStringLiteral("\r\n") +
                    t.NameHelpChars,
                QStringLiteral("Guardar memoria"), MsgButtons::Ok, MsgIcon::Information);
    keyAscii = 32;
}

void FrmStore::Command1_Click(int index) {
    if (index == 0) {
        Unload();
        return;
    }
    if (index != 1) return;
    if (c_.msg.show(QStringLiteral("                Esta Seguro?"), QStringLiteral("Guardar Memoria"),
                    MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    MousePointer = 13;
    refresh();
    StoreProgram(Combo1.listIndex(), Text1.Text);
    MousePointer = 0;
    Unload();
}

bool FrmStore::StoreProgram(int m, const QString& name) {
    // Any other index would write the header over other areas of the device.
    if (!ValidMemory(m)) return false;
    const QString five = name.left(5).leftJustified(5, QLatin1Char(' '));
    ProgRecord& img = c_.prog();
    DeviceRec& rec = c_.rec();
    // The program name area as the device is to hold it (image bytes 32..47, the name in the
    // first five); the records take the name only once the device has it.
    std::array<uint8_t, 16> area{};
    for (int i = 0; i < 16; ++i)
        area[U(i)] = img.Byte(32 + i);
    for (int i = 0; i < 5; ++i)
        area[U(i)] = static_cast<uint8_t>(EncodeNameChar(QString::number(five.at(i).unicode())));
    ProgressBar1.setValue(0);
    ProgressBar1.Visible = true;
    ProgressBar1.Max = 20; // 48 / 4 header frames + 32 / 4
    refresh();

    const auto send = [&](uint8_t cmd, const Data8& d) {
        return Failed(c_.link.SendFrameEx(c_.dev, cmd, d));
    };
    const auto write4 = [&](int address, const uint8_t* b) {
        const auto [hi, lo] = AddressBytes(address);
        return send(CmdWrite4, Data8{hi, lo, b[0], b[1], b[2], b[3], 0, 0});
    };
    const auto stop = [&] {
        ProgressBar1.Visible = false;
        refresh();
        return false;
    };
    const auto mm = static_cast<uint8_t>(m);

    // The current program's name area, device addresses 0..15.
    for (int k = 0; k < 16; k += 4)
        if (write4(k, area.data() + k)) return stop();
    // The device holds the name: the memory's name, the image's name and its mirror of device
    // addresses 0..4.
    rec.MemName[U(m)] = five;
    for (int i = 0; i < 5; ++i) {
        img.SetByte(32 + i, area[U(i)]);
        img.SetByte(ProgRecord::kExtStart + i, area[U(i)]);
    }
    // The memory's header; each frame moves the bar.
    for (int j = 0; j < 48; j += 4) {
        const std::array<uint8_t, 4> b{img.Byte(j), img.Byte(j + 1), img.Byte(j + 2), img.Byte(j + 3)};
        if (write4(MemoryHeaderAddress(m) + j, b.data())) return stop();
        ProgressBar1.setValue(ProgressBar1.value() + 1);
        refresh();
    }
    const auto [shi, slo] = AddressBytes(MemoryStatusAddress(m));
    if (send(CmdWriteByte, Data8{shi, slo, 0, 0, mm, 0, 0, 0})) return stop();
    rec.MemProg[U(m)] = m;
    ProgressBar1.setValue(ProgressBar1.value() + 1);
    refresh();
    if (send(CmdWriteByte, Data8{0x00, kMemoryInUseAddress, 0, 0, mm, 0, 0, 0})) return stop();
    c_.st.DevMemoryInUse[U(c_.dev)] = static_cast<int16_t>(m);
    if (send(CmdStoreMemory, Data8{0, 0, 0, 0, 0, 0, 0, mm})) return stop();
    c_.st.LastProgNumber = static_cast<int16_t>(m);
    c_.window.SetCaption(MemoryCaption(c_.st, c_.dev, m));
    ProgressBar1.Visible = false;
    refresh();
    return true;
}
