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

// A send that did not go through: the store stops there.
bool Failed(Exchange e) {
    return e == Exchange::Failed || e == Exchange::FailedReported;
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
    BadCharMessage = QStringLiteral("Simbolo ") + QChar(keyAscii) + QStringLiteral(" no permitido");
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
    rec.MemName[U(m)] = QString();
    for (int i = 0; i < 5; ++i) {
        const QChar ch = five.at(i);
        rec.MemName[U(m)] += ch;
        const auto code = static_cast<uint8_t>(EncodeNameChar(QString::number(ch.unicode())));
        img.SetByte(32 + i, code);
        img.SetByte(ProgRecord::kExtStart + i, code);
    }
    ProgressBar1.setValue(0);
    ProgressBar1.Visible = true;
    ProgressBar1.Max = 20; // 48 / 4 header frames + 32 / 4
    refresh();

    const auto send = [&](uint8_t cmd, const Data8& d) {
        return Failed(c_.link.SendFrameEx(c_.dev, cmd, d));
    };
    const auto write4 = [&](int address, int from) {
        const auto [hi, lo] = AddressBytes(address);
        return send(CmdWrite4, Data8{hi, lo, img.Byte(from), img.Byte(from + 1), img.Byte(from + 2),
                                     img.Byte(from + 3), 0, 0});
    };
    const auto stop = [&] {
        ProgressBar1.Visible = false;
        refresh();
        return false;
    };
    const auto mm = static_cast<uint8_t>(m);

    // The current program's name area, device addresses 0..15.
    for (int k = 0; k < 16; k += 4)
        if (write4(k, 32 + k)) return stop();
    // The memory's header; each frame moves the bar.
    for (int j = 0; j < 48; j += 4) {
        if (write4(MemoryHeaderAddress(m) + j, j)) return stop();
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
