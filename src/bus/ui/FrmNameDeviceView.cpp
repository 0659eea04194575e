#include "bus/ui/FrmNameDeviceView.h"

#include "platform/ui/ViewSupport.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

FrmNameDeviceView::FrmNameDeviceView(FrmNameDevice& frm, QWidget* parent)
    : QDialog(parent), frm_(frm), bind_([this] { sync(); }) {
    setWindowTitle(frm_.Caption);
    setFixedSize(260, 110);
    bind_.label(frm_.Label1, this, QRect(12, 10, 236, 18));
    text1_ = bind_.textBox(frm_.Text1, this, QRect(12, 32, 236, 22));
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setContextMenuPolicy(Qt::NoContextMenu);
    text1_->setAcceptDrops(false);
    text1_->setDragEnabled(false);
    text1_->installEventFilter(this);
    for (int i = 0; i < 2; ++i)
        bind_.button(frm_.Command1[static_cast<size_t>(i)], this, QRect(12 + i * 122, 68, 114, 30))
            ->setObjectName(QStringLiteral("Command1_%1").arg(i));
    frm_.Refresh = [this] {
        sync();
        repaint();
    };
    sync();
}

FrmNameDeviceView::~FrmNameDeviceView() {
    frm_.Refresh = nullptr;
}

bool FrmNameDeviceView::eventFilter(QObject* obj, QEvent* e) {
    if (obj == text1_) {
        switch (e->type()) {
        case QEvent::KeyPress: {
            // Ctrl+V reaches the key procedure as a typed control character; the other paste
            // keys (Shift+Insert) would paste past it.
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->matches(QKeySequence::Paste) && k->key() != Qt::Key_V) return true;
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton) return true;
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::ContextMenu:
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(obj, e);
}

void FrmNameDeviceView::sync() {
    bind_.sync();
    ShowMousePointer(this, frm_.MousePointer);
}

void FrmNameDeviceView::reject() {
    frm_.Command1[1].Click();
}
