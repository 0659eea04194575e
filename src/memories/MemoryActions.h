#pragma once
// The program's top-bar procedures for the device memories: the store, recall and delete dialogs,
// each opened modally for the device of the current editing window. The file and preset
// procedures do nothing yet.
#include "memories/ProgramActions.h"
#include "platform/Dialogs.h"

#include <memory>

struct EqContext;
struct MemoryContext;

class MemoryActions : public ProgramActions {
  public:
    MemoryActions(EqContext& cx, DialogService& dialogs);
    ~MemoryActions() override;

    void ShowStore() override;      // FrmStore
    void ShowRead() override;       // FrmRead
    void ShowDeleteProg() override; // FrmDeleteProg

    void OpenProgramFile() override {}
    void SaveProgramFile() override {}
    void ShowCopy() override {}
    void SaveOutputPresetFile() override {}
    void OpenOutputPresetFile() override {}
    void ShowStorePrj() override {}
    void ShowType() override {}
    int OpenSpeakerLibFile() override { return 255; }
    void DownloadSpeakerLib(ProgressBar&) override {}

  private:
    class CurrentWindow;
    template <typename Form> void show();

    EqContext& cx_;
    DialogService& dialogs_;
    std::unique_ptr<CurrentWindow> window_;
};
