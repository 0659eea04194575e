#include "memories/MemoryActions.h"

#include "memories/FrmStorePrj.h"
#include "memories/ProgramFiles.h"

void MemoryActions::OpenProgramFile() {
    ProgramFiles(c_, dialogs_).OpenProgramFile();
}

void MemoryActions::SaveProgramFile() {
    ProgramFiles(c_, dialogs_).SaveProgramFile();
}

void MemoryActions::SaveOutputPresetFile() {
    ProgramFiles(c_, dialogs_).SaveOutputPresetFile();
}

void MemoryActions::OpenOutputPresetFile() {
    ProgramFiles(c_, dialogs_).OpenOutputPresetFile();
}

void MemoryActions::ShowStorePrj() {
    FrmStorePrj form(c_.st, c_.link, c_.msg, dialogs_);
    form.Form_Load();
    dialogs_.ShowModal(form);
}
