#pragma once
// The program's top-bar procedures for the device memories, program files, output presets and
// the factory preset list, the system type and the speaker library download, each for the device
// of the current editing window. The copy does nothing yet.
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

    void ShowType() override; // FrmType
    int OpenSpeakerLibFile() override;
    void DownloadSpeakerLib(ProgressBar& bar) override;

    void ShowCopy() override {}

  private:
    class CurrentWindow;
    template <typename Form> void show();

    WindowContext& cx_;
    std::unique_ptr<CurrentWindow> window_;
};
