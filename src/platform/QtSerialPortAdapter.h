#pragma once
#include "platform/SerialPort.h"

#include <QSerialPort>

// The real serial port through QSerialPort, opened at 9600,N,8,1.
class QtSerialPortAdapter : public SerialPort {
public:
    bool open(const QString& name) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    void clearInput() override;
    void waitForData(int msecs) override;
    bool hasError() const override;

private:
    QSerialPort port_;
    bool error_ = false;
};

// The system device that the operator's "COM n" stands for: a link named COMn in the
// application folder when there is one (for example COM1 -> /dev/ttyUSB0), else /dev/ttyS(n-1);
// on Windows the name COMn itself.
QString PortDeviceName(int n, const QString& appFolder);
