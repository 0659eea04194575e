#include "memories/PcFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString ModelFolder(const AppState& st, int dev, const QString& sub) {
    if (!ValidBusAddress(dev)) return {};
    switch (st.ModelCode[static_cast<size_t>(dev)]) {
    case 1:
        return st.AppFolder + QStringLiteral("/Kestrino/") + sub;
    case 2:
        return st.AppFolder + QStringLiteral("/Valdoran/") + sub;
    default:
        return {};
    }
}

FileRead ReadWholeFile(const QString& path, QByteArray& bytes) {
    if (!QFileInfo(path).isFile()) return FileRead::NotFound;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return FileRead::Unreadable;
    const QByteArray all = f.readAll();
    if (f.error() != QFileDevice::NoError) return FileRead::Unreadable;
    bytes = all;
    return FileRead::Ok;
}

FileRead ReadImageFile(const QString& path, ProgRecord& image) {
    QByteArray all;
    const FileRead r = ReadWholeFile(path, all);
    if (r != FileRead::Ok) return r;
    if (all.size() < ProgRecord::kSize) return FileRead::TooShort;
    image.FromBytes(all.left(ProgRecord::kSize));
    return FileRead::Ok;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

void ShowFileReadFailure(MessageBoxService& msg, FileRead r) {
    if (r == FileRead::NotFound)
        msg.show(QStringLiteral(" File not found. Try again."), QStringLiteral(" Error"), MsgButtons::Ok,
                 MsgIcon::Exclamation);
    else if (r == FileRead::TooShort)
        msg.show(QStringLiteral("File incorrecto"), QStringLiteral(" Error"), MsgButtons::Ok,
                 MsgIcon::Exclamation);
}

void ShowFileNotSaved(MessageBoxService& msg) {
    msg.show(QStringLiteral(" File not saved. Try again."), QStringLiteral(" Error"), MsgButtons::Ok,
             MsgIcon::Exclamation);
}

QString FileTitle(const QString& path) {
    return QFileInfo(path).fileName();
}
