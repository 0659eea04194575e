#include "memories/ui/MemoryViewSupport.h"

#include "platform/ui/ViewSupport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

QListWidget* MemoryList(QWidget* parent, ListBox& list, int columns, std::function<void()> after) {
    auto* w = new QListWidget(parent);
    w->setFlow(QListView::TopToBottom);
    w->setWrapping(true);
    w->setResizeMode(QListView::Adjust);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setFixedHeight(w->fontMetrics().height() * 8 + 12);
    w->setMinimumWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("00: WWWWW  ")) * columns + 8);
    QObject::connect(w, &QListWidget::currentRowChanged, w, [&list, after](int row) {
        list.setListIndex(row);
        if (after) after();
    });
    QObject::connect(w, &QListWidget::itemDoubleClicked, w, [&list, after] {
        if (list.DblClick) list.DblClick();
        if (after) after();
    });
    return w;
}

void ShowList(QListWidget* w, const ListBox& list) {
    const QSignalBlocker block(w);
    bool same = w->count() == list.items.size();
    for (int i = 0; same && i < w->count(); ++i)
        same = w->item(i)->text() == list.items[i];
    if (!same) {
        w->clear();
        w->addItems(list.items);
    }
    if (w->currentRow() != list.listIndex()) w->setCurrentRow(list.listIndex());
    ShowControlState(w, list);
}

void ShowMarkedList(QListWidget* w, const ListBox& list) {
    const QSignalBlocker block(w);
    QStringList shown;
    for (int i = 0; i < w->count(); ++i)
        shown << w->item(i)->text();
    if (shown != list.items) {
        w->clear();
        w->addItems(list.items);
    }
    for (int i = 0; i < w->count(); ++i)
        w->item(i)->setSelected(list.selected(i));
    // The highlighted row is the list's current row, none when it has none (after the form
    // emptied and refilled it): a click on the row highlighted before then makes it current again.
    w->setCurrentRow(list.listIndex(), QItemSelectionModel::NoUpdate);
    ShowControlState(w, list);
}

NameLineEdit::NameLineEdit(QWidget* parent) : KeyLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
}

void NameLineEdit::keyPressEvent(QKeyEvent* e) {
    // Ctrl+V reaches the key procedure as a typed key; Shift+Insert types nothing and is not the
    // field's to paste with.
    const bool ctrlLetter =
        e->modifiers().testFlag(Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z;
    if (!ctrlLetter && e->matches(QKeySequence::Paste)) {
        e->accept();
        return;
    }
    KeyLineEdit::keyPressEvent(e);
}

void NameLineEdit::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::MiddleButton) {
        e->accept();
        return;
    }
    QLineEdit::mousePressEvent(e);
}

void NameLineEdit::mouseReleaseEvent(QMouseEvent* e) {
    // The middle button would paste the selection.
    if (e->button() == Qt::MiddleButton) {
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}
