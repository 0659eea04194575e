#include "window/ui/EditingWindowViews.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

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
