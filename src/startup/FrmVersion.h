#pragma once
// The About box of an editing window: software version, the device's firmware and model.
#include "common/AppState.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>

// Shown modally through the dialog service; OK unloads it.
class FrmVersion : public DialogWindow {
  public:
    explicit FrmVersion(const AppState& st);

    QString Caption = QStringLiteral("Version");
    std::array<Label, 2> Label1; // "Software Version:", "Firmware Version:"
    Label Label2;                // software version
    Label Label3;                // firmware version of the current window's device
    Label Label4;                // model name
    CommandButton Command1;      // OK
    bool Unloaded = false;       // OK was pressed

    void Form_Load();
    void Command1_Click();

  private:
    const AppState& st_;
};
