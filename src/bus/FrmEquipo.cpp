#include "bus/FrmEquipo.h"

FrmEquipo::FrmEquipo(AppState& st, bool& modelChosen) : st_(st), modelChosen_(modelChosen) {
    Option1[0].Caption = QStringLiteral("Kestrino");
    Option1[1].Caption = QStringLiteral("Valdoran");
    for (auto& o : Option1)
        o.group = {&Option1[0], &Option1[1]};
    Command1[0].Caption = QStringLiteral("Aceptar");
    Command1[1].Caption = QStringLiteral("Cancelar");
    for (int i = 0; i < 2; ++i)
        Command1[static_cast<size_t>(i)].Click = [this, i] { Command1_Click(i); };
}

void FrmEquipo::Form_Load() {
    closed_ = false;
    Option1[0].setValue(true);
}

void FrmEquipo::Command1_Click(int index) {
    if (index == 0) {
        modelChosen_ = true;
        st_.ModelMask = Option1[1].value() ? 2 : 1;
    }
    closed_ = true;
    Unload();
}
