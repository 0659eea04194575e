#pragma once
// How the main window, the rescan and the rename reach the device list window, which lives inside
// the main window and is built on its own.
#include <QString>

class DeviceListHost {
  public:
    virtual ~DeviceListHost() = default;
    // Shows the device list, loaded afresh from FoundList; a caption that is not empty replaces
    // the list's own.
    virtual void ShowDeviceList(const QString& caption) = 0;
    // Closes the device list before a rescan (the list refuses to close otherwise).
    virtual void UnloadDeviceList() = 0;
    // Shows the device's new name in the row that lists it, out of the link group; nothing when
    // no row lists the device.
    virtual void ShowRenamedRow(int busAddress) = 0;
};
