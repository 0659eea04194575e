#include "window/ui/EditingWindowViews.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

EditingWindowViews::EditingWindowViews(EditingWindowService& editing, QMdiArea* area, QObject* parent)
    : QObject(parent), editing_(editing), area_(area) {
    editing_.Shown = [this](FrmCtrl& w) { show(w); };
    editing_.Closed = [this](FrmCtrl&) { syncAll(); };
    // The window the operator works in becomes the current one.
    connect(area_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        for (Entry& e : entries_)
            if (sub && e.sub == sub && e.view->form().loaded()) e.view->form().Form_Activate();
    });
}

FrmCtrlView* EditingWindowViews::view(int slot) const {
    if (slot < 0 || slot >= kWindowSlots) return nullptr;
    return entries_[static_cast<size_t>(slot)].view;
}

void EditingWindowViews::show(FrmCtrl& w) {
    Entry& e = entries_[static_cast<size_t>(w.slot())];
    if (!e.view) {
        e.view = new FrmCtrlView(w);
        e.view->AfterEvent = [this] { syncAll(); };
        e.sub = area_->addSubWindow(e.view, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        e.sub->setAttribute(Qt::WA_DeleteOnClose, false);
        e.sub->installEventFilter(this);
    }
    syncAll();
    e.sub->showNormal();
    area_->setActiveSubWindow(e.sub);
}

void EditingWindowViews::syncAll() {
    for (Entry& e : entries_) {
        if (!e.view) continue;
        FrmCtrl& w = e.view->form();
        if (w.Visible) {
            e.view->sync();
            if (e.sub->windowTitle() != w.Caption) e.sub->setWindowTitle(w.Caption);
        }
        if (e.sub->isHidden() == w.Visible) e.sub->setVisible(w.Visible);
    }
}

bool EditingWindowViews::eventFilter(QObject* obj, QEvent* ev) {
    for (Entry& e : entries_) {
        if (e.sub != obj) continue;
        FrmCtrl& w = e.view->form();
        switch (ev->type()) {
        case QEvent::Close:
            // The window decides: its close step may ask, and it hides itself when it closes.
            ev->ignore();
            w.Unload();
            syncAll();
            return true;
        case QEvent::MouseMove: {
            // The window frame learns which title-bar button lies under the pointer only from a
            // move that begins outside a move of the window. After a click on the title bar it
            // takes the next move as still part of that move, so a click that came straight onto
            // the close box went to no button and was lost. A move with no button held is
            // therefore passed to the frame twice: the second always finds the button.
            const auto* move = static_cast<QMouseEvent*>(ev);
            if (move->buttons() != Qt::NoButton || passingMoveAgain_) break;
            passingMoveAgain_ = true;
            QMouseEvent again(QEvent::MouseMove, move->position(), move->globalPosition(), Qt::NoButton,
                              Qt::NoButton, move->modifiers());
            QCoreApplication::sendEvent(e.sub, &again);
            passingMoveAgain_ = false;
            break;
        }
        case QEvent::WindowStateChange:
            w.WindowState = e.sub->isMinimized() ? 1 : 0;
            w.Form_Resize();
            break;
        default:
            break;
        }
        break;
    }
    return QObject::eventFilter(obj, ev);
}
