#include "platform/FileListBox.h"

#include <QDir>

void FileListBox::Refresh() {
    clear();
    if (Path.isEmpty()) return;
    const QDir dir(Path);
    if (!dir.exists()) return;
    items = dir.entryList({Pattern}, QDir::Files, QDir::Name);
}
