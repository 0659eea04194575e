#include "memories/ui/MemoryViewSupport.h"

#include "platform/ui/ViewSupport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

QListWidget* MemoryList(QWidget* parent, int columns) {
    auto* w = new QListWidget(parent);
    w->setFlow(QListView::TopToBottom);
    w->setWrapping(true);
    w->setResizeMode(QListView::Adjust);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setFixedHeight(w->fontMetrics().height() * 8 + 12);
    w->setMinimumWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("00: WWWWW  ")) * columns + 8);
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

NameLineEdit::NameLineEdit(QWidget* parent, std::function<void(int&)> keyPress)
    : QLineEdit(parent), keyPress_(std::move(keyPress)) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void NameLineEdit::keyPressEvent(QKeyEvent* e) {
    const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    int key = -1;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        key = 13;
    else if (e->key() == Qt::Key_Backspace)
        key = 8;
    else if (ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        key = e->key() - Qt::Key_A + 1; // the control character, as a typed key
    else if (!ctrl && e->text().size() == 1 && e->text()[0].unicode() >= 32)
        key = e->text()[0].unicode();
    if (key < 0) {
        // Other paste keys (Shift+Insert) bring no text in; keys that move the caret or delete
        // work as usual.
        if (e->matches(QKeySequence::Paste)) {
            e->accept();
            return;
        }
        QLineEdit::keyPressEvent(e);
        return;
    }
    keyPress_(key);
    if (key == 0 || key == 13) {
        e->accept();
        return;
    }
    if (key == 8)
        backspace();
    else if (key >= 32)
        insert(QString(QChar(key))); // the key as the procedure left it
    e->accept();
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
