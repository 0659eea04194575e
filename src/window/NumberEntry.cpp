#include "window/NumberEntry.h"

#include "common/Numbers.h"

#include <algorithm>

namespace {
constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kCtrlC = 3, kCtrlV = 22, kCtrlX = 24, kCtrlZ = 26;
} // namespace

namespace NumberFields {
const NumberFieldFamily ChannelGain{
    {'-', '+', kCtrlC, kCtrlV, kCtrlX, kCtrlZ}, QStringLiteral("  Valor Incorrecto"), '?'};
const NumberFieldFamily XoverFrequency{{}, QStringLiteral("  Valor de frecuencia incorrecto"), '?'};
const NumberFieldFamily XoverQ{{}, QStringLiteral("  Valor de Q incorrecto"), '?'};
const NumberFieldFamily Dynamics{
    {'-', '+', kCtrlC, kCtrlV, kCtrlX, kCtrlZ}, QStringLiteral("  Valor Incorrecto"), '?'};
const NumberFieldFamily CompKnee{{}, QStringLiteral("  Valor Incorrecto"), '?'};
const NumberFieldFamily BandGain{{'-'}, QStringLiteral("  Valor Incorrecto"), '?'};
const NumberFieldFamily BandFrequency{{}, QStringLiteral("  Valor de frecuencia incorrecto"), '?'};
const NumberFieldFamily BandQ{{}, QStringLiteral("  Valor de Q incorrecto"), ' '};
} // namespace NumberFields

void NumberFieldKey(const NumberFieldFamily& family, int& key, MessageBoxService& msg, int decimalComma,
                    const std::function<bool()>& enter) {
    const bool passes =
        (key >= '0' && key <= '9') || key == kBackspace ||
        std::find(family.extraKeys.begin(), family.extraKeys.end(), key) != family.extraKeys.end();
    if (passes) return;
    if (key == ',' || key == '.') {
        key = DecimalSign(decimalComma).unicode();
        return;
    }
    if (key == kEnter && enter()) return;
    msg.show(family.message, QStringLiteral("Advertencia"), MsgButtons::Ok, MsgIcon::None);
    key = family.replacementKey;
}
