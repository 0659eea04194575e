#include "common/Numbers.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff > 0.5) return lower + 1;
    if (diff < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

double Log10(double x) {
    return std::log(x) / std::log(10.0);
}

std::array<uint8_t, 4> SplitToBytesBE(double x) {
    double r = RoundHalfEven(x);
    if (std::isnan(r)) r = 0;
    r = std::clamp(r, static_cast<double>(std::numeric_limits<int32_t>::min()),
                   static_cast<double>(std::numeric_limits<int32_t>::max()));
    const auto u = static_cast<uint32_t>(static_cast<int32_t>(r));
    return {static_cast<uint8_t>(u >> 24), static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 8),
            static_cast<uint8_t>(u)};
}

bool SplitToBytesBE(std::array<uint8_t, 31>& out, double x, int start) {
    if (start < 0 || start + 4 > static_cast<int>(out.size())) return false;
    const auto b = SplitToBytesBE(x);
    for (int k = 0; k < 4; ++k)
        out[static_cast<size_t>(start + k)] = b[static_cast<size_t>(k)];
    return true;
}

int32_t DecimalCommaFor(const QLocale& locale) {
    return locale.decimalPoint() == QStringLiteral(".") ? 0 : 1;
}

QChar DecimalSign(int32_t decimalComma) {
    return decimalComma == 1 ? u',' : u'.';
}

QString NumberText(double v, int32_t decimalComma) {
    if (v == 0) v = 0; // no "-0"
    QString t = QString::number(v, 'g', 15);
    t.replace(u'e', u'E');
    if (decimalComma == 1) t.replace(u'.', u',');
    return t;
}

std::optional<double> ParseNumber(const QString& text, int32_t decimalComma) {
    const QString s = text.trimmed();
    const QChar sign = DecimalSign(decimalComma);
    // Check the form ourselves; the conversion below would also take "nan", "inf" and the like.
    QString plain;
    plain.reserve(s.size());
    int i = 0;
    const int n = static_cast<int>(s.size());
    if (i < n && (s[i] == u'+' || s[i] == u'-')) plain += s[i++];
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (c >= u'0' && c <= u'9') {
            plain += c;
            ++digits;
        } else if (c == sign && !point) {
            plain += u'.';
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (s[i] == u'E' || s[i] == u'e')) {
        plain += u'e';
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-')) plain += s[i++];
        int expDigits = 0;
        for (; i < n && s[i] >= u'0' && s[i] <= u'9'; ++i, ++expDigits)
            plain += s[i];
        if (expDigits == 0) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}
