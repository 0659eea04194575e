#include "window/ui/FrmVmView.h"

#include "platform/ui/ViewSupport.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>

FrmVmView::FrmVmView(FrmVm& frm, QWidget* parent) : QDialog(parent), frm_(frm) {
    setWindowTitle(frm_.Caption.isEmpty() ? frm_.Label1.Caption : frm_.Caption);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    label1_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(label1_);
    lay->addWidget(bar_);
    setMinimumWidth(300);
    const QPoint origin = parent ? parent->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    move(origin + QPoint(TwipsToPixels(frm_.Left), TwipsToPixels(frm_.Top)));
    // The window object may go before this view is deleted: the hook checks the view is there.
    frm_.ProgressBar1.Changed = [view = QPointer<FrmVmView>(this)] {
        if (!view) return;
        view->sync();
        view->bar_->repaint();
    };
    sync();
}

void FrmVmView::sync() {
    label1_->setText(frm_.Label1.Caption);
    const ProgressBar& p = frm_.ProgressBar1;
    if (bar_->minimum() != p.Min || bar_->maximum() != p.Max) bar_->setRange(p.Min, p.Max);
    bar_->setValue(p.value());
    ShowControlState(bar_, p);
}
