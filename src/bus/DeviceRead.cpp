#include "bus/DeviceRead.h"

#include "common/NameCode.h"
#include "common/Numbers.h"

#include <optional>

namespace {
// Device address as the read commands carry it: D1 high byte, D2 low byte.
Data8 AddressData(int address) {
    const auto b = SplitToBytesBE(address);
    return Data8{b[2], b[3], 0, 0, 0, 0, 0, 0};
}

std::optional<uint8_t> ReadByteAt(Link& link, AppState& st, int dev, int address) {
    link.SendFrameEx(dev, CmdReadByte, AddressData(address));
    if (!link.LastDone()) return std::nullopt;
    return st.RxBuf[8];
}

std::optional<std::array<uint8_t, 8>> Read8At(Link& link, AppState& st, int dev, int address) {
    link.SendFrameEx(dev, CmdRead8, AddressData(address));
    if (!link.LastDone()) return std::nullopt;
    std::array<uint8_t, 8> out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = st.RxBuf[4 + i];
    return out;
}

QString EmptyMemoryName(const AppState& st) {
    QString s;
    for (int i = 0; i < 5; ++i)
        s += st.Tables.EmptyMemName[static_cast<size_t>(i)];
    return s;
}

// Image bytes 225..232 give the temperature, its unit, the delay unit and the unit lock.
void TakeUnitsFromImage(AppState& st, int dev) {
    const ProgRecord& img = st.DevProgs[static_cast<size_t>(dev)];
    DeviceRec& rec = st.DevRecs[static_cast<size_t>(dev)];
    rec.TempSlider = img.Byte(225);
    rec.TempUnit = img.Byte(230);
    rec.DelayUnit = img.Byte(227);
    rec.UnitLock = img.Byte(232);
}

constexpr int kSpeakerSlotBase = 1280;
constexpr int kSpeakerSlotSize = 176;
constexpr int kMemoryBase = 288;
constexpr int kMemorySize = 48;

bool ReadDeviceInfoDemo(AppState& st, int dev) {
    ProgRecord& img = st.DevProgs[static_cast<size_t>(dev)];
    DeviceRec& rec = st.DevRecs[static_cast<size_t>(dev)];
    img.SetByte(225, 45);
    img.SetByte(226, 0);
    img.SetByte(227, 1);
    img.SetByte(230, 0);
    img.SetByte(231, 0);
    img.SetByte(232, 0);
    TakeUnitsFromImage(st, dev);
    for (int k = 0; k < 6; ++k)
        img.SetByte(233 + k, 1);
    for (size_t m = 0; m < 16; ++m) {
        rec.MemProg[m] = 255;
        rec.MemName[m] = EmptyMemoryName(st);
    }
    rec.CurProgName = QStringLiteral("Default Prog");
    st.FirmwareVersion[static_cast<size_t>(dev)] = QStringLiteral("1.03");
    return true;
}
} // namespace

bool ReadDeviceImage(Link& link, AppState& st, int dev) {
    if (!ValidBusAddress(dev)) return false;
    ProgRecord& img = st.DevProgs[static_cast<size_t>(dev)];
    if (!link.SendFrameRead48(dev, CmdRecallMemory, Data8{0xFF, 0, 0, 0, 0, 0, 0, 0}) || !link.LastDone())
        return false;
    for (int i = 0; i < kHeaderReplyLength; ++i)
        img.SetByte(i, st.RxBuf[static_cast<size_t>(i)]);
    link.PingDevice(dev, CmdPing); // its answer is not looked at
    for (int k = 0; k < 160; k += 8) {
        const auto block = Read8At(link, st, dev, 112 + k);
        if (!block) return false;
        for (int i = 0; i < 8; ++i)
            img.SetByte(48 + k + i, (*block)[static_cast<size_t>(i)]);
    }
    return true;
}

bool ReadDeviceInfo(Link& link, AppState& st, int dev) {
    if (!ValidBusAddress(dev)) return false;
    if (st.DemoMode) return ReadDeviceInfoDemo(st, dev);
    const auto d = static_cast<size_t>(dev);
    ProgRecord& img = st.DevProgs[d];
    DeviceRec& rec = st.DevRecs[d];

    link.SendFrameEx(dev, CmdReadVersion);
    if (!link.LastDone()) return false;
    st.FirmwareVersion[d] = QString::number(st.RxBuf[4]) + QStringLiteral(".") +
                            QString::number(st.RxBuf[5]) + QString::number(st.RxBuf[6]);

    for (int k = 0; k <= 8; k += 8) {
        const auto block = Read8At(link, st, dev, 16 + k);
        if (!block) return false;
        for (int i = 0; i < 8; ++i)
            img.SetByte(225 + k + i, (*block)[static_cast<size_t>(i)]);
    }
    TakeUnitsFromImage(st, dev);

    for (int m = 0; m < 16; ++m) {
        const auto status = ReadByteAt(link, st, dev, kMemoryBase + kMemorySize * m + 47);
        if (!status) return false;
        rec.MemProg[static_cast<size_t>(m)] = *status;
    }
    for (int m = 0; m < 16; ++m) {
        if (rec.MemProg[static_cast<size_t>(m)] >= 64) {
            rec.MemName[static_cast<size_t>(m)] = EmptyMemoryName(st);
            continue;
        }
        QString name;
        for (int i = 0; i < 5; ++i) {
            const auto c = ReadByteAt(link, st, dev, kMemoryBase + kMemorySize * m + 32 + i);
            if (!c) return false;
            name += DecodeNameChar(*c);
        }
        rec.MemName[static_cast<size_t>(m)] = name;
    }

    for (int s = 0; s < 16; ++s) {
        const auto status = ReadByteAt(link, st, dev, kSpeakerSlotBase + kSpeakerSlotSize * s + 15);
        if (!status) return false;
        st.PresetStatus[d][static_cast<size_t>(s)] = *status;
    }
    for (int s = 0; s < 16; ++s) {
        if (st.PresetStatus[d][static_cast<size_t>(s)] != 35) {
            st.PresetName[d][static_cast<size_t>(s)] = QStringLiteral("Vacia");
            continue;
        }
        const int base = kSpeakerSlotBase + kSpeakerSlotSize * s;
        const auto first = Read8At(link, st, dev, base);
        if (!first) return false;
        const auto second = Read8At(link, st, dev, base + 8);
        if (!second) return false;
        QByteArray raw(reinterpret_cast<const char*>(first->data()), 8);
        raw.append(reinterpret_cast<const char*>(second->data()), 7);
        st.PresetName[d][static_cast<size_t>(s)] = FromAnsi(raw);
    }

    const auto systemType = ReadByteAt(link, st, dev, 287);
    if (!systemType) return false;
    st.LastSystemType[d] = *systemType;

    const auto v = ReadByteAt(link, st, dev, 31);
    if (!v) return false;
    if (*v < 64) {
        // Device address 17 holds the memory in use; only memories 0..15 have a name.
        const int n = img.Byte(226);
        st.LastProgNumber = static_cast<int16_t>(n);
        rec.CurProgName = n < 16 ? rec.MemName[static_cast<size_t>(n)] : QString();
    } else if (*v == 65) {
        std::array<uint8_t, 5> codes{};
        QString name;
        for (int i = 0; i < 5; ++i) {
            const auto c = ReadByteAt(link, st, dev, i);
            if (!c) return false;
            codes[static_cast<size_t>(i)] = *c;
            name += DecodeNameChar(*c);
        }
        st.LastProgNumber = 65;
        rec.CurProgName = name;
        for (int i = 0; i < 5; ++i) {
            img.SetByte(209 + i, codes[static_cast<size_t>(i)]);
            img.SetByte(32 + i, codes[static_cast<size_t>(i)]);
        }
    } else {
        st.LastProgNumber = 255;
        rec.CurProgName = QStringLiteral("Def. ");
        for (int i = 0; i < 5; ++i) {
            const auto code = static_cast<uint8_t>(st.Tables.DefaultNameCodes[static_cast<size_t>(i)]);
            img.SetByte(209 + i, code);
            img.SetByte(32 + i, code);
        }
    }
    return true;
}

QString FormatProgNumber(int n) {
    if (n >= 0 && n <= 8) return QStringLiteral("0") + QString::number(n + 1);
    if (n >= 9 && n <= 63) return QString::number(n + 1);
    return QStringLiteral("--");
}
