#include "memories/ui/MemoryListDialog.h"

#include "memories/ui/MemoryViewSupport.h"
#include "platform/ui/ViewSupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MemoryListDialog::MemoryListDialog(Binding b, QWidget* parent)
    : QDialog(parent), b_(b), binder_([this] { sync(); }) {
    setWindowTitle(b_.caption);
    const QRect button(0, 0, 90, 26);
    QLabel* label3 = binder_.label(b_.label3, this, {});
    list1_ = MemoryList(this, b_.list1, b_.columns, [this] { sync(); });
    QLabel* label2 = binder_.label(b_.label2, this, {});
    auto* buttons = new QHBoxLayout;
    for (CommandButton& c : b_.command1) {
        QPushButton* w = binder_.button(c, this, button);
        w->setAutoDefault(false);
        buttons->addWidget(w);
    }
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(label3);
    lay->addWidget(list1_);
    lay->addWidget(label2);
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
    binder_.sync();
    ShowList(list1_, b_.list1);
    ShowMousePointer(this, b_.mousePointer);
}

void MemoryListDialog::reject() {
    // The close box and Escape close the dialog like "Cancelar".
    if (b_.command1[0].Click) b_.command1[0].Click();
}
