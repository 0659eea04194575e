#pragma once
// The two small configuration files of the connection dialog, kept in the application folder:
// "init.cfg" (the chosen port, then 12 bytes carried unchanged) and "TenDev.cfg" (65 IDs, the
// first 20 being the chain IDs). Both are raw little-endian 16-bit words with no header.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

constexpr int kPortSettingsSize = 14;
constexpr int kDeviceIdCount = 65;
constexpr int kDeviceIdFileSize = 2 * kDeviceIdCount;

// The 14-byte record of "init.cfg".
struct PortSettingsRec {
    int16_t CommPortNumber = 0;
    std::array<uint8_t, 12> Rest{}; // read with the record and written back as read
};

// Reads at most maxBytes of a small data file of the application folder. A missing file is
// created empty by a create-only open, so a file that appears meanwhile is read, never
// truncated; a folder that cannot be written leaves it missing and reads as empty. A file that
// exists but cannot be read (no permission, a folder of that name) gives nullopt.
std::optional<QByteArray> ReadOrCreateDataFile(const QString& path, qint64 maxBytes);

// Reads the first n bytes of a file; bytes the file does not hold read as zero. A missing file
// is created empty, so that it exists after its first use.
QByteArray ReadLeadingBytes(const QString& path, int n);
// Writes bytes at the start of the file and keeps whatever the file holds after them. The file
// is written whole through a temporary file; false when it could not be written. A file that
// exists but cannot be read is left as it is (its tail would be lost).
bool WriteLeadingBytes(const QString& path, const QByteArray& bytes);

QString PortSettingsPath(const QString& appFolder);
QString DeviceIdPath(const QString& appFolder);

PortSettingsRec ReadPortSettings(const QString& appFolder);
bool WritePortSettings(const QString& appFolder, const PortSettingsRec& rec);
std::array<int16_t, kDeviceIdCount> ReadDeviceIds(const QString& appFolder);
bool WriteDeviceIds(const QString& appFolder, const std::array<int16_t, kDeviceIdCount>& ids);
