#include "startup/ui/SplashView.h"

#include "platform/ui/BoundControls.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

SplashView::SplashView(frmSplash& form, QWidget* parent)
    // An ordinary frameless window: a splash-screen window would not count as open, and the
    // program would end when the connection dialog closes.
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), form_(form) {
    setFixedSize(480, 300);
    auto* outer = new QVBoxLayout(this);
    outer->addStretch(1);
    auto* row = new QHBoxLayout;
    label1_ = new QLabel(this);
    label3_ = new QLabel(this);
    label2_ = new QLabel(this);
    for (QLabel* l : {label1_, label3_, label2_}) {
        l->setStyleSheet(QStringLiteral("color: white;"));
        row->addWidget(l);
    }
    row->addStretch(1);
    outer->addLayout(row);
    timer_.setSingleShot(false);
    BindTimer(timer_, form_.Timer1, [this] { sync(); });
    form_.Unload = [this] {
        timer_.stop();
        close();
    };
    setFocusPolicy(Qt::StrongFocus);
}

void SplashView::load() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    if (screen) move(screen->geometry().center() - rect().center());
    form_.Form_Load(size.width(), size.height());
    sync();
}

void SplashView::sync() {
    label1_->setText(form_.Label1.Caption);
    label1_->setVisible(form_.Label1.Visible);
    label2_->setText(form_.Label2.Caption);
    label2_->setVisible(form_.Label2.Visible);
    label3_->setText(form_.Label3.Caption);
    label3_->setVisible(form_.Label3.Visible);
    if (form_.MousePointer == 13)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    if (form_.Unloaded) return;
    ShowTimer(timer_, form_.Timer1);
}

void SplashView::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() == 1) {
        int key = t[0].unicode();
        form_.Form_KeyPress(key);
        sync();
    }
    QWidget::keyPressEvent(e);
}

void SplashView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(20, 40, 80));
    g.setColorAt(1, QColor(5, 10, 25));
    p.fillRect(rect(), g);
    p.setPen(QColor(230, 230, 240));
    QFont f = font();
    f.setPointSize(30);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 60, width(), 60), Qt::AlignCenter, QStringLiteral("Talvenor"));
    f.setPointSize(11);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 125, width(), 30), Qt::AlignCenter,
               QStringLiteral("Loudspeaker DSP control  ·  ") + QStringLiteral("2.1"));
    p.drawText(QRect(0, 150, width(), 30), Qt::AlignCenter, QStringLiteral("Kestrino  ·  Valdoran"));
}
