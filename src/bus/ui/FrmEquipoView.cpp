#include "bus/ui/FrmEquipoView.h"

#include "platform/ui/BoundControls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

FrmEquipoView::FrmEquipoView(FrmEquipo& frm, QWidget* parent) : QDialog(parent), frm_(frm) {
    setWindowTitle(frm_.Caption);
    auto* box = new QGroupBox(this);
    auto* opts = new QHBoxLayout(box);
    for (int i = 0; i < 2; ++i) {
        option1_[i] = new QRadioButton(frm_.Option1[static_cast<size_t>(i)].Caption, box);
        opts->addWidget(option1_[i]);
        BindOption(option1_[i], frm_.Option1[static_cast<size_t>(i)], [this] { afterEvent(); });
    }
    auto* buttons = new QHBoxLayout;
    command1_[1] = new QPushButton(frm_.Command1[1].Caption, this);
    command1_[0] = new QPushButton(frm_.Command1[0].Caption, this);
    command1_[0]->setDefault(true);
    buttons->addWidget(command1_[1]);
    buttons->addWidget(command1_[0]);
    for (int i = 0; i < 2; ++i)
        BindButton(command1_[i], frm_.Command1[static_cast<size_t>(i)], [this] { afterEvent(); });
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(box);
    lay->addLayout(buttons);
    sync();
}

void FrmEquipoView::sync() {
    for (int i = 0; i < 2; ++i) {
        const QSignalBlocker b(option1_[i]);
        option1_[i]->setChecked(frm_.Option1[static_cast<size_t>(i)].value());
    }
}

void FrmEquipoView::afterEvent() {
    sync();
}

void FrmEquipoView::reject() {
    // The close box and Escape leave without a model, like "Cancelar", which unloads the dialog.
    frm_.Command1[1].Click();
}
