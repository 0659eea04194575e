#include "common/NameCode.h"

#include <array>

namespace {
const char kSigns[] = {'-', '_', '/', '*', '&', '+', '"', '.', ','};

// The characters of bytes 0x80..0x9F in Windows-1252; the unassigned ones keep their own number.
constexpr std::array<char16_t, 32> kAnsi80 = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char AnsiByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (size_t i = 0; i < kAnsi80.size(); ++i)
        if (kAnsi80[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}
} // namespace

QString FromAnsi(const char* bytes, qsizetype n) {
    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        out += b >= 0x80 && b < 0xA0 ? QChar(kAnsi80[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray ToAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character outside the basic plane is one character, written as one "?".
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        out += c.isSurrogate() ? '?' : AnsiByte(c.unicode());
    }
    return out;
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
