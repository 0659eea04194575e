#include "startup/frmSplash.h"

#include "startup/ModCountry.h"

#include <QDir>

frmSplash::frmSplash(AppState& st, MessageBoxService& msg, SplashSteps& steps)
    : st_(st), msg_(msg), steps_(steps) {
    Label1.Caption = QStringLiteral("Searching COM: please wait ");
    Label2.Caption = QStringLiteral("0");
    Label3.Caption = QStringLiteral("Kestor");
    Timer1.Tick = [this] { Timer1_Timer(); };
    LocaleString = [](int locale, int infoType) { return GetLocaleString(locale, infoType); };
}

void frmSplash::Form_Load(int screenWidthPx, int screenHeightPx) {
    st_.SoftwareVersion = QStringLiteral("2.1");
    st_.DecimalComma = DecimalCommaFromSeparator(LocaleString(kLocaleUserDefault, LOCALE_SDECIMAL));
    Label3.Visible = false;
    Label1.Visible = false;
    Label2.Visible = false;
    if (screenWidthPx < 800 || screenHeightPx < 600)
        msg_.show(QStringLiteral("Minimum display resolution is 800x600"), QStringLiteral("Warning"),
                  MsgButtons::Ok);
    // Every data file is looked up below the folder the program was started in.
    st_.AppFolder = QDir::currentPath();
    QDir::setCurrent(st_.AppFolder);
    st_.ServiceMode = false;
    st_.IdConfigPending = false;
    Timer1.Interval = 2000;
    Timer1.Enabled = true;
}

void frmSplash::Form_KeyPress(int& keyAscii) {
    if (keyAscii != 'S' && keyAscii != 's') return;
    // Once the start-up runs, the login may not reopen: its timer would start a second one.
    if (startupBegun_ || Unloaded) return;
    Timer1.Interval = 4000;
    Timer1.Enabled = false;
    st_.ServiceMode = false;
    steps_.ShowLogin();
    Timer1.Interval = 500;
    Timer1.Enabled = true;
}

void frmSplash::Timer1_Timer() {
    Timer1.Enabled = false;
    if (startupBegun_) return; // the start-up runs once
    startupBegun_ = true;
    MousePointer = 13;
    const bool selected = steps_.ShowSelect();
    MousePointer = 0;
    if (!selected) return;
    if (!steps_.ShowMainWindow()) return;
    steps_.ShowDeviceList();
    Unloaded = true;
    if (Unload) Unload();
}
