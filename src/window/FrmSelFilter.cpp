#include "window/FrmSelFilter.h"
#include "common/Index.h"

#include "common/BandNumbering.h"
#include "params/EqSetters.h"
#include "window/WindowContext.h"

#include <algorithm>

namespace {
// The dialog's own names of the types, each ten characters, in type code order.
constexpr std::array<const char*, 17> kFilterEntries = {
    "Peaking_Eq", "Hi-Shelv_1", "Hi-Shelv_2", "Hi-Shelv_Q", "Lo-Shelv_1", "Lo-Shelv_2",
    "Lo-Shelv_Q", "Low Pass_1", "Low Pass_2", "Low Pass_Q", "HighPass_1", "HighPass_2",
    "HighPass_Q", "All Pass_1", "All Pass_2", "Band Pass ", "Notch Filt",
};

} // namespace

FrmSelFilter::FrmSelFilter(WindowContext& cx) : cx_(cx) {
    Label1.Caption = QStringLiteral("Filter Type");
    for (const char* e : kFilterEntries)
        Combo1.items << QString::fromLatin1(e);
    Command1[0].Caption = QStringLiteral("OK");
    Command1[1].Caption = QStringLiteral("Cancelar");
    for (int i = 0; i < 2; ++i)
        Command1[U(i)].Click = [this, i] { Command1_Click(i); };
}

void FrmSelFilter::Form_Load() {
    const int b = std::clamp<int>(cx_.st.FilterDialogBand, 0, kBands - 1);
    Label1.Caption = QStringLiteral("Type Filter ") + QString::number(BandInChannel(b) + 1);
    const int dev = cx_.dev();
    if (ValidBusAddress(dev)) Combo1.setListIndex(ClampBandType(cx_.st.BandType[U(dev)][U(b)]));
}

void FrmSelFilter::Command1_Click(int index) {
    const int b = std::clamp<int>(cx_.st.FilterDialogBand, 0, kBands - 1);
    const int dev = cx_.dev();
    const int type = Combo1.listIndex();
    if (index == 0 && type >= 0 && ValidBusAddress(dev)) {
        cx_.st.BandType[U(dev)][U(b)] = static_cast<int16_t>(ClampBandType(type));
        cx_.win().Command10[U(b)].Caption = cx_.st.Tables.BandTypeNames[U(ClampBandType(type))];
        // A failed send has closed the editing window: there is no curve left to draw.
        if (!SendEqBand(cx_, b)) cx_.graph.CalcBandGraph(b);
    }
    Unload();
}
