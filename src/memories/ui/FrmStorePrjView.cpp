#include "memories/ui/FrmStorePrjView.h"

#include "platform/ui/QtDialogService.h"
#include "memories/ui/MemoryViewSupport.h"
#include "platform/ui/ViewSupport.h"

#include <QGroupBox>
#include <QListWidget>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QSignalBlocker>

FrmStorePrjView::FrmStorePrjView(FrmStorePrj& form, QWidget* parent)
    : QDialog(parent), form_(form), bind_([this] { sync(); }) {
    setWindowTitle(form_.Caption);
    setFixedSize(660, 380);

    bind_.label(form_.Label1[0], this, QRect(10, 10, 200, 20));
    file1_ = new QListWidget(this);
    file1_->setGeometry(10, 32, 200, 300);
    connect(file1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        form_.File1.setListIndex(file1_->row(item));
        sync();
    });
    connect(file1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        form_.File1.setListIndex(file1_->row(item));
        if (form_.File1.DblClick) form_.File1.DblClick();
        sync();
    });

    QGroupBox* frame = bind_.frame(form_.Frame1, this, QRect(220, 4, 250, 330));
    bind_.label(form_.Label1[1], frame, QRect(10, 20, 230, 20));
    list1_ = new QListWidget(frame);
    list1_->setGeometry(10, 42, 230, 280);
    list1_->setSelectionMode(QAbstractItemView::MultiSelection);
    // Every way the list changes its marks (click, Space, Ctrl+A, a drag) reaches the form's
    // marks, and the highlighted row is the form's current row, so that what the list shows
    // marked is what the list's buttons save.
    connect(list1_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& on, const QItemSelection& off) {
                if (syncing_) return;
                for (const QModelIndex& i : off.indexes())
                    form_.List1.setSelected(i.row(), false);
                for (const QModelIndex& i : on.indexes())
                    form_.List1.setSelected(i.row(), true);
            });
    connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncing_) return;
        form_.List1.setListIndex(row);
        sync();
    });

    for (int i = 0; i < 5; ++i)
        bind_.button(form_.Command1[static_cast<size_t>(i)], this, QRect(480, 32 + 44 * i, 170, 34));

    progress_ = new QProgressBar(this);
    progress_->setGeometry(10, 345, 640, 22);

    // Device transfers run to their end inside one click; the bar is painted after every
    // step (no events run meanwhile).
    form_.ShowProgress = [this] {
        sync();
        progress_->repaint();
    };
    sync();
}

FrmStorePrjView::~FrmStorePrjView() {
    form_.ShowProgress = nullptr;
}

void FrmStorePrjView::sync() {
    // Showing the form's marks changes the list's selection: that is not the operator's doing.
    const QScopedValueRollback<bool> showing(syncing_, true);
    bind_.sync();
    ShowMarkedList(file1_, form_.File1);
    ShowMarkedList(list1_, form_.List1);
    progress_->setRange(form_.ProgressBar1.Min, form_.ProgressBar1.Max);
    progress_->setValue(form_.ProgressBar1.value());
    ShowControlState(progress_, form_.ProgressBar1);
    ShowMousePointer(this, form_.MousePointer);
}

void FrmStorePrjView::reject() {
    // The close box and Escape leave as "Exit" does.
    form_.Command1[4].Click();
}

void RegisterFrmStorePrjView(QtDialogService& dialogs) {
    dialogs.Register<FrmStorePrj>(
        [](FrmStorePrj& f, QWidget* parent) { return new FrmStorePrjView(f, parent); });
}
