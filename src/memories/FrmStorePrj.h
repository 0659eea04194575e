#pragma once
// "Store Factory project": composes the sixteen factory speaker presets of the current editing
// window's device from output preset files, keeps the list on the PC as a speaker list file and
// writes it into, or reads it back from, the device's speaker slots. The list is SpkLib.
#include "common/AppState.h"
#include "link/Link.h"
#include "memories/SpeakerList.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FileListBox.h"
#include "platform/MessageBox.h"

#include <array>
#include <functional>

class FrmStorePrj : public DialogWindow {
  public:
    FrmStorePrj(AppState& st, Link& link, MessageBoxService& msg, DialogService& dialogs);

    QString Caption = QStringLiteral("Store Factory project");
    std::array<Label, 2> Label1;           // 0 "Factory Preset", 1 "Factory Preset List"
    FileListBox File1;                     // the model's output preset files
    ListBox List1;                         // the sixteen positions, a mark per row
    std::array<CommandButton, 5> Command1; // device load, PC load, PC save, device save, exit
    ProgressBar ProgressBar1;              // device transfers
    Frame Frame1;
    int MousePointer = 0;            // 0 default, 13 arrow and hourglass
    SpeakerNameHeader HeaderBytes{}; // name header of the slot being written
    // Run after each step of a device transfer, so that a view can show the progress bar while
    // the transfer runs.
    std::function<void()> ShowProgress;

    // Empties the sixteen names and marks (the data bytes stay), lists the model's output preset
    // files and disables the device buttons in demo mode.
    void Form_Load();
    // Takes the double-clicked output preset into the current position of the list.
    void File1_DblClick();
    // 0 LoadListFromDevice, 1 LoadListFromPC, 2 SaveListToPC, 3 SaveListToDevice after the
    // operator confirms, 4 closes the dialog.
    void Command1_Click(int index);

    // Writes the sixteen records to a chosen speaker list file; an unmarked row is saved empty.
    void SaveListToPC();
    // Reads the sixteen records of a chosen speaker list file; a file that does not hold them
    // whole is refused and the list is kept.
    void LoadListFromPC();
    // Writes every marked, used position into its speaker slot (44 frames each).
    void SaveListToDevice();
    // Reads the sixteen speaker slots of the device into the list.
    void LoadListFromDevice();
    // Pads the name to 15 characters in place and fills HeaderBytes (byte 15 the used mark 35).
    void NameToHeaderBytes(QString& name) { HeaderBytes = PadSpeakerName(name); }

  private:
    int dev() const { return st_.CurDevice(); }
    QString rowText(int s) const;
    void rebuildRows();
    FileDialogRequest listRequest(const QString& title) const;
    void step() {
        ProgressBar1.setValue(ProgressBar1.value() + 1);
        if (ShowProgress) ShowProgress();
    }
    void startTransfer(int max);
    void endTransfer();
    // A device transfer failed and was reported: the device's window is closed, so the device
    // buttons stay disabled.
    void deviceLost();

    AppState& st_;
    Link& link_;
    MessageBoxService& msg_;
    DialogService& dialogs_;
};
