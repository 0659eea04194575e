#include "memories/PcFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

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

FileRead ReadFileHead(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    if (!QFileInfo(path).isFile()) return FileRead::NotFound;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return FileRead::Unreadable;
    // No more than the format reaches, nor than the file holds.
    QByteArray head(static_cast<qsizetype>(std::clamp<qint64>(f.size(), 0, std::max<qint64>(0, maxBytes))),
                    '\0');
    qsizetype got = 0;
    while (got < head.size()) {
        const qint64 n = f.read(head.data() + got, head.size() - got);
        if (n < 0) return FileRead::Unreadable;
        if (n == 0) break;
        got += static_cast<qsizetype>(n);
    }
    head.truncate(got);
    bytes = head;
    return FileRead::Ok;
}

FileRead ReadImageFile(const QString& path, ProgRecord& image) {
    QByteArray head;
    const FileRead r = ReadFileHead(path, ProgRecord::kSize, head);
    if (r != FileRead::Ok) return r;
    if (head.size() < ProgRecord::kSize) return FileRead::TooShort;
    image.FromBytes(head);
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
