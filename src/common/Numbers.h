#pragma once
// Number helpers shared by every subsystem: rounding, the base-10 logarithm, the split of a
// number into four big-endian bytes, and the one way numbers become text and text becomes a
// number in every window (the locale's decimal sign, no group separator).
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QLocale;

// The whole number nearest to x; an exact half goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double x);

// Base-10 logarithm as the natural logarithm of x over that of 10. x must be greater than 0.
double Log10(double x);

// x taken to the nearest whole number (half to even) as a 32-bit two's complement number, most
// significant byte first: 1000 -> 00 00 03 E8, -1 -> FF FF FF FF. Bytes 2 and 3 serve as a
// 16-bit frequency or device address. Values beyond the 32-bit range are held at its ends, and
// a value that is not a number gives zeros.
std::array<uint8_t, 4> SplitToBytesBE(double x);
// The same four bytes written into out[start..start + 3]; a start that would leave the buffer
// writes nothing and returns false.
bool SplitToBytesBE(std::array<uint8_t, 31>& out, double x, int start);

// 1 when the locale's decimal separator is anything but exactly ".", else 0.
int32_t DecimalCommaFor(const QLocale& locale);
// The decimal sign the number fields use: "," when decimalComma is 1, "." otherwise.
QChar DecimalSign(int32_t decimalComma);

// Plain decimal text of v: at most 15 significant digits, no trailing zeros, no leading blank, no
// group separator, the decimal sign of decimalComma; whole numbers without a decimal part.
QString NumberText(double v, int32_t decimalComma);

// Reads text written with the decimal sign of decimalComma: optional blanks around, an optional
// sign, digits with at most one decimal sign, an optional exponent ("E" or "e", sign, digits).
// Empty text, junk, the other separator, "nan", "inf" and values out of range give nullopt.
std::optional<double> ParseNumber(const QString& text, int32_t decimalComma);
