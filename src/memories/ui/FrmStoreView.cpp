#include "memories/ui/FrmStoreView.h"

#include "memories/ui/MemoryViewSupport.h"
#include "platform/ui/ViewSupport.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

FrmStoreView::FrmStoreView(FrmStore& frm, QWidget* parent)
    : QDialog(parent), frm_(frm), binder_([this] { sync(); }) {
    setWindowTitle(frm_.Caption);
    const QRect button(0, 0, 90, 26);
    QLabel* label3 = binder_.label(frm_.Label3, this, {});
    list1_ = MemoryList(this, frm_.List1, frm_.List1Columns, [this] { sync(); });
    QLabel* label2[2] = {binder_.label(frm_.Label2[0], this, {}), binder_.label(frm_.Label2[1], this, {})};
    QComboBox* combo1 = binder_.combo(frm_.Combo1, this, {}); // a pure drop-down list
    text1_ = new NameLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->keyPress = [this](int& key) {
        if (frm_.Text1.KeyPress) frm_.Text1.KeyPress(key);
        sync();
    };
    connect(text1_, &QLineEdit::textEdited, this, [this](const QString& s) { frm_.Text1.Text = s; });
    progress_ = new QProgressBar(this);
    QPushButton* command1[2] = {binder_.button(frm_.Command1[0], this, button),
                                binder_.button(frm_.Command1[1], this, button)};
    for (QPushButton* b : command1)
        b->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(label2[0], 0, 0);
    fields->addWidget(combo1, 0, 1);
    fields->addWidget(label2[1], 1, 0);
    fields->addWidget(text1_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1[0]);
    buttons->addWidget(command1[1]);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(label3);
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
    binder_.sync();
    ShowList(list1_, frm_.List1);
    // The field shows at most MaxLength characters; the name keeps what the procedures set.
    // Setting the limit again would set the text again and lose the selection and the caret, so
    // it is set only when it changes.
    const int limit = frm_.Text1.MaxLength > 0 ? frm_.Text1.MaxLength : 32767;
    if (text1_->maxLength() != limit) text1_->setMaxLength(limit);
    if (text1_->text() != frm_.Text1.Text.left(text1_->maxLength())) text1_->setText(frm_.Text1.Text);
    progress_->setRange(frm_.ProgressBar1.Min, frm_.ProgressBar1.Max);
    progress_->setValue(frm_.ProgressBar1.value());
    ShowControlState(progress_, frm_.ProgressBar1);
    ShowMousePointer(this, frm_.MousePointer);
}

void FrmStoreView::reject() {
    // The close box and Escape close the dialog like "Cancelar".
    if (frm_.Command1[0].Click) frm_.Command1[0].Click();
}
