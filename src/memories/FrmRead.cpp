#include "memories/FrmRead.h"

FrmRead::FrmRead(MemoryContext c)
    : MemoryListForm(c, QStringLiteral("Leer memoria"), QStringLiteral("Leer"),
                     QStringLiteral("Por favor espere, cargando........"), 1) {}

void FrmRead::Act(int m) {
    if (MemoryEmpty(c_.rec(), m)) {
        c_.msg.show(QStringLiteral("Memoria Vacia"), QStringLiteral("Leer Memoria"), MsgButtons::Ok,
                    MsgIcon::Critical);
        return;
    }
    if (c_.msg.show(QStringLiteral("Desea leer esta memoria ? "), QStringLiteral("Leer memoria"),
                    MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    MousePointer = 13;
    refresh();
    ReadProgram(m);
    MousePointer = 0;
    Unload();
}

bool FrmRead::ReadProgram(int m) {
    if (!ValidMemory(m)) return false;
    Label2.Visible = true;
    refresh();
    if (!c_.st.DemoMode) {
        const bool got = c_.link.SendFrameRead48(c_.dev, CmdRecallMemory,
                                                 Data8{static_cast<uint8_t>(m), 0, 0, 0, 0, 0, 0, 0});
        if (!got || !c_.link.LastDone()) {
            // No header arrived: the window keeps the program it shows.
            Label2.Visible = false;
            refresh();
            return false;
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
    return true;
}
