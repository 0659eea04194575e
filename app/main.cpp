// Start-up: the program-wide state and services, the connection dialog, then the main window.
#include "bus/FrmSelect.h"
#include "bus/ui/FrmSelectView.h"
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/QtSerialPortAdapter.h"
#include "platform/Services.h"
#include "platform/ui/QtMessageBox.h"
#include "startup/MDIFrmMain.h"
#include "startup/ui/MDIFrmMainView.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talvenor"));

    SystemClock clock;
    QtSerialPortAdapter port;
    QtSerialPortAdapter idPort; // the connection dialog's own port for the ID configuration
    QtEventPump events;
    QtMessageBox msg;
    Services sv{port, clock, events, msg};
    AppState st;
    st.AppFolder = QDir::currentPath();
    Link link(st, sv);

    {
        FrmSelect select(st, sv, idPort);
        select.Form_Load();
        FrmSelectView view(select);
        view.exec();
        if (!select.closed() || select.endProgram()) return 0;
    }

    MDIFrmMain main(st, sv, link);
    MDIFrmMainView mainView(main, st);
    main.MDIForm_Load();
    if (!main.loaded()) return 0;
    mainView.sync();
    mainView.show();
    return app.exec();
}
