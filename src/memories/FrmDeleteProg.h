#pragma once
// "Borrar Memoria": empties one of the memories of the editing window's device, unless the
// device runs it.
#include "memories/MemoryListForm.h"

class FrmDeleteProg : public MemoryListForm {
  public:
    explicit FrmDeleteProg(MemoryContext c);

    // Marks memory m (0..15) empty in the device and the records. False when the write did not
    // go through (the records are then unchanged).
    bool DeleteMemory(int m);

  private:
    // "Borrar" on memory m: refuses an empty memory and the one the device runs, else asks and
    // deletes.
    void Act(int m) override;
};
