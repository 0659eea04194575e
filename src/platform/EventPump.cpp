#include "platform/EventPump.h"

#include <QCoreApplication>

void QtEventPump::processEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void CountingEventPump::processEvents() {
    ++passes;
    if (hook) hook();
}
