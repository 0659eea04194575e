#pragma once
#include "bus/FrmEquipo.h"

#include <QDialog>

class QRadioButton;
class QPushButton;

// The view of the model dialog "Seleccionar equipo".
class FrmEquipoView : public QDialog {
    Q_OBJECT
  public:
    // The dialog service shows the view; a button or the close box unloads the dialog.
    FrmEquipoView(FrmEquipo& frm, QWidget* parent = nullptr);

  protected:
    void reject() override;

  private:
    void sync();
    void afterEvent();
    FrmEquipo& frm_;
    QRadioButton* option1_[2];
    QPushButton* command1_[2];
};
