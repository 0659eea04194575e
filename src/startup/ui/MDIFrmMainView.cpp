#include "startup/ui/MDIFrmMainView.h"

#include "platform/ui/BoundControls.h"
#include "platform/ui/ViewSupport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>

MDIFrmMainView::MDIFrmMainView(MDIFrmMain& frm, AppState& st, QWidget* parent)
    : QMainWindow(parent), frm_(frm), st_(st) {
    setWindowTitle(frm_.Caption);
    resize(1024, 768);
    area_ = new QMdiArea(this);
    area_->setBackground(QColor(128, 128, 128));
    setCentralWidget(area_);

    file_ = menuBar()->addMenu(frm_.File.Caption);
    exit_ = file_->addAction(frm_.Exit.Caption);
    connect(exit_, &QAction::triggered, this, [this] {
        frm_.Exit.Click();
        if (frm_.closed()) QApplication::quit();
    });
    connection_ = menuBar()->addMenu(frm_.Connection.Caption);
    searchNewId_ = connection_->addAction(frm_.SearchNewID.Caption);
    connect(searchNewId_, &QAction::triggered, this, [this] {
        frm_.SearchNewID.Click();
        sync();
    });

    timer3_ = new QTimer(this);
    BindTimer(*timer3_, frm_.Timer3, [this] { sync(); });

    sync();
}

void MDIFrmMainView::sync() {
    ShowMousePointer(this, frm_.MousePointer);
    file_->menuAction()->setEnabled(frm_.File.Enabled);
    exit_->setEnabled(frm_.Exit.Enabled);
    connection_->menuAction()->setEnabled(frm_.Connection.Enabled);
    searchNewId_->setEnabled(frm_.SearchNewID.Enabled);
    ShowTimer(*timer3_, frm_.Timer3);
}

void MDIFrmMainView::closeEvent(QCloseEvent* e) {
    if (!frm_.closed() && !frm_.Unload()) {
        e->ignore();
        return;
    }
    e->accept();
    QApplication::quit();
}
