#include "startup/ui/LoginDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
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
    text1_ = new QLineEdit(frame1_);
    text1_->setEchoMode(QLineEdit::Password);
    text1_->installEventFilter(this);
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
    connect(command2_, &QPushButton::clicked, this, [this] {
        form_.Command2_Click();
        sync();
    });
    connect(command1_, &QPushButton::clicked, this, [this] {
        form_.Command1_Click();
        sync();
    });
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

bool LoginDialog::eventFilter(QObject* obj, QEvent* e) {
    if (obj == text1_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            int key = 13;
            form_.Text1_KeyPress(key);
            sync();
            return true;
        }
    }
    return QDialog::eventFilter(obj, e);
}
