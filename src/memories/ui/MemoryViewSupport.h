#pragma once
// Widgets the memory dialogs' views share: the memory list in columns and the name field whose
// text comes only through the window's key procedure.
#include "platform/Controls.h"
#include "platform/ui/BoundControls.h"

#include <QListWidget>
#include <functional>

// A list box laid out in columns: rows flow down and on into further columns, `columns` of them
// visible side by side, reached by scrolling sideways. A click makes a row the list's current
// row, a double click runs its DblClick; `after` runs after each.
QListWidget* MemoryList(QWidget* parent, ListBox& list, int columns, std::function<void()> after);
// Shows the list box's rows and current row.
void ShowList(QListWidget* w, const ListBox& list);
// Shows a multiple-selection list box's rows, marks and current row (none highlighted when the
// list has none), without running its procedures.
void ShowMarkedList(QListWidget* w, const ListBox& list);

// A text field that takes text only through typed keys, each passed to the key procedure (an
// input method's text too, one character at a time): paste by keys, menu, middle button or drop
// is not taken.
class NameLineEdit : public KeyLineEdit {
  public:
    explicit NameLineEdit(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};
