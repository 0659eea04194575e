#pragma once
// The program's top-bar procedures for the device memories: the store, recall and delete dialogs,
// each opened modally for the device of the current editing window. The file and preset
// procedures do nothing yet.
#include "memories/ProgramActions.h"

#include <memory>

struct WindowContext;

class MemoryActions : public ProgramActions {
  public:
    // Shows the dialogs through the editing windows' dialog service.
    explicit MemoryActions(WindowContext& cx);
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

    WindowContext& cx_;
    std::unique_ptr<CurrentWindow> window_;
};
