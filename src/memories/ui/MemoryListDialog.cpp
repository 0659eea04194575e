#include "memories/ui/MemoryListDialog.h"

#include "memories/ui/MemoryViewSupport.h"
#include "platform/ui/ViewSupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MemoryListDialog::MemoryListDialog(Binding b, QWidget* parent) : QDialog(parent), b_(std::move(b)) {
    setWindowTitle(b_.caption);
    label3_ = new QLabel(b_.label3.Caption, this);
    list1_ = MemoryList(this, b_.columns);
    label2_ = new QLabel(b_.label2.Caption, this);
    for (int i = 0; i < 2; ++i) {
        command1_[i] = new QPushButton(b_.command1[static_cast<size_t>(i)].Caption, this);
        command1_[i]->setAutoDefault(false);
        connect(command1_[i], &QPushButton::clicked, this, [this, i] {
            b_.command1Click(i);
            sync();
        });
    }
    connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) {
        b_.list1.setListIndex(row);
        sync();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_[0]);
    buttons->addWidget(command1_[1]);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(label3_);
    lay->addWidget(list1_);
    lay->addWidget(label2_);
    lay->addLayout(buttons);
    b_.refresh = [this] {
        sync();
        repaint();
    };
    sync();
}

MemoryListDialog::~MemoryListDialog() {
    b_.refresh = nullptr;
}

void MemoryListDialog::sync() {
    ShowList(list1_, b_.list1);
    ShowControlState(label2_, b_.label2);
    ShowMousePointer(this, b_.mousePointer);
}

void MemoryListDialog::reject() {
    // The close box and Escape close the dialog like "Cancelar".
    b_.command1Click(0);
}
