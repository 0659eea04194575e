#pragma once
// The devices' own character code for names, and two-digit number text.
#include <QString>
#include <cstdint>

// Name code 0..71 of the character whose 8-bit code is written in decimal in `code`
// (for example "65" for "A"). Characters outside the device's set give 0, the blank.
int16_t EncodeNameChar(const QString& code);
// The character of a name code; codes outside 0..71 give a blank.
QString DecodeNameChar(int code);
// The character a typed key code stands for; a code above 0xFFFF is a character outside the
// basic plane, whole.
QString KeyChar(int key);
// "0" before a number below 10: IDs 1..32 give "01".."32".
QString TwoDigits(int n);
// The same rule for a number that may carry a fraction.
QString TwoDigitsVar(double v);
