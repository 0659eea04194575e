#include "startup/ui/VersionDialog.h"

#include "platform/ui/BoundControls.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

VersionDialog::VersionDialog(FrmVersion& form, QWidget* parent) : QDialog(parent), form_(form) {
    setWindowTitle(form_.Caption);
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("<b>Talvenor</b>"), this);
    title->setAlignment(Qt::AlignCenter);
    outer->addWidget(title);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    outer->addWidget(line);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(form_.Label1[0].Caption, this), 0, 0);
    grid->addWidget(new QLabel(form_.Label1[1].Caption, this), 1, 0);
    label2_ = new QLabel(this);
    label3_ = new QLabel(this);
    label4_ = new QLabel(this);
    grid->addWidget(label2_, 0, 1);
    grid->addWidget(label3_, 1, 1);
    grid->addWidget(label4_, 2, 0, 1, 2, Qt::AlignCenter);
    outer->addLayout(grid);
    auto* ok = new QPushButton(form_.Command1.Caption, this);
    outer->addWidget(ok, 0, Qt::AlignCenter);
    BindButton(ok, form_.Command1, nullptr);
    sync();
}

void VersionDialog::sync() {
    label2_->setText(form_.Label2.Caption);
    label3_->setText(form_.Label3.Caption);
    label4_->setText(form_.Label4.Caption);
}
