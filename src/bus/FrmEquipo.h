#pragma once
// "Seleccionar equipo": asks for one model before the device ID configuration starts.
#include "common/AppState.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>

class FrmEquipo : public DialogWindow {
  public:
    // modelChosen is the connection dialog's flag that this dialog sets on "Aceptar".
    FrmEquipo(AppState& st, bool& modelChosen);

    QString Caption = QStringLiteral("Seleccionar equipo");
    std::array<OptionButton, 2> Option1;   // 0 "Kestrino", 1 "Valdoran"
    std::array<CommandButton, 2> Command1; // 0 "Aceptar", 1 "Cancelar"

    // Selects "Kestrino", as each time the dialog is shown.
    void Form_Load();
    // 0 "Aceptar": the model is chosen; 1 "Cancelar": nothing is chosen. Both close the dialog.
    void Command1_Click(int index);

    bool closed() const { return closed_; }

  private:
    AppState& st_;
    bool& modelChosen_;
    bool closed_ = false;
};
