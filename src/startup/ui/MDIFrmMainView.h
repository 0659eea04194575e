#pragma once
#include "bus/DeviceListHost.h"
#include "startup/MDIFrmMain.h"

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QListWidget;

// The view of the main window: a multiple-document area with the menus "Archivo" and
// "Exploracion de nuevos equipos". Until the device list window exists it shows the found
// devices in a plain list inside the area.
class MDIFrmMainView : public QMainWindow, public DeviceListHost {
    Q_OBJECT
  public:
    MDIFrmMainView(MDIFrmMain& frm, AppState& st, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return area_; }
    void sync();

    // DeviceListHost: the plain list of found devices.
    void ShowDeviceList(const QString& caption) override;
    void UnloadDeviceList() override;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    MDIFrmMain& frm_;
    AppState& st_;
    QMdiArea* area_;
    QMenu *file_, *connection_;
    QAction *exit_, *searchNewId_;
    QTimer* timer3_;
    QMdiSubWindow* list_ = nullptr;
};
