#include "memories/SpeakerList.h"

#include "common/NameCode.h"

#include <algorithm>

namespace {
constexpr int kRecordFixedBytes = 2 + 2 + SpkRec::kDataSize;

void AppendLE16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

int ReadLE16(const QByteArray& b, qsizetype at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

Data8 AddressData(int a) {
    Data8 d{};
    d[0] = static_cast<uint8_t>((a >> 8) & 0xFF);
    d[1] = static_cast<uint8_t>(a & 0xFF);
    return d;
}
} // namespace

QByteArray SpeakerListToBytes(const SpeakerList& list) {
    QByteArray out;
    for (const SpkRec& r : list) {
        QByteArray name = ToAnsi(r.Name);
        name.truncate(0xFFFF);
        AppendLE16(out, static_cast<int>(name.size()));
        out.append(name);
        AppendLE16(out, static_cast<uint16_t>(r.Status));
        out.append(reinterpret_cast<const char*>(r.Data.data()), SpkRec::kDataSize);
    }
    return out;
}

std::optional<SpeakerList> SpeakerListFromBytes(const QByteArray& bytes) {
    SpeakerList list{};
    qsizetype at = 0;
    for (SpkRec& r : list) {
        if (bytes.size() - at < 2) return std::nullopt;
        const int len = ReadLE16(bytes, at);
        if (bytes.size() - at < kRecordFixedBytes + len) return std::nullopt;
        r.Name = FromAnsi(bytes.constData() + at + 2, len);
        r.Status = static_cast<int16_t>(ReadLE16(bytes, at + 2 + len));
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData() + at + 4 + len);
        std::copy(data, data + SpkRec::kDataSize, r.Data.begin());
        at += kRecordFixedBytes + len;
    }
    return list;
}

FileRead ReadSpeakerListFile(const QString& path, SpeakerList& list) {
    QByteArray bytes;
    const FileRead read = ReadFileHead(path, kSpeakerListMaxBytes, bytes);
    if (read != FileRead::Ok) return read;
    const std::optional<SpeakerList> got = SpeakerListFromBytes(bytes);
    if (!got) return FileRead::TooShort;
    list = *got;
    return FileRead::Ok;
}

SpeakerNameHeader PadSpeakerName(QString& name) {
    if (name.size() < kSpeakerNameLength) name += QString(kSpeakerNameLength - name.size(), u' ');
    SpeakerNameHeader h{};
    // A character outside the basic plane takes two places of the name but one byte: the header
    // is filled up with blanks.
    const QByteArray codes = ToAnsi(name.left(kSpeakerNameLength)).leftJustified(kSpeakerNameLength, ' ');
    std::copy(codes.begin(), codes.end(), h.begin());
    h[15] = SpkRec::kUsed;
    return h;
}

bool WriteSpeakerSlot(AppState& st, Link& link, int dev, int s, SpkRec& rec,
                      const std::function<void()>& step) {
    const SpeakerNameHeader header = PadSpeakerName(rec.Name);
    if (ValidBusAddress(dev)) {
        st.PresetName[static_cast<size_t>(dev)][static_cast<size_t>(s)] = rec.Name;
        st.PresetStatus[static_cast<size_t>(dev)][static_cast<size_t>(s)] = SpkRec::kUsed;
    }
    for (int k = 0; k < kSpeakerSlotSize; k += 4) {
        Data8 d = AddressData(SpeakerSlotAddress(s, k));
        for (int j = 0; j < 4; ++j)
            d[static_cast<size_t>(2 + j)] =
                k < 16 ? header[static_cast<size_t>(k + j)] : rec.Data[static_cast<size_t>(k - 16 + j)];
        if (link.SendFrame(dev, CmdWrite4, d)) return true;
        if (step) step();
    }
    return false;
}

Exchange ReadSpeakerSlot(AppState& st, Link& link, int dev, int s, SpkRec& rec,
                         const std::function<void()>& step) {
    // Reads 8 bytes at slot byte k into out; the exchange's outcome.
    const auto read8 = [&](int k, uint8_t* out) {
        const Exchange e = link.SendFrameEx(dev, CmdRead8, AddressData(SpeakerSlotAddress(s, k)));
        if (e == Exchange::Done) std::copy_n(st.RxBuf.begin() + 4, 8, out);
        if (step && e == Exchange::Done) step();
        return e;
    };
    std::array<uint8_t, 16> head{};
    for (int k = 0; k < 16; k += 8)
        if (const Exchange e = read8(k, head.data() + k); e != Exchange::Done) return e;

    SpkRec got = rec;
    got.Status = head[15];
    if (got.used()) {
        got.Name = FromAnsi(reinterpret_cast<const char*>(head.data()), kSpeakerNameLength);
        for (int k = 16; k < kSpeakerSlotSize; k += 8)
            if (const Exchange e = read8(k, got.Data.data() + (k - 16)); e != Exchange::Done) return e;
    } else {
        const auto& def = st.Tables.DefaultProgram;
        std::copy(def.begin() + 48, def.begin() + 208, got.Data.begin());
        got.Name = QStringLiteral("Vacia");
        if (step)
            for (int i = 0; i < kSpeakerSlotDataBytes / 8; ++i)
                step();
    }
    rec = got;
    return Exchange::Done;
}
