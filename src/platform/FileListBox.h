#pragma once
// File list box: the names of the files of one folder that match a pattern, in name order.
#include "platform/Controls.h"

struct FileListBox : ListBox {
    QString Path;                            // the folder shown
    QString Pattern = QStringLiteral("*.*"); // e.g. "*.fpo"
    std::function<void()> DblClick;          // the operator double-clicked the current entry

    // Lists the folder's matching files again; a folder that does not exist lists nothing.
    void Refresh();
};
