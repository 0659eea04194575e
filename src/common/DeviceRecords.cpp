#include "common/DeviceRecords.h"

#include <algorithm>

namespace {
bool InRecord(int i) {
    return i >= 0 && i < ProgRecord::kSize;
}
} // namespace

uint8_t ProgRecord::Byte(int i) const {
    if (!InRecord(i)) return 0;
    if (i < kExtStart) return Params[static_cast<size_t>(i)];
    if (i < kOptionsStart) return Ext[static_cast<size_t>(i - kExtStart)];
    return Options[static_cast<size_t>(i - kOptionsStart)];
}

void ProgRecord::SetByte(int i, uint8_t v) {
    if (!InRecord(i)) return;
    if (i < kExtStart)
        Params[static_cast<size_t>(i)] = v;
    else if (i < kOptionsStart)
        Ext[static_cast<size_t>(i - kExtStart)] = v;
    else
        Options[static_cast<size_t>(i - kOptionsStart)] = v;
}

uint16_t ProgRecord::Word(int i) const {
    return static_cast<uint16_t>(Byte(i) << 8 | Byte(i + 1));
}

void ProgRecord::SetWord(int i, uint16_t v) {
    SetByte(i, static_cast<uint8_t>(v >> 8));
    SetByte(i + 1, static_cast<uint8_t>(v & 0xFF));
}

void ProgRecord::CopyBytes(const ProgRecord& src, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, kSize - 1);
    for (int i = first; i <= last; ++i)
        SetByte(i, src.Byte(i));
}

QByteArray ProgRecord::ToBytes() const {
    QByteArray raw;
    raw.reserve(kSize);
    raw.append(reinterpret_cast<const char*>(Params.data()), kParamsSize);
    raw.append(reinterpret_cast<const char*>(Ext.data()), kExtSize);
    raw.append(reinterpret_cast<const char*>(Options.data()), kOptionsSize);
    return raw;
}

bool ProgRecord::FromBytes(const QByteArray& raw) {
    if (raw.size() != kSize) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(raw.constData());
    std::copy(p, p + kParamsSize, Params.begin());
    std::copy(p + kExtStart, p + kOptionsStart, Ext.begin());
    std::copy(p + kOptionsStart, p + kSize, Options.begin());
    return true;
}
