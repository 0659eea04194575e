#pragma once
// The About box of an editing window: software version, the device's firmware and model.
#include "common/AppState.h"
#include "platform/Controls.h"

#include <array>
#include <functional>

class FrmVersion {
  public:
    explicit FrmVersion(const AppState& st);

    QString Caption = QStringLiteral("Version");
    std::array<Label, 2> Label1; // "Software Version:", "Firmware Version:"
    Label Label2;                // software version
    Label Label3;                // firmware version of the current window's device
    Label Label4;                // model name
    CommandButton Command1;      // OK
    bool Unloaded = false;
    std::function<void()> Unload;

    void Form_Load();
    void Command1_Click();

  private:
    const AppState& st_;
};
