#pragma once
// Widgets the memory dialogs' views share: the memory list in columns and the name field whose
// text comes only through the window's key procedure.
#include "platform/Controls.h"

#include <QLineEdit>
#include <QListWidget>
#include <functional>

// A list box laid out in columns: rows flow down and on into further columns, `columns` of them
// visible side by side, reached by scrolling sideways.
QListWidget* MemoryList(QWidget* parent, int columns);
// Shows the list box's rows and selection.
void ShowList(QListWidget* w, const ListBox& list);

// A text field that takes text only through typed keys: each key goes to the key procedure,
// which may let it through, change it or swallow it (0); paste by keys, menu, middle button or
// drop and input-method text are not taken.
class NameLineEdit : public QLineEdit {
  public:
    NameLineEdit(QWidget* parent, std::function<void(int&)> keyPress);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    std::function<void(int&)> keyPress_;
};
