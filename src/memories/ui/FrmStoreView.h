#pragma once
#include "memories/FrmStore.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
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
    QLabel* label3_;
    QListWidget* list1_;
    QLabel* label2_[2];
    QComboBox* combo1_;
    NameLineEdit* text1_;
    QProgressBar* progress_;
    QPushButton* command1_[2];
};
