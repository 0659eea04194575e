// Start-up: the program-wide state and services, then the start-up window, which runs the
// connection dialog, the main window and the device list in turn.
#include "bus/FrmSearchNet.h"
#include "bus/FrmSelect.h"
#include "bus/ui/FrmEquipoView.h"
#include "bus/ui/FrmNameDeviceView.h"
#include "bus/ui/FrmSearchNetView.h"
#include "bus/ui/FrmSelectView.h"
#include "bus/ui/FrmWaitView.h"
#include "common/AppState.h"
#include "link/Link.h"
#include "memories/MemoryActions.h"
#include "memories/ui/MemoryViews.h"
#include "memories/ui/FrmStorePrjView.h"
#include "platform/BusyPointer.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/QtSerialPortAdapter.h"
#include "platform/Services.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/QtMessageBox.h"
#include "startup/FrmLogin.h"
#include "startup/MDIFrmMain.h"
#include "startup/frmSplash.h"
#include "startup/ui/LoginDialog.h"
#include "startup/ui/MDIFrmMainView.h"
#include "startup/ui/SplashView.h"
#include "startup/ui/VersionDialog.h"
#include "window/EditingWindowParts.h"
#include "window/ui/EditingWindowViews.h"
#include "window/ui/FrmSelFilterView.h"
#include "window/ui/FrmVmView.h"

#include <QApplication>
#include <memory>

namespace {
// The windows the start-up window opens, with their views.
class StartupRun : public SplashSteps {
  public:
    StartupRun(AppState& st, Services& sv, QtDialogService& dialogs, Link& link, SerialPort& idPort)
        : st_(st), sv_(sv), dialogs_(dialogs), link_(link), idPort_(idPort) {
        dialogs_.Register<FrmEquipo>(
            [](FrmEquipo& e, QWidget* parent) { return new FrmEquipoView(e, parent); });
        // The store, recall and delete dialogs of the device memories and the system type.
        RegisterMemoryViews(dialogs_);
        RegisterFrmStorePrjView(dialogs_);
        dialogs_.Register<FrmSelFilter>(
            [](FrmSelFilter& f, QWidget* parent) { return new FrmSelFilterView(f, parent); });
        // The editing window's About box and rename dialog.
        dialogs_.Register<FrmVersion>(
            [](FrmVersion& v, QWidget* parent) { return new VersionDialog(v, parent); });
        dialogs_.Register<FrmNameDevice>(
            [](FrmNameDevice& n, QWidget* parent) { return new FrmNameDeviceView(n, parent); });
    }

    void attach(frmSplash& splash, SplashView& view) {
        splash_ = &splash;
        splashView_ = &view;
    }

    void ShowLogin() override {
        FrmLogin login(st_, sv_.msg, splash_->Timer1);
        login.Form_Load();
        LoginDialog dialog(login, splashView_);
        dialog.sync();
        dialog.exec();
    }

    bool ShowSelect() override {
        FrmSelect select(st_, sv_, idPort_);
        select.Form_Load();
        FrmSelectView view(select);
        view.exec();
        if (!select.closed() || select.endProgram()) {
            QCoreApplication::exit(0);
            return false;
        }
        return true;
    }

    bool ShowMainWindow() override {
        main_ = std::make_unique<MDIFrmMain>(st_, sv_, link_);
        mainView_ = std::make_unique<MDIFrmMainView>(*main_, st_);
        listForm_ = std::make_unique<FrmSearchNet>(st_, sv_, link_);
        // The main window shows its pointer while the wait window runs the rescan.
        dialogs_.Register<FrmWait>([this](FrmWait& w, QWidget*) {
            mainView_->sync();
            return new FrmWaitView(w, mainView_.get());
        });
        dialogs_.Register<FrmSearchNet>(
            [this](FrmSearchNet& f, QWidget*) { return DeviceListDocument(f, mainView_->mdiArea()); });
        link_.setFailureSink(listForm_.get());
        // The editing windows, their graph and the routines their handlers call.
        editing_ = std::make_unique<EditingWindowParts>(st_, link_, sv_);
        // The top bar's memory, file and preset procedures work on the editing windows' context.
        actions_ = std::make_unique<MemoryActions>(editing_->context);
        editing_->context.actions = actions_.get();
        editingViews_ = std::make_unique<EditingWindowViews>(editing_->service, mainView_->mdiArea());
        listForm_->setEditingWindows(&editing_->service);
        // The speaker library download's wait box, over the main window; the download shows the
        // pointers of the main window and the editing window at once.
        dialogs_.Register<FrmVm>([this](FrmVm& w, QWidget*) { return new FrmVmView(w, mainView_.get()); });
        editing_->context.deviceList = listForm_.get();
        editing_->context.mainMousePointer = &main_->MousePointer;
        editing_->context.refreshWindows = [this] {
            mainView_->sync();
            editingViews_->syncAll();
        };
        main_->setDeviceList(listForm_.get());
        // The start-up scan shows its progress in the start-up window's labels.
        main_->setScanLabels({&splash_->Label2, &splash_->Label3, [this] {
                                  splashView_->sync();
                                  splashView_->repaint();
                              }});
        main_->MDIForm_Load();
        if (!main_->loaded()) {
            QCoreApplication::exit(0);
            return false;
        }
        mainView_->sync();
        mainView_->show();
        return true;
    }

    // Runs after ShowMainWindow has put the main window on screen.
    void ShowDeviceList() override { main_->ShowDeviceList(); }

  private:
    AppState& st_;
    Services& sv_;
    QtDialogService& dialogs_;
    Link& link_;
    SerialPort& idPort_;
    frmSplash* splash_ = nullptr;
    SplashView* splashView_ = nullptr;
    // The window objects outlive the views that show them: the device list's view lives in the
    // main window's area.
    std::unique_ptr<FrmSearchNet> listForm_;
    std::unique_ptr<EditingWindowParts> editing_;
    std::unique_ptr<MemoryActions> actions_;
    std::unique_ptr<MDIFrmMain> main_;
    std::unique_ptr<MDIFrmMainView> mainView_;
    std::unique_ptr<EditingWindowViews> editingViews_;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talvenor"));

    SystemClock clock;
    QtSerialPortAdapter port;
    QtSerialPortAdapter idPort; // the connection dialog's own port for the ID configuration
    QtEventPump events;
    QtMessageBox msg;
    QtDialogService dialogs;
    Services sv{port, clock, events, msg, dialogs};
    AppState st;
    Link link(st, sv);
    QtBusyPointer busyPointer;
    link.setBusyPointer(&busyPointer);

    StartupRun run(st, sv, dialogs, link, idPort);
    frmSplash splash(st, msg, run);
    SplashView splashView(splash);
    run.attach(splash, splashView);
    splashView.show();
    splashView.activateWindow();
    splashView.load();
    return app.exec();
}
