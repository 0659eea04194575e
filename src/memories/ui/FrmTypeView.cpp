#include "memories/ui/FrmTypeView.h"

#include "memories/ui/MemoryViewSupport.h"
#include "platform/ui/ViewSupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

FrmTypeView::FrmTypeView(FrmType& form, QWidget* parent)
    : QDialog(parent), form_(form), bind_([this] { sync(); }) {
    setWindowTitle(form_.Caption);
    const QRect button(0, 0, 90, 26);
    QLabel* available = bind_.label(form_.Label1[1], this, {});
    list1_ = new QListWidget(this);
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    list1_->setMinimumSize(list1_->fontMetrics().horizontalAdvance(QStringLiteral("00 - WWWWWWWWWWWWWWW")) +
                               30,
                           list1_->fontMetrics().height() * 16 + 12);
    connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) {
        form_.List1.setListIndex(row);
        sync();
    });
    QLabel* last = bind_.label(form_.Label1[0], this, {});
    QLineEdit* text1 = bind_.textBox(form_.Text1, this, {});
    progress_ = new QProgressBar(this);
    auto* buttons = new QHBoxLayout;
    for (CommandButton& c : form_.Command1) {
        QPushButton* w = bind_.button(c, this, button);
        w->setAutoDefault(false);
        buttons->addWidget(w);
    }

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(available);
    lay->addWidget(list1_);
    lay->addWidget(last);
    lay->addWidget(text1);
    lay->addWidget(progress_);
    lay->addLayout(buttons);

    // A load runs to its end inside one click; the view is painted after every step.
    form_.Refresh = [this] {
        sync();
        repaint();
    };
    sync();
}

FrmTypeView::~FrmTypeView() {
    form_.Refresh = nullptr;
}

void FrmTypeView::sync() {
    bind_.sync();
    ShowList(list1_, form_.List1);
    progress_->setRange(form_.ProgressBar1.Min, form_.ProgressBar1.Max);
    progress_->setValue(form_.ProgressBar1.value());
    ShowControlState(progress_, form_.ProgressBar1);
    ShowMousePointer(this, form_.MousePointer);
}

void FrmTypeView::reject() {
    // The close box and Escape close the dialog like "Cancelar".
    form_.Command1[1].Click();
}
