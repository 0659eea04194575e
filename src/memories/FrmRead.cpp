#include "memories/FrmRead.h"

FrmRead::FrmRead(MemoryContext c)
    : MemoryListForm(c, QStringLiteral("Leer memoria"), QStringLiteral("Leer"),
                     QStringLiteral("Por favor espere, cargando........"), 1) {}

void FrmRead::ShowEmpty() {
    c_.msg.show(QStringLiteral("Memoria Vacia"), QStringLiteral("Leer Memoria"), MsgButtons::Ok,
                MsgIcon::Critical);
}

void FrmRead::Act(int m) {
    if (MemoryEmpty(c_.rec(), m)) {
        ShowEmpty();
        return;
    }
    if (c_.msg.show(QStringLiteral("Desea leer esta memoria ? "), QStringLiteral("Leer memoria"),
                    MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    MousePointer = 13;
    refresh();
    const Recall r = ReadProgram(m);
    MousePointer = 0;
    if (r == Recall::Empty) {
        // Refused as if the records had known it; the list now shows the memory empty.
        refresh();
        ShowEmpty();
        return;
    }
    Unload();
}

FrmRead::Recall FrmRead::ReadProgram(int m) {
    if (!ValidMemory(m)) return Recall::NotReceived;
    Label2.Visible = true;
    refresh();
    if (!c_.st.DemoMode) {
        const bool got = c_.link.SendFrameRead48(c_.dev, CmdRecallMemory,
                                                 Data8{static_cast<uint8_t>(m), 0, 0, 0, 0, 0, 0, 0});
        if (!got || !c_.link.LastDone()) {
            // No header arrived: the window keeps the program it shows.
            Label2.Visible = false;
            refresh();
            return Recall::NotReceived;
        }
        // The header's last byte is the memory's status: above 63 the memory is empty (an erased
        // one answers 0xFF throughout) and the device keeps running its program. The records
        // were stale: they now list the memory as empty, and nothing of the header is loaded.
        if (c_.st.RxBuf[kHeaderReplyLength - 1] > 63) {
            DeviceRec& rec = c_.rec();
            rec.MemProg[static_cast<size_t>(m)] = 255;
            rec.MemName[static_cast<size_t>(m)] = EmptyMemoryFullName(c_.st.Tables);
            List1.items = MemoryListRows(rec);
            Label2.Visible = false;
            refresh();
            return Recall::Empty;
        }
        ProgRecord& img = c_.prog();
        for (int i = 0; i < kHeaderReplyLength; ++i)
            img.SetByte(i, c_.st.RxBuf[static_cast<size_t>(i)]);
    }
    c_.st.LastProgNumber = static_cast<int16_t>(m);
    c_.st.DevMemoryInUse[static_cast<size_t>(c_.dev)] = static_cast<int16_t>(m);
    {
        // The device already runs the recalled program: nothing is sent back while the window is
        // rebuilt.
        const LoadSuspension suspended(c_.st);
        c_.window.LoadProgram();
    }
    c_.window.RedrawGraphs();
    c_.window.SetCaption(MemoryCaption(c_.st, c_.dev, m));
    Label2.Visible = false;
    refresh();
    return Recall::Loaded;
}
