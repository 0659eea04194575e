#pragma once
// The devices' own character code for names, the code page of the names kept in files and in
// speaker slots, and two-digit number text.
#include <QByteArray>
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
// Names in speaker list files and in the devices' speaker slots are one byte per character in
// the Windows ANSI code page (Windows-1252) the files are made in: 0x80..0x9F are the euro sign,
// the curly quotes, the dashes and the others of that page; the five bytes the page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same number,
// so that any bytes read are written back as they were.
QString FromAnsi(const char* bytes, qsizetype n);
inline QString FromAnsi(const QByteArray& bytes) {
    return FromAnsi(bytes.constData(), bytes.size());
}
// One byte per character; a character the page does not have (one outside the basic plane
// included) is written as "?".
QByteArray ToAnsi(const QString& text);
// "0" before a number below 10: IDs 1..32 give "01".."32".
QString TwoDigits(int n);
// The same rule for a number that may carry a fraction.
QString TwoDigitsVar(double v);
