#pragma once
// What the recall and delete dialogs share: a list of the device's sixteen memories, "Cancelar"
// and an action button, a wait caption shown while the device works, and the closing of the
// dialog by "Cancelar".
#include "memories/MemoryContext.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>
#include <functional>

class MemoryListForm : public DialogWindow {
  public:
    // ---- Controls ----
    QString Caption;
    int MousePointer = 0; // 0 default, 13 arrow and hourglass
    ListBox List1;        // the sixteen memories; the selected row is acted on
    int List1Columns = 1;
    std::array<CommandButton, 2> Command1; // 0 "Cancelar", 1 the action
    Label Label2;                          // shown while the device works
    Label Label3;                          // "Memoria"
    std::function<void()> Refresh;         // shows the state at once (set by the view)

    // Lists the memories with the first one selected.
    void Form_Load();
    // 0 closes the dialog; 1 runs the dialog's action on the selected memory.
    void Command1_Click(int index);

  protected:
    MemoryListForm(MemoryContext c, const QString& caption, const QString& action, const QString& wait,
                   int columns);
    // The action button on memory m (0..15).
    virtual void Act(int m) = 0;
    void refresh() {
        if (Refresh) Refresh();
    }
    MemoryContext c_;
};
