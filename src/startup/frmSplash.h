#pragma once
// The start-up window: sets the process-wide start values, warns about a small display, waits
// two seconds (the S key opens the service login meanwhile) and then runs the start-up: the
// connection dialog, the main window and the device list.
#include "common/AppState.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"

#include <functional>

// What the start-up window opens, in order. The program shows the real windows; tests record.
class SplashSteps {
  public:
    virtual ~SplashSteps() = default;
    // The service login, modal over the start-up window; returns when it has closed.
    virtual void ShowLogin() = 0;
    // The port, model and connection dialog, modal. False when the operator ended the program there.
    virtual bool ShowSelect() = 0;
    // The main window; its load connects to the devices. False when that load ended the program.
    virtual bool ShowMainWindow() = 0;
    // The device list inside the main window.
    virtual void ShowDeviceList() = 0;
};

class frmSplash {
  public:
    frmSplash(AppState& st, MessageBoxService& msg, SplashSteps& steps);

    // Controls.
    Timer Timer1;
    Label Label1;         // bus scan: "Searching COM: please wait "
    Label Label2;         // bus scan: percentage
    Label Label3;         // bus scan: model name
    int MousePointer = 0; // 0 normal, 13 arrow and hourglass
    bool Unloaded = false;
    std::function<void()> Unload; // the view closes the window
    // The locale probe (locale, information type); the operator's locale unless a test sets it.
    std::function<QString(int, int)> LocaleString;

    // Event procedures. The screen size is in pixels.
    void Form_Load(int screenWidthPx, int screenHeightPx);
    // `keyAscii` is the typed character code; it is passed on unchanged.
    void Form_KeyPress(int& keyAscii);
    void Timer1_Timer();

    // True once the timer has started the connection dialog and the rest of the start-up.
    bool StartupBegun() const { return startupBegun_; }

  private:
    AppState& st_;
    MessageBoxService& msg_;
    SplashSteps& steps_;
    bool startupBegun_ = false;
};
