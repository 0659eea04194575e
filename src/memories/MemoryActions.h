#pragma once
// The program's top-bar procedures for the device memories, program files, output presets and
// the factory preset list, the system type, the speaker library download and the copy of a
// program to other devices, each for the device of the current editing window.
#include "memories/FrmCopy.h"
#include "memories/ProgramActions.h"

#include <memory>

struct WindowContext;

// The open editing windows as the copy dialog closes them: through the window's own close step
// with CloseForCopy raised for that one device, so that it asks nothing.
class EditingCopyTargets : public CopyTargetWindows {
  public:
    explicit EditingCopyTargets(WindowContext& cx) : cx_(cx) {}
    void CloseForCopy(int busAddress) override;

  private:
    WindowContext& cx_;
};

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

    void ShowCopy() override; // FrmCopy, for CopySource

  private:
    class CurrentWindow;
    template <typename Form> void show();

    WindowContext& cx_;
    std::unique_ptr<CurrentWindow> window_;
    EditingCopyTargets copyTargets_;
};
