#pragma once
// "Nombre de equipo": gives the device of the current editing window a new name of up to eight
// characters, written into the device's name area (addresses 32..39, in the devices' name code)
// and committed, then shown in the device list. Shown modally from the editing window.
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"

#include <array>
#include <functional>

class DeviceListHost;

class FrmNameDevice : public DialogWindow {
  public:
    FrmNameDevice(AppState& st, Link& link, MessageBoxService& msg, DeviceListHost* deviceList);

    // ---- Controls ----
    QString Caption = QStringLiteral("Nombre de equipo");
    int MousePointer = 0; // 0 normal, 13 arrow and hourglass
    Label Label1;         // "Editar nombre equipo"
    TextBox Text1;        // the name being edited; takes text only through its key procedure
    std::array<CommandButton, 2> Command1{}; // 0 "Confirmar", 1 "Cancelar"
    // Shows the dialog's state at once (the view sets it; the frames block the window meanwhile).
    std::function<void()> Refresh;

    // The name codes of the padded name; 0..7 are sent.
    std::array<uint8_t, 17> NameCodes{};
    // The first eight characters of the padded name, blanks included: the name the device list
    // shows once the device holds it.
    QString PaddedName;

    // ---- Event procedures ----
    // Takes the device of the current window slot and shows its name without surrounding blanks.
    void Form_Load();
    // Lets through Backspace, Enter, the blank, letters, digits and - _ / * & + " . , and turns
    // any other key into a blank after telling the operator which characters are allowed.
    void Text1_KeyPress(int& key);
    // 0 confirms the name, 1 cancels.
    void Command1_Click(int index);
    // Pads the name with blanks to 16 characters and fills PaddedName and NameCodes from its
    // first eight characters.
    void PadDeviceName(const QString& name);

    // The device being renamed.
    int device() const { return dev_; }

  private:
    void confirm();
    // True when the frame may count as answered: the device answered it, or the program runs
    // without devices and sends nothing.
    bool answered(uint8_t cmd, const Data8& d);

    AppState& st_;
    Link& link_;
    MessageBoxService& msg_;
    DeviceListHost* deviceList_;
    int dev_ = -1;
};
