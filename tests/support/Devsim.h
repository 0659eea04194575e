#pragma once
// Runs devsim on a pseudo-terminal linked as COM1 in a temporary application folder, and the
// real port services that reach it, for tests that go through the program's own serial code.
#include "common/AppState.h"
#include "platform/QtSerialPortAdapter.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Services.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct DevsimRun {
    QTemporaryDir dir;
    QProcess process;
    QString pty; // the terminal's path, as devsim printed it

    // Starts devsim with the given arguments (devices, faults) plus the COM1 link.
    bool start(QStringList args) {
        if (!dir.isValid()) return false;
        args << "--link" << QDir(dir.path()).filePath("COM1");
        process.start(DEVSIM_PATH, args);
        if (!process.waitForStarted(5000) || !process.waitForReadyRead(5000)) return false;
        pty = QString::fromLocal8Bit(process.readLine()).trimmed();
        return pty.startsWith("/dev/pts/");
    }
    // devsim ends cleanly when asked to stop; anything else (a crash, a sanitizer report at
    // exit) fails the test that ran it.
    ~DevsimRun() {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            EXPECT_TRUE(process.waitForFinished(5000));
        }
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }
};

// The program's real services: the QSerialPort adapter, the system clock and Qt's event loop.
struct RealPortEnv {
    QtSerialPortAdapter port;
    SystemClock clock;
    QtEventPump events;
    ScriptedMessageBox msg;
    ScriptedDialogs dialogs;
    Services sv{port, clock, events, msg, dialogs};
    AppState st;
};
