#include "link/Link.h"

#include "platform/QtSerialPortAdapter.h"

#include <algorithm>
#include <cmath>

namespace {
const QString kTitleComm = QStringLiteral("Problema de comunicacion");
const QString kProgramName = QStringLiteral("Talvenor");
constexpr int kPollMs = 10; // longest single wait on the port inside an exchange loop
// Before a request whose reply carries no head, the line must have been quiet this long (about
// twenty byte times at 9600 baud, and longer than a USB adapter holds bytes back), but the wait
// for it never lasts longer than the settle limit.
constexpr int kQuietMs = 20;
constexpr int kSettleLimitMs = 100;

// Whole milliseconds still to wait until `limit` seconds have passed; 0 or less once they have.
// The small allowance keeps rounding noise of the clock from adding a slice of 1 ms.
int MsLeft(double limit, double elapsed) {
    return static_cast<int>(std::ceil((limit - elapsed) * 1000.0 - 1e-6));
}

// The busy pointer from an exchange's first time-out until it ends, on every way out; a message
// of the failure path is shown with the usual pointer, so the scope ends before it.
class BusyScope {
public:
    explicit BusyScope(BusyPointer* pointer) : pointer_(pointer) {}
    ~BusyScope() { end(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    void begin() {
        if (pointer_ && !on_) pointer_->setBusy(true);
        on_ = pointer_ != nullptr;
    }
    void end() {
        if (on_) pointer_->setBusy(false);
        on_ = false;
    }

private:
    BusyPointer* pointer_;
    bool on_ = false;
};

// Counts an exchange as under way for as long as its routine runs, on every way out.
class RunningScope {
public:
    explicit RunningScope(int& count) : count_(count) { ++count_; }
    ~RunningScope() { --count_; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    int& count_;
};
} // namespace

void Link::OpenCommPort() {
    echo_.reset();
    rx_.clear();
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
    echo_.reset();
    rx_.clear();
    if (sv_.port.isOpen()) sv_.port.close();
    st_.PortOpened = false;
    st_.PortReady = false;
}

void Link::ReopenCommPort() {
    echo_.reset();
    rx_.clear();
    if (sv_.port.isOpen()) sv_.port.close();
    sv_.clock.sleepMs(100);
    if (st_.CommPortNumber >= 1 && st_.CommPortNumber <= 32)
        sv_.port.open(PortDeviceName(st_.CommPortNumber, st_.AppFolder));
    sv_.clock.sleepMs(100);
}

Exchange Link::refusal(int dev) const {
    if (st_.DemoMode || !st_.PortReady || st_.CommSuspended || !ValidBusAddress(dev)) return Exchange::Skipped;
    if (pingWaiting_) return Exchange::Busy;
    return Exchange::Done;
}

void Link::buildAndSend(int dev, uint8_t cmd, const Data8& d, bool& portError) {
    st_.BankLetter = BankOf(dev);
    st_.TxBuf = DeviceFrame(st_.BankLetter, static_cast<uint8_t>(dev % 33), cmd, d);
    const QByteArray bytes(reinterpret_cast<const char*>(st_.TxBuf.data()), static_cast<qsizetype>(st_.TxBuf.size()));
    portError = !sv_.port.write(bytes) || sv_.port.hasError();
    echo_.sent(st_.TxBuf);
}

Link::Wait Link::waitFor(int count, double limit) {
    const double t0 = sv_.clock.nowSeconds();
    for (;;) {
        const double elapsed = sv_.clock.nowSeconds() - t0;
        if (elapsed > limit) return gatheredAtLimit(count) ? Wait::Data : Wait::TimedOut;
        if (gathered(count)) return Wait::Data;
        const int left = static_cast<int>((limit - elapsed) * 1000.0) + 1;
        sv_.port.waitForData(std::min(kPollMs, left));
        if (sv_.port.hasError()) return Wait::PortError;
    }
}

bool Link::gathered(int count) {
    if (sv_.port.bytesWaiting() > 0) rx_ += sv_.port.readAll();
    // Bytes that are no part of this request's reply are dropped and the wait goes on for it.
    if (count == kReplyLength) return echo_.replyIn(rx_, st_.TxBuf);
    echo_.dropLateReplies(rx_, st_.TxBuf);
    return rx_.size() >= count;
}

bool Link::gatheredAtLimit(int count) const {
    return count == kReplyLength && echo_.replyInAtLimit(rx_, st_.TxBuf);
}

void Link::settleLine() {
    dropInput();
    const double t0 = sv_.clock.nowSeconds();
    double lastByte = t0;
    for (;;) {
        const double now = sv_.clock.nowSeconds();
        const int quietLeft = MsLeft(kQuietMs / 1000.0, now - lastByte);
        const int settleLeft = MsLeft(kSettleLimitMs / 1000.0, now - t0);
        if (quietLeft <= 0 || settleLeft <= 0) break;
        sv_.port.waitForData(std::min({quietLeft, settleLeft, kPollMs}));
        if (sv_.port.hasError()) break;
        if (sv_.port.bytesWaiting() > 0) {
            sv_.port.clearInput();
            lastByte = sv_.clock.nowSeconds();
        }
    }
}

void Link::dropInput() {
    sv_.port.clearInput();
    rx_.clear();
}

void Link::takeReply(int count) {
    st_.RxInput = rx_ + sv_.port.readAll();
    rx_.clear();
    const int n = std::min<int>(count, static_cast<int>(st_.RxInput.size()));
    for (int i = 0; i < n; ++i) st_.RxBuf[static_cast<size_t>(i)] = static_cast<uint8_t>(st_.RxInput[i]);
    dropInput();
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
    if (const Exchange r = refusal(dev); r != Exchange::Done) return last_ = r;
    const RunningScope running(running_);
    st_.ExchangeIdle = false;
    // A late reply to an earlier exchange must not answer this one.
    dropInput();
    BusyScope busy(busyPointer_);
    for (int attempt = 0;; ++attempt) {
        bool portError = false;
        buildAndSend(dev, cmd, d, portError);
        if (portError) {
            busy.end();
            return last_ = failurePath(dev);
        }
        if (cmd == CmdSignOff) return last_ = Exchange::Done; // nothing is awaited
        const Wait w = waitFor(kReplyLength, kSendLimit);
        if (w == Wait::Data) {
            takeReply(kReplyLength);
            st_.ExchangeIdle = true;
            return last_ = Exchange::Done;
        }
        if (w == Wait::PortError || attempt >= 4) {
            busy.end();
            return last_ = failurePath(dev);
        }
        // Time-out: the bytes of a reply cut short are dropped before the resend, so they never
        // shift the next reply; a whole late reply to this attempt still counts.
        dropInput();
        busy.begin();
    }
}

bool Link::SendFrameRead48(int dev, uint8_t cmd, const Data8& d) {
    if (const Exchange r = refusal(dev); r != Exchange::Done) {
        last_ = r;
        return false;
    }
    const RunningScope running(running_);
    dropInput();
    BusyScope busy(busyPointer_);
    for (int attempt = 0;; ++attempt) {
        // The 48 bytes carry no head to find them by: nothing of an earlier reply may come first.
        settleLine();
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
            busy.end();
            // Reported and given up; the program goes on so that no open window is lost.
            sv_.msg.show(QStringLiteral(" Problema de comunicacion "), kProgramName, MsgButtons::Ok,
                         MsgIcon::Exclamation);
            last_ = Exchange::FailedReported;
            return false;
        }
        // A cut reply (or a stray 13-byte frame) must not become the head of the 48 bytes.
        dropInput();
        busy.begin();
    }
}

bool Link::PingDevice(int addr, uint8_t cmd, const std::array<uint8_t, 6>& d) {
    if (const Exchange r = refusal(addr); r != Exchange::Done) {
        last_ = r;
        return false;
    }
    const RunningScope running(running_);
    const Data8 data{d[0], d[1], d[2], d[3], d[4], d[5], 0, 0};
    dropInput();
    bool portError = false;
    buildAndSend(addr, cmd, data, portError);
    if (portError) {
        last_ = Exchange::Failed;
        return false;
    }
    st_.RxTimeout = false;
    // Timers and painting run while the ping waits, the operator's input is held back until it
    // ends, and no other exchange may start meanwhile. No wait slice runs past the 200 ms.
    pingWaiting_ = true;
    const double t0 = sv_.clock.nowSeconds();
    auto msLeft = [&] { return MsLeft(kPingLimit, sv_.clock.nowSeconds() - t0); };
    auto replied = [&] { return gathered(kReplyLength); };
    auto timedOut = [&] {
        if (msLeft() <= 0) st_.RxTimeout = true;
        return st_.RxTimeout;
    };
    bool answered = false;
    for (;;) {
        sv_.events.processEventsExceptUserInput();
        if ((answered = replied()) || timedOut()) break;
        // Never a negative wait, which a real port takes as "no limit".
        sv_.port.waitForData(std::clamp(msLeft(), 0, kPollMs));
        if (sv_.port.hasError()) break;
        if ((answered = replied()) || timedOut()) break;
    }
    pingWaiting_ = false;
    if (!answered && st_.RxTimeout) answered = gatheredAtLimit(kReplyLength);
    if (!answered) {
        last_ = Exchange::Failed;
        return false;
    }
    takeReply(kReplyLength);
    echo_.learnFromPing(st_.RxBuf.data(), st_.TxBuf);
    last_ = Exchange::Done;
    return st_.RxBuf[4] == st_.BankLetter;
}

bool Link::PingDeviceListed(int addr, uint8_t cmd, const std::array<uint8_t, 6>& d) {
    if (const Exchange r = refusal(addr); r != Exchange::Done || !st_.DevicePingOk[static_cast<size_t>(addr)]) {
        last_ = r != Exchange::Done ? r : Exchange::Skipped;
        return false;
    }
    const RunningScope running(running_);
    const Data8 data{d[0], d[1], d[2], d[3], d[4], d[5], 0, 0};
    st_.ExchangeIdle = false;
    dropInput();
    BusyScope busy(busyPointer_);
    for (int attempt = 0;; ++attempt) {
        bool portError = false;
        buildAndSend(addr, cmd, data, portError);
        const Wait w = portError ? Wait::PortError : waitFor(kReplyLength, kListedLimit);
        if (w == Wait::Data) {
            takeReply(kReplyLength);
            echo_.learnFromPing(st_.RxBuf.data(), st_.TxBuf);
            st_.ExchangeIdle = true;
            last_ = Exchange::Done;
            return st_.RxBuf[4] == st_.BankLetter;
        }
        if (w == Wait::PortError || attempt >= 1) break;
        dropInput(); // a cut reply never shifts the second one
        busy.begin();
    }
    busy.end();
    // Always reported, whatever ReportCommErrors holds.
    sv_.msg.show(QStringLiteral(" Problema de comunicacion equipo ID:") + QString::number(addr % 33), kProgramName,
                 MsgButtons::Ok, MsgIcon::Exclamation);
    st_.DevicePingOk[static_cast<size_t>(addr)] = false;
    markRowDisconnected(addr);
    st_.ExchangeIdle = true;
    last_ = Exchange::FailedReported;
    return false;
}
