#pragma once
// View of the About box.
#include "startup/FrmVersion.h"

#include <QDialog>

class QLabel;

class VersionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit VersionDialog(FrmVersion& form, QWidget* parent = nullptr);
    void sync();

  private:
    FrmVersion& form_;
    QLabel* label2_;
    QLabel* label3_;
    QLabel* label4_;
};
