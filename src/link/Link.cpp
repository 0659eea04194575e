#include "link/Link.h"

#include "platform/QtSerialPortAdapter.h"

namespace {
const QString kTitleComm = QStringLiteral("Problema de comunicacion");
const QString kProgramName = QStringLiteral("Talvenor");
constexpr int kPollMs = 10; // longest single wait on the port inside an exchange loop
} // namespace

void Link::OpenCommPort() {
    st_.PortOpened = false;
    st_.PortReady = false;
    if (sv_.port.isOpen()) sv_.port.close();
    // "NONE" or an index outside the port list opens nothing.
    if (st_.CommPortNumber < 1 || st_.CommPortNumber > 32) return;
    const QString name = PortDeviceName(st_.CommPortNumber, st_.AppFolder);
    sv_.clock.sleepMs(100);
    if (!sv_.port.open(name)) return;
    sv_.clock.sleepMs(50);
    st_.PortOpened = true;
    st_.PortReady = true;
}

void Link::CloseCommPort() {
    if (sv_.port.isOpen()) sv_.port.close();
    st_.PortOpened = false;
    st_.PortReady = false;
}

bool Link::trafficBlocked() const {
    return st_.DemoMode || !st_.PortReady || st_.CommSuspended || pingWaiting_;
}

void Link::buildAndSend(int dev, uint8_t cmd, const Data8& d, bool& portError) {
    st_.BankLetter = BankOf(dev);
    st_.TxBuf = DeviceFrame(st_.BankLetter, static_cast<uint8_t>(dev % 33), cmd, d);
    const QByteArray bytes(reinterpret_cast<const char*>(st_.TxBuf.data()), static_cast<qsizetype>(st_.TxBuf.size()));
    portError = !sv_.port.write(bytes) || sv_.port.hasError();
}

Link::Wait Link::waitFor(int count, double limit) {
    const double t0 = sv_.clock.nowSeconds();
    for (;;) {
        const double elapsed = sv_.clock.nowSeconds() - t0;
        if (elapsed > limit) return Wait::TimedOut;
        if (sv_.port.bytesWaiting() >= count) return Wait::Data;
        const int left = static_cast<int>((limit - elapsed) * 1000.0) + 1;
        sv_.port.waitForData(std::min(kPollMs, left));
        if (sv_.port.hasError()) return Wait::PortError;
    }
}

void Link::takeReply(int count) {
    st_.RxInput = sv_.port.readAll();
    const int n = std::min<int>(count, static_cast<int>(st_.RxInput.size()));
    for (int i = 0; i < n; ++i) st_.RxBuf[static_cast<size_t>(i)] = static_cast<uint8_t>(st_.RxInput[i]);
    sv_.port.clearInput();
}

void Link::markRowDisconnected(int busAddress) {
    const int row = st_.ListedRow(busAddress);
    if (row < 0) return;
    st_.LinkOn[static_cast<size_t>(row)] = false;
    if (sink_) sink_->ShowRowDisconnected(row, busAddress);
}

Exchange Link::failurePath(int dev) {
    if (!st_.ReportCommErrors) return Exchange::Failed;
    sv_.msg.show(QStringLiteral(" El sistema terminara la comunicacion con este equipo"), kTitleComm, MsgButtons::Ok,
                 MsgIcon::Exclamation);
    // The device that was addressed is the one marked, whatever window is current.
    markRowDisconnected(dev);
    st_.DeviceDisconnected[static_cast<size_t>(dev)] = true;
    if (st_.DeviceWindowOpen[static_cast<size_t>(dev)] && sink_) sink_->CloseDeviceWindow(dev);
    return Exchange::FailedReported;
}

Exchange Link::SendFrameEx(int dev, uint8_t cmd, const Data8& d) {
    if (trafficBlocked() || !ValidBusAddress(dev)) return last_ = Exchange::Skipped;
    st_.ExchangeIdle = false;
    // A late reply to an earlier exchange must not answer this one.
    sv_.port.clearInput();
    for (int attempt = 0;; ++attempt) {
        bool portError = false;
        buildAndSend(dev, cmd, d, portError);
        if (portError) return last_ = failurePath(dev);
        if (cmd == CmdSignOff) return last_ = Exchange::Done; // nothing is awaited
        const Wait w = waitFor(kReplyLength, kSendLimit);
        if (w == Wait::Data) {
            takeReply(kReplyLength);
            st_.ExchangeIdle = true;
            return last_ = Exchange::Done;
        }
        if (w == Wait::PortError) return last_ = failurePath(dev);
        // Time-out: the input is kept, so a late reply to an earlier send still counts.
        if (attempt >= 4) return last_ = failurePath(dev);
    }
}

bool Link::SendFrameRead48(int dev, uint8_t cmd, const Data8& d) {
    if (trafficBlocked() || !ValidBusAddress(dev)) {
        last_ = Exchange::Skipped;
        return false;
    }
    sv_.port.clearInput();
    for (int attempt = 0;; ++attempt) {
        bool portError = false;
        buildAndSend(dev, cmd, d, portError);
        if (portError) {
            last_ = Exchange::Failed;
            return false;
        }
        const Wait w = waitFor(kHeaderReplyLength, kRead48Limit);
        if (w == Wait::Data) {
            takeReply(kHeaderReplyLength);
            last_ = Exchange::Done;
            return true;
        }
        if (w == Wait::PortError) {
            last_ = Exchange::Failed;
            return false;
        }
        if (attempt >= 5) {
            // Reported and given up; the program goes on so that no open window is lost.
            sv_.msg.show(QStringLiteral(" Problema de comunicacion "), kProgramName, MsgButtons::Ok,
                         MsgIcon::Exclamation);
            last_ = Exchange::FailedReported;
            return false;
        }
    }
}

bool Link::PingDevice(int addr, uint8_t cmd, const std::array<uint8_t, 6>& d) {
    if (trafficBlocked() || !ValidBusAddress(addr)) {
        last_ = Exchange::Skipped;
        return false;
    }
    const Data8 data{d[0], d[1], d[2], d[3], d[4], d[5], 0, 0};
    sv_.port.clearInput();
    bool portError = false;
    buildAndSend(addr, cmd, data, portError);
    if (portError) {
        last_ = Exchange::Failed;
        return false;
    }
    st_.RxTimeout = false;
    // Window events run while the ping waits; no other exchange may start meanwhile.
    pingWaiting_ = true;
    const double t0 = sv_.clock.nowSeconds();
    bool answered = false;
    for (;;) {
        sv_.events.processEvents();
        if (sv_.clock.nowSeconds() - t0 >= kPingLimit) st_.RxTimeout = true;
        if (st_.RxTimeout) break;
        if (sv_.port.bytesWaiting() >= kReplyLength) {
            answered = true;
            break;
        }
        sv_.port.waitForData(kPollMs);
        if (sv_.port.hasError()) break;
    }
    pingWaiting_ = false;
    if (!answered) {
        last_ = Exchange::Failed;
        return false;
    }
    takeReply(kReplyLength);
    last_ = Exchange::Done;
    return st_.RxBuf[4] == st_.BankLetter;
}

bool Link::PingDeviceListed(int addr, uint8_t cmd, const std::array<uint8_t, 6>& d) {
    if (trafficBlocked() || !ValidBusAddress(addr) || !st_.DevicePingOk[static_cast<size_t>(addr)]) {
        last_ = Exchange::Skipped;
        return false;
    }
    const Data8 data{d[0], d[1], d[2], d[3], d[4], d[5], 0, 0};
    st_.ExchangeIdle = false;
    sv_.port.clearInput();
    for (int attempt = 0;; ++attempt) {
        bool portError = false;
        buildAndSend(addr, cmd, data, portError);
        const Wait w = portError ? Wait::PortError : waitFor(kReplyLength, kListedLimit);
        if (w == Wait::Data) {
            takeReply(kReplyLength);
            st_.ExchangeIdle = true;
            last_ = Exchange::Done;
            return st_.RxBuf[4] == st_.BankLetter;
        }
        if (w == Wait::PortError || attempt >= 1) break;
    }
    // Always reported, whatever ReportCommErrors holds.
    sv_.msg.show(QStringLiteral(" Problema de comunicacion equipo ID:") + QString::number(addr % 33), kProgramName,
                 MsgButtons::Ok, MsgIcon::Exclamation);
    st_.DevicePingOk[static_cast<size_t>(addr)] = false;
    markRowDisconnected(addr);
    st_.ExchangeIdle = true;
    last_ = Exchange::FailedReported;
    return false;
}
