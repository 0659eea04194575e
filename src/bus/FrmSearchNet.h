#pragma once
// "Lista ID", the device list: one row per found device with its ID, name and link state. A
// double click on a row opens the device's editing window; a double click in the "Link" column
// puts the row into or out of the link group.
#include "bus/DeviceListHost.h"
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <array>
#include <functional>

// What the device list asks of the editing windows.
class EditingWindowOpener {
  public:
    virtual ~EditingWindowOpener() = default;
    // Creates the editing window of the slot when the slot holds none and shows it; its load binds
    // itself to NextSlot. False when no window could be shown.
    virtual bool ShowEditingWindow(int slot) = 0;
    // Closes the editing window open for the device, without asking.
    virtual void CloseDeviceWindow(int busAddress) = 0;
    // Brings the editing window open for the device to the front.
    virtual void RaiseDeviceWindow(int busAddress) = 0;
};

// The list shows itself, modelessly, through the dialog service; the main window and the rescan
// reach it as the DeviceListHost.
class FrmSearchNet : public LinkFailureSink, public DeviceListHost, public DialogWindow {
  public:
    FrmSearchNet(AppState& st, Services& sv, Link& link);

    void setEditingWindows(EditingWindowOpener* opener) { windows_ = opener; }

    // Column widths in twips: ID, name, link. Every column is centred.
    static constexpr std::array<int, 3> kColWidth{500, 1500, 1000};
    static constexpr int kMaxOpenWindows = kWindowSlots;

    // ---- Controls ----
    QString Caption = QStringLiteral("Lista ID");
    int Height = 0; // twips
    int Width = 0;
    int MousePointer = 0; // 0 normal, 13 arrow and hourglass
    FlexGrid MSFlexGrid1; // the list: one row per found device
    FlexGrid MSFlexGrid2; // the header row above it
    Label Label1;         // shown while the list fills
    Label Label2;         // shown while a window is being opened
    Timer Timer1;         // fills the list once
    // Repaints the list at once (the view sets it; reads block the window meanwhile).
    std::function<void()> Refresh;

    // ---- Event procedures ----
    void Form_Load();
    void Timer1_Timer();
    // Double click on the list: MSFlexGrid1.Row and .Col say where.
    void OpenOrLinkDevice();
    // Opens the editing window of the device listed in `row`. True when the window was shown.
    bool OpenDeviceWindow(int row);
    // The list closes only while the rescan closes it.
    void Form_QueryUnload(bool& cancel);
    // The close step when the rescan closes the list: the list agrees to close.
    void QueryUnloadForRescan(bool& cancel);

    // DeviceListHost: shows the list loaded afresh (a shown list is closed first); closes it
    // for the rescan; shows a renamed device's row.
    void ShowDeviceList(const QString& caption) override;
    void UnloadDeviceList() override;
    void ShowRenamedRow(int busAddress) override;

    // LinkFailureSink: the row of a device whose exchange failed, and its window.
    void ShowRowDisconnected(int row, int busAddress) override;
    void CloseDeviceWindow(int busAddress) override;

  private:
    enum class NameRead { Done, Failed, FailedReported };
    NameRead ReadName(int a);
    void MarkSilent(int row, int a);
    void FreeSlot(int slot);
    void refresh();

    AppState& st_;
    Services& sv_;
    Link& link_;
    EditingWindowOpener* windows_ = nullptr;
};
