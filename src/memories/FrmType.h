#pragma once
// "Leer Tipo sistema": makes one of the device's sixteen speaker slots the live setting of both
// outputs. The slot's 160 data bytes are read from the device, become program image bytes
// 48..207, are written into the live output area (device addresses 112..271) and the device
// notes the slot at address 287; the editing window is then rebuilt from the image.
#include "memories/MemoryContext.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <array>
#include <functional>

// Device address of the slot last loaded as the system type.
constexpr int kSystemTypeAddress = 287;
// Device address of the live output area that holds image byte i is i + 64.
constexpr int kLiveOutputOffset = 64;

class FrmType : public DialogWindow {
  public:
    explicit FrmType(MemoryContext c);

    // ---- Controls ----
    QString Caption = QStringLiteral("Leer Tipo sistema");
    int MousePointer = 0;                  // 0 default, 13 arrow and hourglass
    std::array<Label, 2> Label1;           // 0 "Ultimo tipo cargado en equipo:", 1 "Tipo sistema disponible:"
    ListBox List1;                         // the sixteen speaker slots
    TextBox Text1;                         // the last loaded type
    std::array<CommandButton, 2> Command1; // 0 "Leer", 1 "Cancelar"
    ProgressBar ProgressBar1;              // progress of a load
    std::function<void()> Refresh;         // shows the state at once (set by the view)

    // ---- Event procedures ----
    // Lists the slots, shows the last loaded type (or "Default") with its row current, and
    // disables "Leer" in demo mode.
    void Form_Load();
    // 0 asks, refuses an empty slot, else loads the current row's slot and closes; 1 closes.
    void Command1_Click(int index);

    // Loads speaker slot s (0..15) as the system type. The slot is read whole before anything is
    // written: a read that was not done ends the load with the image, the last type and the
    // device as they were. A write that failed and was reported ends it at once.
    void LoadSystemType(int s);

  private:
    void refresh() {
        if (Refresh) Refresh();
    }
    void step() {
        ProgressBar1.setValue(ProgressBar1.value() + 1);
        refresh();
    }
    bool slotUsed(int s) const;

    MemoryContext c_;
};
