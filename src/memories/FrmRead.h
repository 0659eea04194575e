#pragma once
// "Leer memoria": makes the editing window's device recall one of its memories and rebuilds the
// window from the recalled program.
#include "memories/MemoryContext.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>
#include <functional>

class FrmRead : public DialogWindow {
  public:
    explicit FrmRead(MemoryContext c);

    // ---- Controls ----
    QString Caption = QStringLiteral("Leer memoria");
    int MousePointer = 0; // 0 default, 13 arrow and hourglass
    ListBox List1;        // the sixteen memories, one column; the selected row is recalled
    int List1Columns = 1;
    std::array<CommandButton, 2> Command1; // 0 "Cancelar", 1 "Leer"
    Label Label2;                          // shown while a recall runs
    Label Label3;                          // "Memoria"
    std::function<void()> Refresh;         // shows the state at once (set by the view)

    // ---- Event procedures ----
    void Form_Load();
    // 0 closes the dialog; 1 refuses an empty memory, else asks and recalls.
    void Command1_Click(int index);

    // Recalls memory m (0..15) and loads it into the window with traffic and drawing suspended.
    // In demo mode only the program number and the caption change. A recall whose 48 bytes did
    // not arrive changes nothing and returns false.
    bool ReadProgram(int m);

  private:
    void refresh() {
        if (Refresh) Refresh();
    }
    MemoryContext c_;
};
