#pragma once
// "Guardar Memoria": stores the program of the editing window's device into one of the device's
// sixteen memories under a five-character name.
#include "memories/MemoryContext.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>
#include <functional>

class FrmStore : public DialogWindow {
  public:
    explicit FrmStore(MemoryContext c);

    // ---- Controls ----
    QString Caption = QStringLiteral("Guardar Memoria");
    int MousePointer = 0; // 0 default, 13 arrow and hourglass
    ListBox List1;        // the sixteen memories, one column
    int List1Columns = 1;
    ComboBox Combo1;                       // "1".."16": the memory stored into (a pure drop-down list)
    TextBox Text1;                         // the name, five characters typed at most
    std::array<CommandButton, 2> Command1; // 0 "Cancelar", 1 "Guardar"
    ProgressBar ProgressBar1;
    Label Label3;                // "Memoria"
    std::array<Label, 2> Label2; // "Seleccionar posicion:", "Editar nombre:"
    QString BadCharMessage;      // what the last refused key showed
    // Shows the state at once (the view sets it; the store blocks the window while it sends).
    std::function<void()> Refresh;

    // ---- Event procedures ----
    void Form_Load();
    void Combo1_Click();
    void List1_DblClick();
    // The name filter: letters, digits, blank, Backspace, Enter and nine symbols pass; any other
    // key is reported and typed as a blank.
    void Text1_KeyPress(int& keyAscii);
    // 0 closes the dialog; 1 asks and stores.
    void Command1_Click(int index);

    // Stores the window's program into memory m (0..15) under the name (its first five
    // characters, blank-padded). True when every frame went through (or none had to); any other
    // m is refused and nothing is sent or changed.
    bool StoreProgram(int m, const QString& name);

  private:
    void refresh() {
        if (Refresh) Refresh();
    }
    MemoryContext c_;
};
