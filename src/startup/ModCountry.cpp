#include "startup/ModCountry.h"

QString GetLocaleString(int locale, int infoType) {
    // Locale 0 is the operator's default locale; the program asks for no other.
    if (locale != kLocaleUserDefault) return {};
    return GetLocaleString(QLocale::system(), infoType);
}

QString GetLocaleString(const QLocale& loc, int infoType) {
    if (infoType != LOCALE_SDECIMAL) return {};
    return loc.decimalPoint();
}

int DecimalCommaFromSeparator(const QString& separator) {
    return separator == QStringLiteral(".") ? 0 : 1;
}
