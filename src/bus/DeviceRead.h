#pragma once
// Reading a device's state into the PC's records, and the program number text.
#include "common/AppState.h"
#include "link/Link.h"

#include <QString>

// Reads the program the device runs into its program image: the 48-byte program header, then the
// live output sections (device addresses 112..271 into image bytes 48..207) in 20 blocks of 8.
// Only data of exchanges that were done is copied. True when every block arrived.
bool ReadDeviceImage(Link& link, AppState& st, int dev);

// Reads firmware version, settings, the memory list, the speaker slots and the current program
// into the device's records; in demo mode sets the demo values without any frame. The read stops
// at the first exchange that was not done, and a name or text that was not read whole keeps what
// it held. True when the read is complete.
bool ReadDeviceInfo(Link& link, AppState& st, int dev);

// Program or memory number n (0-based) as two-character text: "01".."09" for 0..8, "10".."64"
// for 9..63, "--" for any other value.
QString FormatProgNumber(int n);
