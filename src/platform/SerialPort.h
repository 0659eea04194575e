#pragma once
#include <QByteArray>
#include <QString>

// The serial port as the link uses it: 9600 baud, 8 data bits, no parity, 1 stop bit.
// The program uses QtSerialPortAdapter; tests use a port on the simulated device bus.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens the named port at 9600,N,8,1 with a receive buffer of at least 48 bytes.
    virtual bool open(const QString& name) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes all bytes; false when the port raised an error.
    virtual bool write(const QByteArray& bytes) = 0;
    // Count of received bytes waiting to be read.
    virtual qint64 bytesWaiting() = 0;
    // Reads and returns every waiting byte.
    virtual QByteArray readAll() = 0;
    // Drops every waiting byte.
    virtual void clearInput() = 0;
    // Blocks until data arrives or msecs pass; lets no window events run.
    virtual void waitForData(int msecs) = 0;
    // True when the port raised an error since it was opened.
    virtual bool hasError() const = 0;
};
