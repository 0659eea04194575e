#include "bus/DeviceRead.h"

QString FormatProgNumber(int n) {
    if (n >= 0 && n <= 8) return QStringLiteral("0") + QString::number(n + 1);
    if (n >= 9 && n <= 63) return QString::number(n + 1);
    return QStringLiteral("--");
}
