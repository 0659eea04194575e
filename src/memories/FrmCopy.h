#pragma once
// "Copy Data": copies the input section of one device (CopySource) to other present devices of
// the same model, into their program images and then to the devices themselves.
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"

#include <array>
#include <functional>

// The editing windows as the copy dialog sees them.
class CopyTargetWindows {
  public:
    virtual ~CopyTargetWindows() = default;
    // Closes the open editing window of the device without its question (the window's close
    // path for a copy target); the current window slot stays what it was.
    virtual void CloseForCopy(int busAddress) = 0;
};

class FrmCopy : public DialogWindow {
  public:
    FrmCopy(AppState& st, Link& link, MessageBoxService& msg, CopyTargetWindows& windows);

    // The copy into d: what it does to d's program image, the frames it sends and how much of
    // the progress bar it fills. Public so that a copy can be run for one destination.
    void UpgCursorNewPreset(int d);

    // ---- Controls ----
    QString Caption = QStringLiteral("Copy Data");
    int MousePointer = 0;                  // 0 default, 13 arrow and hourglass
    std::array<Label, 3> Label1;           // 0 source heading, 2 list heading
    Label Label2;                          // the source: name and ID
    ListBox List1;                         // the destination candidates, a mark per row
    std::array<CommandButton, 3> Command2; // 0 copy, 1 exit, 2 clear
    ProgressBar ProgressBar1;
    std::function<void()> Refresh; // shows the state at once (set by the view)

    // ---- Form state ----
    std::array<int16_t, kBusAddresses> RowDevice{}; // bus address of each row of List1
    int LastRow = -1;                               // last row, -1 when the list is empty

    // ---- Event procedures ----
    // Shows the source and lists the candidates: the other connected devices of its model.
    void Form_Load();
    // 0 copies to the marked devices after the operator confirms, 1 closes, 2 clears the marks.
    void Command2_Click(int index);
    // The close box: refused while a copy runs.
    void Form_QueryUnload(bool& cancel);

    // True while a copy runs.
    bool copying() const { return copying_; }

  private:
    void CopyProgramToSelected();
    void copySelected();
    void refresh() {
        if (Refresh) Refresh();
    }
    bool anySelected() const;
    int selectedCount() const;
    // Sends one frame of the copy to d; false when it did not go through.
    bool send(int d, uint8_t cmd, const Data8& data);

    AppState& st_;
    Link& link_;
    MessageBoxService& msg_;
    CopyTargetWindows& windows_;
    bool copying_ = false;
};
