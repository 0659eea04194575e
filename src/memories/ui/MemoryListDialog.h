#pragma once
// The view of the recall and delete dialogs: a memory list, a notice shown while the dialog talks
// to the device, "Cancelar" and the action button.
#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
struct CommandButton;
struct Label;
struct ListBox;

class MemoryListDialog : public QDialog {
    Q_OBJECT
  public:
    // The window's controls and procedures the view shows and calls.
    struct Binding {
        QString& caption;
        int& mousePointer;
        ListBox& list1;
        int columns;
        std::array<CommandButton, 2>& command1;
        Label& label2;
        Label& label3;
        std::function<void()>& refresh;
        std::function<void(int)> command1Click;
    };
    MemoryListDialog(Binding b, QWidget* parent = nullptr);
    ~MemoryListDialog() override;
    void sync();

  protected:
    void reject() override;

  private:
    Binding b_;
    QLabel* label3_;
    QListWidget* list1_;
    QLabel* label2_;
    QPushButton* command1_[2];
};
