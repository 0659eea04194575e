#include "platform/Dialogs.h"

QString WithPatternExtension(const QString& path, const QString& pattern) {
    const qsizetype dot = pattern.lastIndexOf(u'.');
    if (dot < 0) return path;
    const QString ext = pattern.mid(dot);
    if (ext.size() < 2 || ext.contains(u'*')) return path;
    if (path.endsWith(ext, Qt::CaseInsensitive)) return path;
    return path + ext;
}
