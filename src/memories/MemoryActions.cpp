#include "memories/MemoryActions.h"

#include "memories/FrmStorePrj.h"
#include "memories/ProgramFiles.h"

void MemoryActions::OpenProgramFile() {
    ProgramFiles(c_).OpenProgramFile();
}

void MemoryActions::SaveProgramFile() {
    ProgramFiles(c_).SaveProgramFile();
}

void MemoryActions::SaveOutputPresetFile() {
    ProgramFiles(c_).SaveOutputPresetFile();
}

void MemoryActions::OpenOutputPresetFile() {
    ProgramFiles(c_).OpenOutputPresetFile();
}

void MemoryActions::ShowStorePrj() {
    FrmStorePrj form(c_.st, c_.link, c_.msg, c_.dialogs);
    form.Form_Load();
    c_.dialogs.ShowModal(form);
}
