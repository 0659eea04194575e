#pragma once
// The wait box "Por favor espere.........": shown modelessly while a long transfer runs, with a
// progress bar that the transfer advances. Whoever shows it closes it with Unload().
#include "platform/Controls.h"
#include "platform/Dialogs.h"

class FrmVm : public DialogWindow {
  public:
    FrmVm() {
        Label1.Caption = QStringLiteral("Por favor espere.........");
        ProgressBar1.Visible = false;
    }

    QString Caption;
    int Left = 0, Top = 0; // twips from the top left corner of the main window
    Label Label1;
    ProgressBar ProgressBar1;
};
