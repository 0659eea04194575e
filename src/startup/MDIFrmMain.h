#pragma once
// "Talvenor", the program's frame window. Its load sets the program-wide flags, fills the
// constant tables, opens the serial port and finds the devices in the mode chosen in the
// connection dialog, or falls back to demonstration mode when the operator agrees. Closing it
// signs the devices off and ends the program.
#include "bus/DeviceListHost.h"
#include "bus/ScanBus.h"
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/Controls.h"
#include "platform/Services.h"

class MDIFrmMain {
  public:
    MDIFrmMain(AppState& st, Services& sv, Link& link);

    // ---- Controls ----
    QString Caption = QStringLiteral("Talvenor");
    int MousePointer = 0; // 0 default, 11 hourglass, 13 arrow and hourglass
    Timer SerialTimer;    // receive time-out of a single ping
    Timer Timer3;         // keeps the Connection menu up to date
    MenuItem File;        // "Archivo"
    MenuItem Exit;        // "Salir"
    MenuItem Connection;  // "Exploracion de nuevos equipos"
    MenuItem SearchNewID; // "Buscar nuevo ID"

    // ---- Event procedures ----
    void MDIForm_Load();
    void MDIForm_QueryUnload(bool& cancel, int unloadMode);
    void Exit_Click();
    void SearchNewID_Click();
    void SerialTimer_Timer();
    void Timer3_Timer();

    // Runs the closing handler; true when the window closed (and the program ends).
    bool Unload();
    bool closed() const { return closed_; }
    // The load found devices or set up demonstration mode; false when the start-up was refused
    // or the demo devices could not be loaded, and the program ends.
    bool loaded() const { return loaded_; }

    // The device list inside this window. The load does not show it: the start-up shows it once
    // this window is on screen.
    void setDeviceList(DeviceListHost* host) { deviceList_ = host; }
    void ShowDeviceList();
    // The progress labels the start-up scan writes.
    void setScanLabels(const ScanLabels& labels) { scanLabels_ = labels; }

  private:
    void refuse();
    bool askDemo(const QString& text);

    AppState& st_;
    Services& sv_;
    Link& link_;
    DeviceListHost* deviceList_ = nullptr;
    ScanLabels scanLabels_;
    bool closed_ = false;
    bool loaded_ = false;
};
