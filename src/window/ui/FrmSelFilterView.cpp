#include "window/ui/FrmSelFilterView.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

FrmSelFilterView::FrmSelFilterView(FrmSelFilter& frm, QWidget* parent)
    : QDialog(parent), frm_(frm), bind_([this] { bind_.sync(); }) {
    setWindowTitle(frm_.Caption);
    setFixedSize(260, 112);
    bind_.label(frm_.Label1, this, QRect(12, 10, 236, 20));
    bind_.combo(frm_.Combo1, this, QRect(12, 34, 236, 24));
    bind_.button(frm_.Command1[1], this, QRect(52, 72, 94, 28));
    bind_.button(frm_.Command1[0], this, QRect(154, 72, 94, 28))->setDefault(true);
    bind_.sync();
}

void FrmSelFilterView::reject() {
    // The close box and Escape leave the band as it was, like "Cancelar", which unloads the dialog.
    frm_.Command1[1].Click();
}
