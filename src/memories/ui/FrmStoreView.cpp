#include "memories/ui/FrmStoreView.h"

#include "memories/ui/MemoryViewSupport.h"
#include "platform/ui/ViewSupport.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

FrmStoreView::FrmStoreView(FrmStore& frm, QWidget* parent) : QDialog(parent), frm_(frm) {
    setWindowTitle(frm_.Caption);
    label3_ = new QLabel(frm_.Label3.Caption, this);
    list1_ = MemoryList(this, frm_.List1Columns);
    for (int i = 0; i < 2; ++i)
        label2_[i] = new QLabel(frm_.Label2[static_cast<size_t>(i)].Caption, this);
    combo1_ = new QComboBox(this); // a pure drop-down list: nothing can be typed into it
    combo1_->addItems(frm_.Combo1.items);
    text1_ = new NameLineEdit(this, [this](int& key) {
        frm_.Text1_KeyPress(key);
        sync();
    });
    text1_->setObjectName(QStringLiteral("Text1"));
    progress_ = new QProgressBar(this);
    for (int i = 0; i < 2; ++i) {
        command1_[i] = new QPushButton(frm_.Command1[static_cast<size_t>(i)].Caption, this);
        command1_[i]->setAutoDefault(false);
        connect(command1_[i], &QPushButton::clicked, this, [this, i] {
            frm_.Command1_Click(i);
            sync();
        });
    }
    connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) {
        frm_.List1.setListIndex(row);
        sync();
    });
    connect(list1_, &QListWidget::itemDoubleClicked, this, [this] {
        frm_.List1_DblClick();
        sync();
    });
    connect(combo1_, &QComboBox::activated, this, [this](int i) {
        frm_.Combo1.setListIndex(i);
        sync();
    });
    connect(text1_, &QLineEdit::textEdited, this, [this](const QString& s) { frm_.Text1.Text = s; });

    auto* fields = new QGridLayout;
    fields->addWidget(label2_[0], 0, 0);
    fields->addWidget(combo1_, 0, 1);
    fields->addWidget(label2_[1], 1, 0);
    fields->addWidget(text1_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_[0]);
    buttons->addWidget(command1_[1]);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(label3_);
    lay->addWidget(list1_);
    lay->addLayout(fields);
    lay->addWidget(progress_);
    lay->addLayout(buttons);

    frm_.Refresh = [this] {
        sync();
        repaint();
    };
    sync();
}

FrmStoreView::~FrmStoreView() {
    frm_.Refresh = nullptr;
}

void FrmStoreView::sync() {
    ShowList(list1_, frm_.List1);
    {
        const QSignalBlocker block(combo1_);
        if (combo1_->currentIndex() != frm_.Combo1.listIndex())
            combo1_->setCurrentIndex(frm_.Combo1.listIndex());
    }
    text1_->setMaxLength(frm_.Text1.MaxLength > 0 ? frm_.Text1.MaxLength : 32767);
    if (text1_->text() != frm_.Text1.Text.left(text1_->maxLength())) text1_->setText(frm_.Text1.Text);
    progress_->setRange(frm_.ProgressBar1.Min, frm_.ProgressBar1.Max);
    progress_->setValue(frm_.ProgressBar1.value());
    ShowControlState(progress_, frm_.ProgressBar1);
    ShowMousePointer(this, frm_.MousePointer);
}

void FrmStoreView::reject() {
    // The close box and Escape close the dialog like "Cancelar".
    frm_.Command1_Click(0);
}
