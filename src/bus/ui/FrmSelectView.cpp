#include "bus/ui/FrmSelectView.h"

#include "platform/ui/BoundControls.h"
#include "platform/ui/ViewSupport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {
constexpr int kClientHeight = 5715; // twips
constexpr int kBorder = 60;         // twips the window's border takes from its width
} // namespace

QGroupBox* FrmSelectView::frame(const Frame& f, QWidget* parent) {
    auto* g = new QGroupBox(f.Caption, parent);
    PlaceWidget(g, f);
    return g;
}

QComboBox* FrmSelectView::combo(ComboBox& c, QWidget* parent, std::function<void()> after) {
    auto* w = new QComboBox(parent);
    PlaceWidget(w, c);
    connect(w, &QComboBox::activated, this, [this, &c, after](int i) {
        c.setListIndex(i);
        if (after) after();
        afterEvent();
    });
    combos_.emplace_back(w, &c);
    return w;
}

FrmSelectView::FrmSelectView(FrmSelect& frm, QWidget* parent) : QDialog(parent), frm_(frm) {
    setWindowTitle(frm_.Caption);

    // The two chain ID groups lie right of the main column.
    for (int g = 0; g < 2; ++g) {
        frame4_[g] = frame(frm_.Frame4[static_cast<size_t>(g)], this);
        for (int k = 0; k < 10; ++k) {
            const int i = 10 * g + k;
            label1_[i] = new QLabel(frm_.Label1[static_cast<size_t>(i)].Caption, frame4_[g]);
            PlaceWidget(label1_[i], frm_.Label1[static_cast<size_t>(i)]);
            combo3_[i] = combo(frm_.Combo3[static_cast<size_t>(i)], frame4_[g], nullptr);
        }
    }
    command17_ = new QPushButton(frm_.Command17.Caption, this);
    PlaceWidget(command17_, frm_.Command17);

    frame10_ = frame(frm_.Frame10, this);
    command3_ = new QPushButton(frame10_);
    PlaceWidget(command3_, frm_.Command3);
    BindButton(command3_, frm_.Command3, [this] { afterEvent(); });

    frame1_ = frame(frm_.Frame1, this);
    for (int i = 0; i < 4; ++i) {
        option1_[i] = new QRadioButton(frm_.Option1[static_cast<size_t>(i)].Caption, frame1_);
        PlaceWidget(option1_[i], frm_.Option1[static_cast<size_t>(i)]);
        BindOption(option1_[i], frm_.Option1[static_cast<size_t>(i)], [this] { afterEvent(); });
    }

    frame9_ = frame(frm_.Frame9, this);
    for (int g = 0; g < 2; ++g) {
        frame12_[g] = frame(frm_.Frame12[static_cast<size_t>(g)], frame9_);
        frame12_[g]->setFlat(true);
    }
    for (int i = 0; i < 2; ++i) {
        option3_[i] = new QRadioButton(frm_.Option3[static_cast<size_t>(i)].Caption, frame12_[1]);
        PlaceWidget(option3_[i], frm_.Option3[static_cast<size_t>(i)]);
        BindOption(option3_[i], frm_.Option3[static_cast<size_t>(i)], [this] { afterEvent(); });
        check1_[i] = new QCheckBox(frm_.Check1[static_cast<size_t>(i)].Caption, frame12_[0]);
        PlaceWidget(check1_[i], frm_.Check1[static_cast<size_t>(i)]);
        BindCheck(check1_[i], frm_.Check1[static_cast<size_t>(i)], [this] { afterEvent(); });
    }

    frame2_ = frame(frm_.Frame2, this);
    combo2_ = combo(frm_.Combo2, frame2_, nullptr);
    frame3_ = frame(frm_.Frame3, this);
    combo1_ = combo(frm_.Combo1, frame3_, nullptr);

    frame11_ = frame(frm_.Frame11, this);
    for (int i = 0; i < 2; ++i) {
        command1_[i] = new QPushButton(frm_.Command1[static_cast<size_t>(i)].Caption, frame11_);
        PlaceWidget(command1_[i], frm_.Command1[static_cast<size_t>(i)]);
        BindButton(command1_[i], frm_.Command1[static_cast<size_t>(i)], [this] { afterEvent(); });
    }

    // The ID configuration panel covers the main column when shown.
    frame6_ = frame(frm_.Frame6, this);
    frame6_->setAutoFillBackground(true);
    frame7_ = frame(frm_.Frame7, frame6_);
    label2_[0] = new QLabel(frm_.Label2[0].Caption, frame7_);
    PlaceWidget(label2_[0], frm_.Label2[0]);
    combo5_ = combo(frm_.Combo5, frame7_, nullptr);
    frame13_ = frame(frm_.Frame13, frame6_);
    label3_ = new QLabel(frame13_);
    PlaceWidget(label3_, frm_.Label3);
    frame8_ = frame(frm_.Frame8, frame6_);
    label2_[1] = new QLabel(frm_.Label2[1].Caption, frame8_);
    PlaceWidget(label2_[1], frm_.Label2[1]);
    combo4_ = combo(frm_.Combo4, frame8_, nullptr);
    for (int i = 0; i < 2; ++i) {
        command2_[i] = new QPushButton(frm_.Command2[static_cast<size_t>(i)].Caption, frame6_);
        PlaceWidget(command2_[i], frm_.Command2[static_cast<size_t>(i)]);
        BindButton(command2_[i], frm_.Command2[static_cast<size_t>(i)], [this] { afterEvent(); });
    }

    frm_.Refresh = [this] {
        sync();
        repaint();
    };
    sync();
}

void FrmSelectView::sync() {
    setFixedSize(TwipsToPixels(frm_.Width - kBorder), TwipsToPixels(kClientHeight));
    ShowMousePointer(this, frm_.MousePointer);
    command3_->setText(frm_.Command3.Caption);
    ShowControlState(command3_, frm_.Command3);
    const std::pair<QGroupBox*, const Frame*> frames[] = {
        {frame10_, &frm_.Frame10},       {frame1_, &frm_.Frame1},        {frame9_, &frm_.Frame9},
        {frame2_, &frm_.Frame2},         {frame3_, &frm_.Frame3},        {frame11_, &frm_.Frame11},
        {frame6_, &frm_.Frame6},         {frame7_, &frm_.Frame7},        {frame13_, &frm_.Frame13},
        {frame8_, &frm_.Frame8},         {frame4_[0], &frm_.Frame4[0]},  {frame4_[1], &frm_.Frame4[1]},
        {frame12_[0], &frm_.Frame12[0]}, {frame12_[1], &frm_.Frame12[1]}};
    for (const auto& [w, f] : frames)
        ShowControlState(w, *f);
    frame6_->raise();
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker b(option1_[i]);
        option1_[i]->setChecked(frm_.Option1[static_cast<size_t>(i)].value());
    }
    for (int i = 0; i < 2; ++i) {
        const QSignalBlocker b1(option3_[i]);
        option3_[i]->setChecked(frm_.Option3[static_cast<size_t>(i)].value());
        const QSignalBlocker b2(check1_[i]);
        check1_[i]->setChecked(frm_.Check1[static_cast<size_t>(i)].value() != 0);
        ShowControlState(command1_[i], frm_.Command1[static_cast<size_t>(i)]);
        ShowControlState(command2_[i], frm_.Command2[static_cast<size_t>(i)]);
    }
    for (auto& [w, c] : combos_) {
        const QSignalBlocker b(w);
        QStringList now;
        for (int i = 0; i < w->count(); ++i)
            now << w->itemText(i);
        if (now != c->items) {
            w->clear();
            w->addItems(c->items);
        }
        w->setCurrentIndex(c->listIndex());
        w->setEnabled(c->Enabled);
    }
    label3_->setText(frm_.Label3.Caption);
}

void FrmSelectView::afterEvent() {
    sync();
    if (frm_.closed()) done(frm_.endProgram() ? QDialog::Rejected : QDialog::Accepted);
}

void FrmSelectView::closeEvent(QCloseEvent* e) {
    if (!frm_.closed() && !frm_.Unload()) {
        e->ignore();
        return;
    }
    e->accept();
    afterEvent();
}

void FrmSelectView::reject() {
    // Escape and the close box run the closing rule.
    if (frm_.Unload()) afterEvent();
}
