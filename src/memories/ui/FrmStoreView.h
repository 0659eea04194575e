#pragma once
#include "memories/FrmStore.h"
#include "platform/ui/BoundControls.h"

#include <QDialog>

class QListWidget;
class QProgressBar;
class NameLineEdit;

// The view of "Guardar Memoria".
class FrmStoreView : public QDialog {
    Q_OBJECT
  public:
    FrmStoreView(FrmStore& frm, QWidget* parent = nullptr);
    ~FrmStoreView() override;
    void sync();

  protected:
    void reject() override;

  private:
    FrmStore& frm_;
    ControlBinder binder_;
    QListWidget* list1_;
    NameLineEdit* text1_;
    QProgressBar* progress_;
};
