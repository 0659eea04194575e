#pragma once
// The view of the recall and delete dialogs: a memory list, a notice shown while the dialog talks
// to the device, "Cancelar" and the action button.
#include "platform/Controls.h"
#include "platform/ui/BoundControls.h"

#include <QDialog>

#include <array>
#include <functional>

class QListWidget;

class MemoryListDialog : public QDialog {
    Q_OBJECT
  public:
    // The window's controls the view shows and passes events to.
    struct Binding {
        const QString& caption;
        const int& mousePointer;
        ListBox& list1;
        int columns;
        std::array<CommandButton, 2>& command1; // 0 "Cancelar", 1 the action
        Label& label2;
        Label& label3;
        std::function<void()>& refresh;
    };
    MemoryListDialog(Binding b, QWidget* parent = nullptr);
    ~MemoryListDialog() override;
    void sync();

  protected:
    void reject() override;

  private:
    Binding b_;
    ControlBinder binder_;
    QListWidget* list1_;
};
