#pragma once
// The memory, file and preset procedures behind the editing window's top bar, for the current
// editing window and its device.
#include "memories/ProgramActions.h"
#include "window/WindowContext.h"

class MemoryActions : public ProgramActions {
  public:
    MemoryActions(WindowContext& c) : c_(c) {}

    void OpenProgramFile() override;
    void SaveProgramFile() override;
    void ShowDeleteProg() override {}
    void ShowStore() override {}
    void ShowRead() override {}
    void ShowCopy() override {}
    void SaveOutputPresetFile() override;
    void OpenOutputPresetFile() override;
    void ShowStorePrj() override;
    void ShowType() override {}
    int OpenSpeakerLibFile() override { return 255; }
    void DownloadSpeakerLib(ProgressBar&) override {}

  private:
    WindowContext& c_;
};
