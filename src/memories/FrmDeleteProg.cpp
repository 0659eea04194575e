#include "memories/FrmDeleteProg.h"

FrmDeleteProg::FrmDeleteProg(MemoryContext c)
    : MemoryListForm(c, QStringLiteral("Borrar Memoria"), QStringLiteral("Borrar"),
                     QStringLiteral("Por favor espere........."), 5) {}

void FrmDeleteProg::Act(int m) {
    const QString title = QStringLiteral("Borrar Memoria");
    if (MemoryEmpty(c_.rec(), m)) {
        c_.msg.show(QStringLiteral("Memoria vacia"), title, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    // Which memory the device runs: address 31, read from the device; without traffic (demo
    // mode) the memory this device last stored or recalled.
    const Exchange read =
        c_.link.SendFrameEx(c_.dev, CmdReadByte, Data8{0x00, kMemoryInUseAddress, 0, 0, 0, 0, 0, 0});
    if (read == Exchange::FailedReported) {
        // The link has given the device up and closed its window.
        Unload();
        return;
    }
    if (read == Exchange::Failed) return;
    const int inUse =
        read == Exchange::Done ? c_.st.RxBuf[8] : c_.st.DevMemoryInUse[static_cast<size_t>(c_.dev)];
    if (inUse == m) {
        c_.msg.show(QStringLiteral("Imposible borrar, la memoria esta en uso"), title, MsgButtons::Ok,
                    MsgIcon::Critical);
        return;
    }
    if (c_.msg.show(QStringLiteral("Desea borrar la memoria seleccionada ? "), title, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    MousePointer = 13;
    refresh();
    DeleteMemory(m);
    MousePointer = 0;
    Unload();
}

bool FrmDeleteProg::DeleteMemory(int m) {
    if (!ValidMemory(m)) return false;
    Label2.Visible = true;
    refresh();
    const auto [hi, lo] = AddressBytes(MemoryStatusAddress(m));
    const Exchange e = c_.link.SendFrameEx(c_.dev, CmdWriteByte, Data8{hi, lo, 0, 0, 0xFF, 0, 0, 0});
    const bool written = e == Exchange::Done || e == Exchange::Skipped;
    if (written) {
        DeviceRec& rec = c_.rec();
        rec.MemProg[static_cast<size_t>(m)] = 255;
        rec.MemName[static_cast<size_t>(m)] = EmptyMemoryFullName(c_.st.Tables);
    }
    Label2.Visible = false;
    refresh();
    return written;
}
