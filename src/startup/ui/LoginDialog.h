#pragma once
// View of the service login.
#include "startup/FrmLogin.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class LoginDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LoginDialog(FrmLogin& form, QWidget* parent = nullptr);
    void sync();
    QLineEdit* codeBox() const { return text1_; }

  protected:
  private:
    FrmLogin& form_;
    QGroupBox* frame1_;
    QLabel* label1_;
    QLineEdit* text1_;
    QPushButton* command2_;
    QPushButton* command1_;
};
