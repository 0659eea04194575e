#include "startup/ui/LoginDialog.h"

#include "platform/ui/BoundControls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoginDialog::LoginDialog(FrmLogin& form, QWidget* parent) : QDialog(parent), form_(form) {
    setWindowTitle(form_.Caption);
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    frame1_ = new QGroupBox(this);
    auto* inner = new QVBoxLayout(frame1_);
    label1_ = new QLabel(form_.Label1.Caption, frame1_);
    auto* code = new KeyLineEdit(frame1_);
    code->keyPress = [this](int& key) {
        if (form_.Text1.KeyPress) form_.Text1.KeyPress(key);
        sync();
    };
    text1_ = code;
    text1_->setEchoMode(QLineEdit::Password);
    inner->addWidget(label1_);
    inner->addWidget(text1_);
    auto* buttons = new QHBoxLayout;
    command2_ = new QPushButton(form_.Command2.Caption, frame1_);
    command1_ = new QPushButton(form_.Command1.Caption, frame1_);
    command2_->setAutoDefault(false);
    command1_->setAutoDefault(false);
    buttons->addWidget(command2_);
    buttons->addWidget(command1_);
    inner->addLayout(buttons);
    outer->addWidget(frame1_);

    connect(text1_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.Text1.Text = t; });
    BindButton(command2_, form_.Command2, [this] { sync(); });
    BindButton(command1_, form_.Command1, [this] { sync(); });
    form_.Unload = [this] { accept(); };
}

void LoginDialog::sync() {
    label1_->setText(form_.Label1.Caption);
    if (text1_->text() != form_.Text1.Text) text1_->setText(form_.Text1.Text);
    if (form_.Text1SelectAll) {
        form_.Text1SelectAll = false;
        text1_->setFocus();
        text1_->selectAll();
    }
}
