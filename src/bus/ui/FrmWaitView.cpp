#include "bus/ui/FrmWaitView.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

FrmWaitView::FrmWaitView(FrmWait& frm, QWidget* parent) : QDialog(parent), frm_(frm) {
    setWindowTitle(frm_.Label1.Caption);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    label1_ = new QLabel(this);
    label3_ = new QLabel(this);
    label2_ = new QLabel(this);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(label1_);
    lay->addWidget(label3_);
    lay->addWidget(label2_);
    setMinimumWidth(280);
    timer1_ = new QTimer(this);
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, this, [this] {
        frm_.Timer1.Tick();
        sync();
        if (!frm_.closed() && frm_.Timer1.Enabled) timer1_->start(frm_.Timer1.Interval);
    });
    frm_.Refresh = [this] {
        sync();
        label2_->repaint();
    };
    sync();
    if (frm_.Timer1.Enabled) timer1_->start(frm_.Timer1.Interval);
}

void FrmWaitView::sync() {
    label1_->setText(frm_.Label1.Caption);
    label3_->setText(frm_.Label3.Caption);
    label2_->setText(frm_.Label2.Caption);
}

FrmWaitView::~FrmWaitView() {
    frm_.Refresh = nullptr;
}
