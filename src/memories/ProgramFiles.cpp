#include "memories/ProgramFiles.h"

#include "memories/PcFiles.h"
#include "params/ProgramLoad.h"

FileDialogRequest ProgramFileRequest(const AppState& st, int dev, const QString& title) {
    return {title, ModelFolder(st, dev, QStringLiteral("preset")), QStringLiteral("file program (*.qrx)"),
            QStringLiteral("*.qrx")};
}

FileDialogRequest OutputPresetRequest(const AppState& st, int dev, const QString& title) {
    return {title, ModelFolder(st, dev, QStringLiteral("PresetOutput")),
            QStringLiteral("file preset output (*.fpo)"), QStringLiteral("*.fpo")};
}

void ProgramFiles::save(const FileDialogRequest& r) {
    const std::optional<QString> path = c_.dialogs.SaveFile(r);
    if (!path) return;
    if (!WriteWholeFile(*path, c_.prog().ToBytes())) ShowFileNotSaved(c_.msg);
}

namespace {
constexpr int kArrowHourglass = 13;

// The main window shows the arrow-and-hourglass pointer while a chosen file is read and loaded,
// and the pointer it had again when the procedure ends, whatever way it ends.
class [[nodiscard]] MainWindowBusy {
  public:
    explicit MainWindowBusy(WindowContext& c) : c_(c), found_(c.mainMousePointer ? *c.mainMousePointer : 0) {
        show(kArrowHourglass);
    }
    ~MainWindowBusy() { show(found_); }
    MainWindowBusy(const MainWindowBusy&) = delete;
    MainWindowBusy& operator=(const MainWindowBusy&) = delete;

  private:
    void show(int pointer) {
        if (!c_.mainMousePointer) return;
        *c_.mainMousePointer = pointer;
        if (c_.refreshWindows) c_.refreshWindows();
    }
    WindowContext& c_;
    int found_;
};
} // namespace

bool ProgramFiles::readChosen(const QString& path) {
    const FileRead read = ReadImageFile(path, c_.st.FileProg);
    if (read != FileRead::Ok) {
        ShowFileReadFailure(c_.msg, read);
        return false;
    }
    return true;
}

void ProgramFiles::SaveProgramFile() {
    save(ProgramFileRequest(c_.st, c_.dev(), QStringLiteral("Guardar memoria PC")));
}

void ProgramFiles::OpenProgramFile() {
    const int dev = c_.dev();
    const std::optional<QString> chosen =
        c_.dialogs.OpenFile(ProgramFileRequest(c_.st, dev, QStringLiteral("Abrir memoria PC")));
    if (!chosen) return;
    const MainWindowBusy busy(c_);
    if (!readChosen(*chosen)) return;
    ProgRecord& img = c_.prog();
    const ProgRecord& file = c_.st.FileProg;
    img.CopyBytes(file, 0, 47);
    img.CopyBytes(file, 227, 227);
    img.CopyBytes(file, ProgRecord::kOptionsStart, ProgRecord::kSize - 1);
    LoadProgramToWindow(c_);

    const int model = c_.st.ModelCode[static_cast<size_t>(dev)];
    const auto& captions = c_.st.Tables.ModelCaption;
    const QString modelCaption = model >= 0 && model < static_cast<int>(captions.size())
                                     ? captions[static_cast<size_t>(model)]
                                     : QString();
    c_.win().Caption = QStringLiteral("ID:") + QString::number(dev % 33) + QStringLiteral(" - ") +
                       modelCaption + QStringLiteral(" - Ultimo programa cargado: en PC: ") +
                       FileTitle(*chosen);
}

void ProgramFiles::SaveOutputPresetFile() {
    const FileDialogRequest r = OutputPresetRequest(c_.st, c_.dev(), QStringLiteral("Save Outputs to PC"));
    const std::optional<QString> path = c_.dialogs.SaveFile(r);
    if (!path) return;
    ProgRecord& img = c_.prog();
    img.SetByte(kPresetMuteByte, img.Byte(c_.st.Tables.MuteAddr));
    if (!WriteWholeFile(*path, img.ToBytes())) ShowFileNotSaved(c_.msg);
}

void ProgramFiles::OpenOutputPresetFile() {
    const std::optional<QString> chosen =
        c_.dialogs.OpenFile(OutputPresetRequest(c_.st, c_.dev(), QStringLiteral("Load Outputs from PC")));
    if (!chosen) return;
    const MainWindowBusy busy(c_);
    if (!readChosen(*chosen)) return;
    ProgRecord& img = c_.prog();
    img.CopyBytes(c_.st.FileProg, 48, 207);
    // The outputs take the preset's mute bits; the input is unmuted.
    img.SetByte(c_.st.Tables.MuteAddr, static_cast<uint8_t>(img.Byte(kPresetMuteByte) & ~1u));
    LoadProgramToWindow(c_);
}
