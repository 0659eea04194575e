#include "startup/ui/MDIFrmMainView.h"

#include "bus/ui/FrmWaitView.h"
#include "platform/ui/ViewSupport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
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
    connect(timer3_, &QTimer::timeout, this, [this] {
        if (frm_.Timer3.Tick) frm_.Timer3.Tick();
        sync();
    });

    frm_.setDeviceList(this);
    frm_.ShowWait = [this](FrmWait& w) {
        sync();
        FrmWaitView::RunModal(w, this);
    };
    sync();
}

void MDIFrmMainView::sync() {
    ShowMousePointer(this, frm_.MousePointer);
    file_->menuAction()->setEnabled(frm_.File.Enabled);
    exit_->setEnabled(frm_.Exit.Enabled);
    connection_->menuAction()->setEnabled(frm_.Connection.Enabled);
    searchNewId_->setEnabled(frm_.SearchNewID.Enabled);
    if (frm_.Timer3.Enabled && frm_.Timer3.Interval > 0) {
        if (!timer3_->isActive() || timer3_->interval() != frm_.Timer3.Interval)
            timer3_->start(frm_.Timer3.Interval);
    } else {
        timer3_->stop();
    }
}

void MDIFrmMainView::ShowDeviceList(const QString& caption) {
    auto* list = new QListWidget;
    for (int r = 0; r <= st_.FoundLast && r < kListRows; ++r) {
        const int a = st_.FoundList[static_cast<size_t>(r)];
        list->addItem(QStringLiteral("ID %1   %2")
                          .arg(a % 33, 2, 10, QChar(u'0'))
                          .arg(a < 33 ? QStringLiteral("Kestrino") : QStringLiteral("Valdoran")));
    }
    UnloadDeviceList();
    list_ = area_->addSubWindow(list, Qt::SubWindow | Qt::WindowTitleHint);
    list_->setWindowTitle(caption.isEmpty() ? QStringLiteral("Lista ID") : caption);
    list_->resize(300, 360);
    list_->show();
}

void MDIFrmMainView::UnloadDeviceList() {
    if (!list_) return;
    area_->removeSubWindow(list_);
    list_->deleteLater();
    list_ = nullptr;
}

void MDIFrmMainView::closeEvent(QCloseEvent* e) {
    if (!frm_.closed() && !frm_.Unload()) {
        e->ignore();
        return;
    }
    e->accept();
    QApplication::quit();
}
