#include "memories/MemoryActions.h"

#include "common/ScopedFlags.h"
#include "memories/FrmCopy.h"
#include "memories/FrmDeleteProg.h"
#include "memories/FrmRead.h"
#include "memories/FrmStore.h"
#include "memories/FrmStorePrj.h"
#include "memories/FrmType.h"
#include "memories/ProgramFiles.h"
#include "memories/SpeakerLibrary.h"
#include "params/ProgramLoad.h"
#include "window/WindowContext.h"

// The current editing window as the memory dialogs see it.
class MemoryActions::CurrentWindow : public MemoryWindow {
  public:
    explicit CurrentWindow(WindowContext& cx) : cx_(cx) {}

    void SetCaption(const QString& caption) override { cx_.win().Caption = caption; }

    void LoadProgram() override {
        // The top bar holds EditBusy while its dialog is shown; the load lowers it when done.
        const bool busy = cx_.st.EditBusy;
        LoadProgramToWindow(cx_);
        cx_.st.EditBusy = busy;
    }

    void RedrawGraphs() override {
        for (int g = 0; g < kGraphs; ++g)
            cx_.graph.RedrawGraph(g);
    }

  private:
    WindowContext& cx_;
};

void EditingCopyTargets::CloseForCopy(int d) {
    AppState& st = cx_.st;
    if (!ValidBusAddress(d) || !st.DeviceWindowOpen[static_cast<size_t>(d)]) return;
    const int slot = st.DeviceSlot[static_cast<size_t>(d)];
    FrmCtrl* w = cx_.windows.existing(slot);
    // Only the window that shows this very device is closed.
    if (!w || !w->loaded() || st.SlotTable[static_cast<size_t>(slot)].Device != d) return;
    const int16_t current = st.CurSlot;
    {
        const ScopedValue<bool> copyClose(st.CloseForCopy, true);
        const ScopedValue<int16_t> target(st.CloseForCopyDevice, static_cast<int16_t>(d));
        w->Unload();
    }
    // The close step made the closed window current; the copy works for the source's.
    st.CurSlot = current;
}

MemoryActions::MemoryActions(WindowContext& cx)
    : cx_(cx), window_(std::make_unique<CurrentWindow>(cx)), copyTargets_(cx) {}

MemoryActions::~MemoryActions() = default;

template <typename Form> void MemoryActions::show() {
    const int dev = cx_.dev();
    if (!ValidBusAddress(dev)) return;
    Form form(MemoryContext{cx_.st, cx_.link, cx_.msg, *window_, dev});
    form.Form_Load();
    cx_.dialogs.ShowModal(form);
}

void MemoryActions::ShowStore() {
    show<FrmStore>();
}

void MemoryActions::ShowRead() {
    show<FrmRead>();
}

void MemoryActions::ShowDeleteProg() {
    show<FrmDeleteProg>();
}

void MemoryActions::ShowCopy() {
    if (!ValidBusAddress(cx_.st.CopySource)) return;
    FrmCopy form(cx_.st, cx_.link, cx_.msg, copyTargets_);
    form.Form_Load();
    cx_.dialogs.ShowModal(form);
}

void MemoryActions::OpenProgramFile() {
    ProgramFiles(cx_).OpenProgramFile();
}

void MemoryActions::SaveProgramFile() {
    ProgramFiles(cx_).SaveProgramFile();
}

void MemoryActions::SaveOutputPresetFile() {
    ProgramFiles(cx_).SaveOutputPresetFile();
}

void MemoryActions::OpenOutputPresetFile() {
    ProgramFiles(cx_).OpenOutputPresetFile();
}

void MemoryActions::ShowStorePrj() {
    FrmStorePrj form(cx_.st, cx_.link, cx_.msg, cx_.dialogs);
    form.Form_Load();
    cx_.dialogs.ShowModal(form);
}

void MemoryActions::ShowType() {
    show<FrmType>();
}

int MemoryActions::OpenSpeakerLibFile() {
    return ::OpenSpeakerLibFile(cx_.st, cx_.msg, cx_.dialogs, cx_.dev());
}

void MemoryActions::DownloadSpeakerLib(ProgressBar& bar) {
    ::DownloadSpeakerLib(cx_.st, cx_.link, cx_.dev(), [&bar] { bar.setValue(bar.value() + 1); });
}
