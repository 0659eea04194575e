#pragma once
// View of the device list "Lista ID": the header grid, the list grid and the two notices.
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

// The device list's view as a document window of the main window's area, not yet shown; the
// dialog service shows it and closes it when the list unloads.
class QMdiArea;
QWidget* DeviceListDocument(FrmSearchNet& form, QMdiArea* area);
