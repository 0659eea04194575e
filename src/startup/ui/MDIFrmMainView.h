#pragma once
#include "startup/MDIFrmMain.h"

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMenu;
class QTimer;

// The view of the main window: a multiple-document area, which holds the device list and the
// editing windows, with the menus "Archivo" and "Exploracion de nuevos equipos".
class MDIFrmMainView : public QMainWindow {
    Q_OBJECT
  public:
    MDIFrmMainView(MDIFrmMain& frm, AppState& st, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return area_; }
    void sync();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    MDIFrmMain& frm_;
    AppState& st_;
    QMdiArea* area_;
    QMenu *file_, *connection_;
    QAction *exit_, *searchNewId_;
    QTimer* timer3_;
};
