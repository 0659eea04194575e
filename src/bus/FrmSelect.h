#pragma once
// "Seleccionar": the connection dialog shown once at start-up. The operator picks the serial
// port, the connection mode (one device, a scan of several, or a chain of 10 or 20 configured
// IDs) and the model or models. The port is kept in "init.cfg", the chain IDs in "TenDev.cfg".
// The same dialog holds the device ID configuration panel, which talks to the bus through its
// own serial port before the main window exists.
#include "bus/ConnectionFiles.h"
#include "bus/FrmEquipo.h"
#include "common/AppState.h"
#include "link/ReplyEcho.h"
#include "platform/Controls.h"
#include "platform/SerialPort.h"
#include "platform/Services.h"

#include <array>
#include <functional>

class FrmSelect {
  public:
    // sv carries the clock, the event pump and the message boxes; idPort is the dialog's own
    // serial port for the ID configuration.
    FrmSelect(AppState& st, Services& sv, SerialPort& idPort);

    // ---- Controls ----
    QString Caption = QStringLiteral("Seleccionar");
    int Width = 2805;     // twips: 2805 one column, 5190 and 7600 with the chain ID groups
    int MousePointer = 0; // 0 default, 11 hourglass, 13 arrow and hourglass

    Frame Frame10;                       // holds Command3
    CommandButton Command3;              // "Configurar ID equipo"
    Frame Frame1;                        // "Conexion RS485 "
    std::array<OptionButton, 4> Option1; // 0 one device, 3 several, 2 chain of 10, 1 chain of 20
    Frame Frame9;                        // "Seleccionar equipo"
    std::array<Frame, 2> Frame12;        // 1 holds Option3 (one model), 0 holds Check1 (models)
    std::array<OptionButton, 2> Option3; // "Kestrino", "Valdoran"
    std::array<CheckBox, 2> Check1;      // "Kestrino", "Valdoran"
    Frame Frame2;                        // "Seleccionar ID"
    ComboBox Combo2;                     // "0".."32"
    Frame Frame3;                        // "Seleccionar puerto"
    ComboBox Combo1;                     // "NONE", "COM 1".."COM 32"
    Frame Frame11;
    std::array<CommandButton, 2> Command1; // 0 "Aceptar", 1 "Salir"
    std::array<Frame, 2> Frame4;           // "Set device ID": boxes 0..9 and 10..19
    std::array<Label, 20> Label1;          // "Device1 with ID:" ..
    std::array<ComboBox, 20> Combo3;       // "0".."65"; the selected index is the ID
    CommandButton Command17;               // "Reset Eeprom" (no action)

    // ID configuration panel.
    Frame Frame6;                          // "Configurar ID", hidden at load
    Frame Frame7;                          // "Conexion ID"
    std::array<Label, 2> Label2;           // "Select ID", "Seleccionar nuevo ID"
    ComboBox Combo5;                       // found devices: "ID:" & ID & " = " & name
    Frame Frame13;                         // "Seleccionar equipo"
    Label Label3;                          // "Equipo = " and the model
    Frame Frame8;                          // "ID Disponible"
    ComboBox Combo4;                       // free IDs
    std::array<CommandButton, 2> Command2; // 0 "Seleccionar ID", 1 "<<"
    Timer SerialTimer;                     // receive time-out of the panel's exchange

    // ---- Dialog state ----
    PortSettingsRec PortSettings;       // the record of "init.cfg"
    bool QuitOnClose = true;            // closing asks and then ends the program
    bool ModelChosen = false;           // the model dialog was left with "Aceptar"
    std::array<int16_t, 66> FoundIds{}; // bus addresses that answered the ID search
    int16_t FoundCount = 0;
    uint8_t OldId = 0;
    int16_t NewId = 0;

    // ---- Event procedures ----
    void Form_Load();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click(int index);
    void Option1_Click(int index);
    void Command1_Click(int index);
    bool CheckTenIdsDifferent() const;
    bool CheckTwentyIdsDifferent() const;
    // Closing rule for "Aceptar", "Salir" and the close box; sets cancel to keep the dialog.
    void Form_QueryUnload(bool& cancel);
    void Command3_Click();
    void FindDeviceId();
    void OpenSerialPort();
    // One request on the dialog's port and at most one reply; failed is true when no usable
    // reply came.
    void SendFrameWait(uint8_t cmd, uint8_t id, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t d4, bool& failed);
    // Whether a whole reply to the request in TxBuf is in; bytes ahead of it (a late answer to an
    // earlier request, the rest of a cut one) are dropped once the device has shown that its
    // replies echo.
    bool idReplyIn();
    void SerialTimer_Timer();
    void Command2_Click(int index);

    // Runs the closing rule; true when the dialog closed.
    bool Unload();
    // The dialog has closed. endProgram(): the operator confirmed leaving, the program ends;
    // otherwise start-up goes on to the main window.
    bool closed() const { return closed_; }
    bool endProgram() const { return endProgram_; }

    // Asks the view to repaint at once (captions changed while an exchange runs).
    std::function<void()> Refresh;

  private:
    bool inOneDeviceMode() const { return Option1[0].value(); }
    void setMainColumnEnabled(bool on);
    void restoreMainColumn();
    void refresh() {
        if (Refresh) Refresh();
    }

    AppState& st_;
    Services& sv_;
    SerialPort& idPort_;
    FrmEquipo equipo_;
    bool closed_ = false;
    bool endProgram_ = false;
    bool exchangeRunning_ = false;
    ReplyEcho idEcho_; // what each device on the panel's port has shown about its replies' head
    QByteArray idRx_;  // bytes read for the current exchange while late answers are looked for
};

// Caption of a found device in the ID configuration panel: "ID:3 = name".
QString FoundDeviceCaption(int busAddress, const QString& name);
