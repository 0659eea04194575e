#pragma once
// What the editing window's top bar asks of the memory, file and preset procedures. Each call
// works on the current editing window and its device: it opens its dialog modally or runs its
// file procedure, and returns when that is over.
#include "platform/Controls.h"

class ProgramActions {
  public:
    virtual ~ProgramActions() = default;
    virtual void OpenProgramFile() = 0;      // "Abrir memoria PC"
    virtual void SaveProgramFile() = 0;      // "Guardar memoria PC"
    virtual void ShowDeleteProg() = 0;       // "Borrar memoria": FrmDeleteProg
    virtual void ShowStore() = 0;            // " Guardar memoria": FrmStore
    virtual void ShowRead() = 0;             // " Leer memoria": FrmRead
    virtual void ShowCopy() = 0;             // "Copy Data", once CopySource is set: FrmCopy
    virtual void SaveOutputPresetFile() = 0; // "Save Outputs to PC"
    virtual void OpenOutputPresetFile() = 0; // "Load Outputs from PC"
    virtual void ShowStorePrj() = 0;         // "Store Factory Project": FrmStorePrj
    virtual void ShowType() = 0;             // "Leer tipo sistema": FrmType
    // Lets the operator pick a speaker list file for the library download: the number of used
    // records in it (1..16), 0 for a file that is not valid, 255 when no file was read.
    virtual int OpenSpeakerLibFile() = 0;
    // Writes the used records of the picked speaker list into the device's speaker slots,
    // advancing the bar by one per frame.
    virtual void DownloadSpeakerLib(ProgressBar& bar) = 0;
};

// Until the memory, file and preset procedures are in, the bar's buttons do nothing.
class NoProgramActions : public ProgramActions {
  public:
    void OpenProgramFile() override {}
    void SaveProgramFile() override {}
    void ShowDeleteProg() override {}
    void ShowStore() override {}
    void ShowRead() override {}
    void ShowCopy() override {}
    void SaveOutputPresetFile() override {}
    void OpenOutputPresetFile() override {}
    void ShowStorePrj() override {}
    void ShowType() override {}
    int OpenSpeakerLibFile() override { return 255; }
    void DownloadSpeakerLib(ProgressBar&) override {}
};
