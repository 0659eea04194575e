#include "memories/ui/FrmCopyView.h"

#include "memories/ui/MemoryViewSupport.h"
#include "platform/ui/ViewSupport.h"

#include <QListWidget>
#include <QProgressBar>
#include <QSignalBlocker>

FrmCopyView::FrmCopyView(FrmCopy& form, QWidget* parent)
    : QDialog(parent), form_(form), bind_([this] { sync(); }) {
    setWindowTitle(form_.Caption);
    setFixedSize(470, 330);

    bind_.label(form_.Label1[0], this, QRect(10, 10, 260, 20));
    bind_.label(form_.Label2, this, QRect(10, 32, 260, 20));
    bind_.label(form_.Label1[2], this, QRect(10, 62, 260, 20));
    list1_ = new QListWidget(this);
    list1_->setGeometry(10, 84, 260, 200);
    list1_->setSelectionMode(QAbstractItemView::MultiSelection);
    connect(list1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        form_.List1.clickRow(list1_->row(item));
        sync();
    });
    const int tops[] = {84, 180, 132}; // copy, exit, clear
    for (int i = 0; i < 3; ++i)
        bind_.button(form_.Command2[static_cast<size_t>(i)], this, QRect(285, tops[i], 175, 40));

    progress_ = new QProgressBar(this);
    progress_->setGeometry(10, 296, 450, 22);

    // The copy runs inside one click: the state is painted after every step.
    form_.Refresh = [this] {
        sync();
        repaint();
    };
    sync();
}

FrmCopyView::~FrmCopyView() {
    form_.Refresh = nullptr;
}

void FrmCopyView::sync() {
    bind_.sync();
    ShowMarkedList(list1_, form_.List1);
    progress_->setRange(form_.ProgressBar1.Min, form_.ProgressBar1.Max);
    progress_->setValue(form_.ProgressBar1.value());
    ShowControlState(progress_, form_.ProgressBar1);
    ShowMousePointer(this, form_.MousePointer);
}

void FrmCopyView::reject() {
    // The close box and Escape leave as "Exit" does, unless the window refuses to close.
    bool cancel = false;
    form_.Form_QueryUnload(cancel);
    if (!cancel) form_.Unload();
}
