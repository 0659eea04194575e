#pragma once
#include "bus/FrmNameDevice.h"
#include "platform/ui/BoundControls.h"

#include <QDialog>

class QLineEdit;

// The view of "Nombre de equipo". Its name field takes text only through the field's key
// procedure (an input method's text too, one character at a time): pasting (by keys, menu or
// middle button) and dropping are refused.
class FrmNameDeviceView : public QDialog {
    Q_OBJECT
  public:
    // The dialog service shows the view modally; "Confirmar" and "Cancelar" unload the dialog.
    FrmNameDeviceView(FrmNameDevice& frm, QWidget* parent = nullptr);
    ~FrmNameDeviceView() override;

    QLineEdit* nameField() const { return text1_; }

  protected:
    void reject() override; // the close box and Esc outside the field: "Cancelar"
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void sync();
    FrmNameDevice& frm_;
    ControlBinder bind_;
    QLineEdit* text1_;
};
