#include "bus/ConnectionFiles.h"

#include "common/LittleEndian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
std::optional<QByteArray> ReadExisting(QFile& f, qint64 maxBytes) {
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.read(maxBytes);
}

bool Exists(const QString& path) {
    // A dangling link counts as there: nothing is created through it.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
} // namespace

std::optional<QByteArray> ReadOrCreateDataFile(const QString& path, qint64 maxBytes) {
    QFile f(path);
    if (Exists(path)) return ReadExisting(f, maxBytes);
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return QByteArray();
    // Not created: either the folder cannot be written (the file stays missing and reads as
    // empty) or the file appeared in the meantime, which is then read as it stands.
    if (!Exists(path)) return QByteArray();
    return ReadExisting(f, maxBytes);
}

QByteArray ReadLeadingBytes(const QString& path, int n) {
    QByteArray out(n, '\0');
    const QByteArray got = ReadOrCreateDataFile(path, n).value_or(QByteArray());
    std::copy(got.begin(), got.end(), out.begin());
    return out;
}

bool WriteLeadingBytes(const QString& path, const QByteArray& bytes) {
    QByteArray whole;
    QFile old(path);
    if (Exists(path)) {
        if (!old.open(QIODevice::ReadOnly)) return false;
        whole = old.readAll();
        old.close();
    }
    if (whole.size() < bytes.size()) whole.resize(bytes.size());
    std::copy(bytes.begin(), bytes.end(), whole.begin());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(whole) != whole.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QString PortSettingsPath(const QString& appFolder) {
    return QDir(appFolder).filePath(QStringLiteral("init.cfg"));
}
QString DeviceIdPath(const QString& appFolder) {
    return QDir(appFolder).filePath(QStringLiteral("TenDev.cfg"));
}

PortSettingsRec ReadPortSettings(const QString& appFolder) {
    const QByteArray b = ReadLeadingBytes(PortSettingsPath(appFolder), kPortSettingsSize);
    PortSettingsRec rec;
    rec.CommPortNumber = WordAt(b, 0);
    for (int i = 0; i < 12; ++i)
        rec.Rest[static_cast<size_t>(i)] = static_cast<uint8_t>(b[2 + i]);
    return rec;
}

bool WritePortSettings(const QString& appFolder, const PortSettingsRec& rec) {
    QByteArray b(kPortSettingsSize, '\0');
    PutWord(b, 0, rec.CommPortNumber);
    for (int i = 0; i < 12; ++i)
        b[2 + i] = static_cast<char>(rec.Rest[static_cast<size_t>(i)]);
    return WriteLeadingBytes(PortSettingsPath(appFolder), b);
}

std::array<int16_t, kDeviceIdCount> ReadDeviceIds(const QString& appFolder) {
    const QByteArray b = ReadLeadingBytes(DeviceIdPath(appFolder), kDeviceIdFileSize);
    std::array<int16_t, kDeviceIdCount> ids{};
    for (int k = 0; k < kDeviceIdCount; ++k)
        ids[static_cast<size_t>(k)] = WordAt(b, 2 * k);
    return ids;
}

bool WriteDeviceIds(const QString& appFolder, const std::array<int16_t, kDeviceIdCount>& ids) {
    QByteArray b(kDeviceIdFileSize, '\0');
    for (int k = 0; k < kDeviceIdCount; ++k)
        PutWord(b, 2 * k, ids[static_cast<size_t>(k)]);
    return WriteLeadingBytes(DeviceIdPath(appFolder), b);
}
