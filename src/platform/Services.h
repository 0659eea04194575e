#pragma once
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/MessageBox.h"
#include "platform/SerialPort.h"

// The platform services that start-up builds and hands down by reference.
struct Services {
    SerialPort& port;
    Clock& clock;
    EventPump& events;
    MessageBoxService& msg;
    DialogService& dialogs;
};
