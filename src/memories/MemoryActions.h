#pragma once
// The program's top-bar procedures for the device memories, program files, output presets and
// the factory preset list, each for the device of the current editing window. The copy, system
// type and speaker library procedures do nothing yet.
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

    void OpenProgramFile() override;
    void SaveProgramFile() override;
    void SaveOutputPresetFile() override;
    void OpenOutputPresetFile() override;
    void ShowStorePrj() override; // FrmStorePrj

    void ShowCopy() override {}
    void ShowType() override {}
    int OpenSpeakerLibFile() override { return 255; }
    void DownloadSpeakerLib(ProgressBar&) override {}

  private:
    class CurrentWindow;
    template <typename Form> void show();

    WindowContext& cx_;
    std::unique_ptr<CurrentWindow> window_;
};
