#pragma once
#include "window/FrmVm.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The view of the wait box: its text and progress bar, placed at the box's twips from the top
// left corner of its parent window. It repaints at once whenever the bar moves, as the transfer
// runs with no window events.
class FrmVmView : public QDialog {
    Q_OBJECT
  public:
    FrmVmView(FrmVm& frm, QWidget* parent = nullptr);

  protected:
    void reject() override {} // the transfer closes the box, not the operator

  private:
    void sync();
    FrmVm& frm_;
    QLabel* label1_;
    QProgressBar* bar_;
};
