#include "bus/Speaker.h"

#include "common/LittleEndian.h"

#include <QDir>
#include <QFile>

namespace {
enum class Which { All, First, Model };

bool Listed(const AppState& st, int address) {
    for (int r = 0; r <= st.FoundLast; ++r)
        if (st.FoundList[static_cast<size_t>(r)] == address) return true;
    return false;
}

bool Load(AppState& st, MessageBoxService& msg, Which which) {
    bool found = false;
    if (ReadDemoDeviceFile(st)) {
        st.FoundLast = -1;
        for (int i = 0; i < kDemoRecordCount; ++i) {
            DevTableRec& rec = st.DevTable[static_cast<size_t>(i)];
            if (rec.Present == 0) continue;
            int address = rec.Address;
            if (which == Which::Model) {
                if (st.ModelMask == 1)
                    address = st.SingleDeviceAddress;
                else if (st.ModelMask == 2)
                    address = st.SingleDeviceAddress + 33;
            }
            // A listed address outside the device table never becomes a device, and a device
            // listed twice in the file gets one row.
            if (!ValidBusAddress(address) || Listed(st, address)) continue;
            rec.Address = static_cast<int16_t>(address);
            ++st.FoundLast;
            st.FoundList[static_cast<size_t>(st.FoundLast)] = static_cast<int16_t>(address);
            InitDeviceRecordOffline(st, address);
            found = true;
            if (which != Which::All) break;
        }
    }
    if (!found)
        msg.show(QStringLiteral("Puerto no encontrado o el equipo esta desconectado"),
                 QStringLiteral("Salir"), MsgButtons::Ok, MsgIcon::Critical);
    return found;
}
} // namespace

QString DemoDeviceFilePath(const QString& appFolder) {
    return QDir(appFolder).filePath(QStringLiteral("Speakers.cfg"));
}

bool ReadDemoDeviceFile(AppState& st) {
    QFile f(DemoDeviceFilePath(st.AppFolder));
    // Read only: a missing file is not created.
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray b = f.read(static_cast<qint64>(kDemoRecordSize) * kDemoRecordCount);
    for (int n = 0; n < kDemoRecordCount; ++n) {
        DevTableRec rec;
        const qsizetype at = static_cast<qsizetype>(n) * kDemoRecordSize;
        if (at + 22 <= b.size()) {
            rec.Address = WordAt(b, at);
            for (int w = 0; w < 9; ++w)
                rec.Unused[static_cast<size_t>(w)] = WordAt(b, at + 2 + 2 * w);
            rec.Present = WordAt(b, at + 20);
        }
        st.DevTable[static_cast<size_t>(n)] = rec;
    }
    return true;
}

bool LoadSpeakersCfgAll(AppState& st, MessageBoxService& msg) {
    return Load(st, msg, Which::All);
}
bool LoadSpeakersCfgFirst(AppState& st, MessageBoxService& msg) {
    return Load(st, msg, Which::First);
}
bool LoadSpeakersCfgModel(AppState& st, MessageBoxService& msg) {
    return Load(st, msg, Which::Model);
}

void InitDeviceRecordOffline(AppState& st, int dev) {
    if (!ValidBusAddress(dev)) return;
    ProgRecord& img = st.DevProgs[static_cast<size_t>(dev)];
    for (int i = 0; i < 208; ++i)
        img.SetByte(i, st.Tables.DefaultProgram[static_cast<size_t>(i)]);
    img.SetByte(225, 45); // temperature 25 degrees
    img.SetByte(226, 0);
    img.SetByte(227, 1); // delay as distance
    img.SetByte(230, 1); // temperature in Fahrenheit
    img.SetByte(231, 0);
    img.SetByte(232, 0); // unit free

    DeviceRec& rec = st.DevRecs[static_cast<size_t>(dev)];
    rec.TempSlider = img.Byte(225);
    rec.TempUnit = img.Byte(230);
    rec.DelayUnit = img.Byte(227);
    rec.UnitLock = img.Byte(232);
    QString empty;
    for (int k = 0; k < 5; ++k)
        empty += st.Tables.EmptyMemName[static_cast<size_t>(k)];
    for (int m = 0; m < 16; ++m) {
        rec.MemProg[static_cast<size_t>(m)] = 0;
        rec.MemName[static_cast<size_t>(m)] = empty;
    }
    rec.CurProgName = QStringLiteral("Def. ");
}

QByteArray DemoDeviceFileBytes(const std::vector<int>& present) {
    QByteArray b(kDemoRecordSize * kDemoRecordCount, '\0');
    for (int n = 0; n < kDemoRecordCount; ++n)
        PutWord(b, n * kDemoRecordSize, static_cast<int16_t>(n));
    for (int a : present)
        if (ValidBusAddress(a)) PutWord(b, a * kDemoRecordSize + 20, 1);
    return b;
}
