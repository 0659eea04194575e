#pragma once
// The operator's locale as the number boxes need it: the decimal sign.
#include <QLocale>
#include <QString>

constexpr int kLocaleUserDefault = 0; // the operator's own locale
constexpr int LOCALE_SDECIMAL = 14;   // information type: the decimal separator

// Locale text of the given information type. Only the decimal separator is known; any other
// type, or a locale that gives no text, returns the empty text.
QString GetLocaleString(int locale, int infoType);
// The same, read from the given locale (for tests and for a locale chosen by the caller).
QString GetLocaleString(const QLocale& loc, int infoType);

// 1 when the decimal separator is anything but exactly ".", else 0.
int DecimalCommaFromSeparator(const QString& separator);
