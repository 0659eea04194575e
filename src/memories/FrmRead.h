#pragma once
// "Leer memoria": makes the editing window's device recall one of its memories and rebuilds the
// window from the recalled program.
#include "memories/MemoryListForm.h"

class FrmRead : public MemoryListForm {
  public:
    explicit FrmRead(MemoryContext c);

    enum class Recall {
        Loaded,      // the window shows the recalled program
        Empty,       // the device answered that the memory is empty: it is marked empty in the
                     // records and nothing else changes
        NotReceived, // no header arrived: nothing changes
    };
    // Recalls memory m (0..15) and loads it into the window with traffic and drawing suspended.
    // In demo mode only the program number and the caption change.
    Recall ReadProgram(int m);

  private:
    // "Leer" on memory m: refuses an empty memory, else asks and recalls.
    void Act(int m) override;
    void ShowEmpty();
};
