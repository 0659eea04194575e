#pragma once
#include "memories/FrmStorePrj.h"
#include "platform/ui/BoundControls.h"

#include <QDialog>

class QListWidget;
class QProgressBar;

// The view of "Store Factory project": the output preset files, the sixteen positions with
// their marks, the five buttons and the transfer progress.
class FrmStorePrjView : public QDialog {
    Q_OBJECT
  public:
    FrmStorePrjView(FrmStorePrj& form, QWidget* parent = nullptr);
    ~FrmStorePrjView() override;

  protected:
    void reject() override;

  private:
    void sync();
    FrmStorePrj& form_;
    ControlBinder bind_;
    QListWidget* file1_;
    QListWidget* list1_;
    QProgressBar* progress_;
    bool syncing_ = false; // sync() is showing the form's state in the widgets
};

class QtDialogService;
// Makes the dialog service show FrmStorePrj through this view.
void RegisterFrmStorePrjView(QtDialogService& dialogs);
