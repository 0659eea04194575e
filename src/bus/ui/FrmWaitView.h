#pragma once
#include "bus/ScanBus.h"

#include <QDialog>

class QLabel;
class QTimer;

// The view of the wait window "Buscando nuevo ID": runs its timer and shows the progress.
class FrmWaitView : public QDialog {
    Q_OBJECT
  public:
    // The dialog service shows the view modally; the rescan unloads the window when it is done.
    FrmWaitView(FrmWait& frm, QWidget* parent = nullptr);
    ~FrmWaitView() override;

  protected:
    void reject() override {} // the rescan ends the window, not the operator

  private:
    void sync();
    FrmWait& frm_;
    QLabel *label1_, *label2_, *label3_;
    QTimer* timer1_;
};
