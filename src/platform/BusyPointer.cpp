#include "platform/BusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

void QtBusyPointer::setBusy(bool busy) {
    if (busy == busy_ || !qGuiApp) return;
    busy_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}
