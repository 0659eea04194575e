#include "common/NameCode.h"

namespace {
const char kSigns[] = {'-', '_', '/', '*', '&', '+', '"', '.', ','};
}

int16_t EncodeNameChar(const QString& code) {
    bool ok = false;
    const int c = code.trimmed().toInt(&ok);
    if (!ok) return 0;
    if (c == ' ') return 0;
    if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(c - 65 + 1);
    if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 97 + 27);
    if (c >= '0' && c <= '9') return static_cast<int16_t>(c - 48 + 53);
    for (int i = 0; i < 9; ++i)
        if (c == kSigns[i]) return static_cast<int16_t>(63 + i);
    return 0;
}

QString DecodeNameChar(int code) {
    if (code >= 1 && code <= 26) return QString(QChar(code + 64));
    if (code >= 27 && code <= 52) return QString(QChar(code - 27 + 97));
    if (code >= 53 && code <= 62) return QString(QChar(code - 53 + 48));
    if (code >= 63 && code <= 71) return QString(QChar(kSigns[code - 63]));
    return QStringLiteral(" ");
}

QString KeyChar(int key) {
    const char32_t c = key >= 0 && key <= 0x10FFFF ? static_cast<char32_t>(key) : char32_t{0xFFFD};
    return QString::fromUcs4(&c, 1);
}

QString TwoDigits(int n) {
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

QString TwoDigitsVar(double v) {
    const QString t = QString::number(v, 'g', 15);
    return v < 10 ? QStringLiteral("0") + t : t;
}
