#pragma once
#include "bus/FrmEquipo.h"

#include <QDialog>

class QRadioButton;
class QPushButton;

// The view of the model dialog "Seleccionar equipo".
class FrmEquipoView : public QDialog {
    Q_OBJECT
  public:
    FrmEquipoView(FrmEquipo& frm, QWidget* parent = nullptr);

    // Shows the dialog modally until one of its buttons or the close box ends it.
    static void RunModal(FrmEquipo& frm, QWidget* parent);

  protected:
    void reject() override;

  private:
    void sync();
    void afterEvent();
    FrmEquipo& frm_;
    QRadioButton* option1_[2];
    QPushButton* command1_[2];
};
