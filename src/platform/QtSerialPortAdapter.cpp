#include "platform/QtSerialPortAdapter.h"

#include <QDir>
#include <QFileInfo>

bool QtSerialPortAdapter::open(const QString& name) {
    if (port_.isOpen()) port_.close();
    error_ = false;
    port_.setPortName(name);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(0); // unlimited: holds the 48-byte replies and more
    return port_.open(QIODevice::ReadWrite);
}

void QtSerialPortAdapter::close() {
    if (port_.isOpen()) port_.close();
}

bool QtSerialPortAdapter::isOpen() const { return port_.isOpen(); }

bool QtSerialPortAdapter::write(const QByteArray& bytes) {
    if (!port_.isOpen()) {
        error_ = true;
        return false;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = port_.write(bytes.constData() + done, bytes.size() - done);
        if (n < 0) {
            error_ = true;
            return false;
        }
        done += n;
    }
    // Push the frame out now: the wait that follows lets no events run.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(1000)) {
            error_ = true;
            return false;
        }
    }
    return true;
}

qint64 QtSerialPortAdapter::bytesWaiting() {
    if (!port_.isOpen()) return 0;
    return port_.bytesAvailable();
}

QByteArray QtSerialPortAdapter::readAll() {
    if (!port_.isOpen()) return {};
    return port_.readAll();
}

void QtSerialPortAdapter::clearInput() {
    if (!port_.isOpen()) return;
    port_.readAll();
    port_.clear(QSerialPort::Input);
}

void QtSerialPortAdapter::waitForData(int msecs) {
    if (!port_.isOpen()) return;
    port_.waitForReadyRead(msecs);
    const auto e = port_.error();
    if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError) error_ = true;
}

bool QtSerialPortAdapter::hasError() const { return error_; }

QString PortDeviceName(int n, const QString& appFolder) {
#ifdef Q_OS_WIN
    Q_UNUSED(appFolder);
    return QStringLiteral("COM%1").arg(n);
#else
    const QFileInfo link(QDir(appFolder).filePath(QStringLiteral("COM%1").arg(n)));
    if (link.exists() || link.isSymLink()) return link.canonicalFilePath().isEmpty() ? link.absoluteFilePath()
                                                                                       : link.canonicalFilePath();
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}
