#pragma once
// View of the device list "Lista ID": the header grid, the list grid and the two notices.
#include "bus/DeviceListHost.h"
#include "bus/FrmSearchNet.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QTableWidget;

class FrmSearchNetView : public QWidget {
    Q_OBJECT
  public:
    explicit FrmSearchNetView(FrmSearchNet& form, QWidget* parent = nullptr);

    // Shows the form's state again: size, cells, colours, notices, pointer and timer.
    void sync();
    QTableWidget* listGrid() const { return grid1_; }

  private:
    void syncGrid(QTableWidget* view, const FlexGrid& grid);

    FrmSearchNet& form_;
    QTableWidget* grid2_;
    QTableWidget* grid1_;
    QLabel* label1_;
    QLabel* label2_;
    QTimer timer_;
};

// The device list inside the main window's document area: loads the list afresh each time it is
// shown and closes it only for the rescan.
class QMdiArea;
class QMdiSubWindow;

class DeviceListWindow : public QObject, public DeviceListHost {
    Q_OBJECT
  public:
    DeviceListWindow(FrmSearchNet& form, AppState& st, QMdiArea* area);

    void ShowDeviceList(const QString& caption) override;
    void UnloadDeviceList() override;
    bool shown() const { return sub_ != nullptr; }
    FrmSearchNetView* view() const { return view_; }

  protected:
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    FrmSearchNet& form_;
    AppState& st_;
    QMdiArea* area_;
    QMdiSubWindow* sub_ = nullptr;
    FrmSearchNetView* view_ = nullptr;
};
