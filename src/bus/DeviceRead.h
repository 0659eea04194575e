#pragma once
// Reading a device's state into the PC's records, and the program number text.
#include <QString>

// Program or memory number n (0-based) as two-character text: "01".."09" for 0..8, "10".."64"
// for 9..63, "--" for any other value.
QString FormatProgNumber(int n);
