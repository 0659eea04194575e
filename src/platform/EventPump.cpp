#include "platform/EventPump.h"

#include <QCoreApplication>
#include <QEventLoop>

void QtEventPump::processEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void QtEventPump::processEventsExceptUserInput() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CountingEventPump::processEvents() {
    ++passes;
    ++passesWithUserInput;
    if (hook) hook();
}

void CountingEventPump::processEventsExceptUserInput() {
    ++passes;
    if (hook) hook();
}
