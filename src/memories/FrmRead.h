#pragma once
// "Leer memoria": makes the editing window's device recall one of its memories and rebuilds the
// window from the recalled program.
#include "memories/MemoryListForm.h"

class FrmRead : public MemoryListForm {
  public:
    explicit FrmRead(MemoryContext c);

    // Recalls memory m (0..15) and loads it into the window with traffic and drawing suspended.
    // In demo mode only the program number and the caption change. A recall whose 48 bytes did
    // not arrive changes nothing and returns false.
    bool ReadProgram(int m);

  private:
    // "Leer" on memory m: refuses an empty memory, else asks and recalls.
    void Act(int m) override;
};
