#pragma once
#include "memories/FrmType.h"
#include "platform/ui/BoundControls.h"

#include <QDialog>

class QListWidget;
class QProgressBar;

// The view of "Leer Tipo sistema": the sixteen speaker slots, the last loaded type, "Leer",
// "Cancelar" and the load's progress.
class FrmTypeView : public QDialog {
    Q_OBJECT
  public:
    FrmTypeView(FrmType& form, QWidget* parent = nullptr);
    ~FrmTypeView() override;

  protected:
    void reject() override;

  private:
    void sync();
    FrmType& form_;
    ControlBinder bind_;
    QListWidget* list1_;
    QProgressBar* progress_;
};
