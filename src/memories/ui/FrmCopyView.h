#pragma once
#include "memories/FrmCopy.h"
#include "platform/ui/BoundControls.h"

#include <QDialog>

class QListWidget;
class QProgressBar;

// The view of "Copy Data": the source, the candidate list with its marks, the three buttons and
// the copy's progress.
class FrmCopyView : public QDialog {
    Q_OBJECT
  public:
    FrmCopyView(FrmCopy& form, QWidget* parent = nullptr);
    ~FrmCopyView() override;
    void sync();

  protected:
    void reject() override;

  private:
    FrmCopy& form_;
    ControlBinder bind_;
    QListWidget* list1_;
    QProgressBar* progress_;
};
