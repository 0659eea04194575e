#pragma once
#include "platform/ui/BoundControls.h"
#include "window/FrmSelFilter.h"

#include <QDialog>

// The view of the filter-type dialog "Seleccionar Filtro".
class FrmSelFilterView : public QDialog {
    Q_OBJECT
  public:
    // The dialog service shows the view; a button or the close box unloads the dialog.
    explicit FrmSelFilterView(FrmSelFilter& frm, QWidget* parent = nullptr);

  protected:
    void reject() override;

  private:
    FrmSelFilter& frm_;
    ControlBinder bind_;
};
