#pragma once
// "Seleccionar Filtro": the filter type of one equaliser band of the current editing window, the
// band in FilterDialogBand. The band's type button shows it modally.
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>

struct WindowContext;

class FrmSelFilter : public DialogWindow {
  public:
    explicit FrmSelFilter(WindowContext& cx);

    QString Caption = QStringLiteral("Seleccionar Filtro");
    Label Label1;                          // "Type Filter " and the band's number in its channel
    ComboBox Combo1;                       // the 17 filter types, list position = type code
    std::array<CommandButton, 2> Command1; // 0 "OK", 1 "Cancelar"

    // Names the band and selects its present type.
    void Form_Load();
    // 0 "OK": the selected type becomes the band's, its button is relabelled, the band is sent and
    // its curve recomputed; with no type selected the band keeps its own. 1 "Cancelar" changes
    // nothing. Both close the dialog.
    void Command1_Click(int index);

  private:
    WindowContext& cx_;
};
