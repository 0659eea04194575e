#pragma once
// "Borrar Memoria": empties one of the memories of the editing window's device, unless the
// device runs it.
#include "memories/MemoryContext.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>
#include <functional>

class FrmDeleteProg : public DialogWindow {
  public:
    explicit FrmDeleteProg(MemoryContext c);

    // ---- Controls ----
    QString Caption = QStringLiteral("Borrar Memoria");
    int MousePointer = 0; // 0 default, 13 arrow and hourglass
    ListBox List1;        // the sixteen memories in five columns; the selected row is deleted
    int List1Columns = 5;
    std::array<CommandButton, 2> Command1; // 0 "Cancelar", 1 "Borrar"
    Label Label2;                          // shown while the delete runs
    Label Label3;                          // "Memoria"
    std::function<void()> Refresh;         // shows the state at once (set by the view)

    // ---- Event procedures ----
    void Form_Load();
    // 0 closes the dialog; 1 refuses an empty memory and the one the device runs, else asks and
    // deletes.
    void Command1_Click(int index);

    // Marks memory m (0..15) empty in the device and the records. False when the write did not
    // go through (the records are then unchanged).
    bool DeleteMemory(int m);

  private:
    void refresh() {
        if (Refresh) Refresh();
    }
    MemoryContext c_;
};
