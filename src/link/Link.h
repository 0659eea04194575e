#pragma once
// The serial link: opens the main port and runs the four kinds of exchange over it.
#include "common/AppState.h"
#include "link/Protocol.h"
#include "link/ReplyEcho.h"
#include "platform/BusyPointer.h"
#include "platform/Services.h"

// What an exchange did.
enum class Exchange {
    Done,           // the reply arrived; RxBuf holds it
    Skipped,        // nothing was sent (demo mode, port not ready, traffic suspended, bad address)
    Busy,           // nothing was sent: a ping waits with events running; the caller changes nothing
    Failed,         // the device stayed silent or the port failed; not reported
    FailedReported, // the same, reported to the operator and the device disconnected
};

// How the failure path reaches the device list and the editing windows.
class LinkFailureSink {
public:
    virtual ~LinkFailureSink() = default;
    // Shows list row `row` as disconnected: its ID, "Disconnected", "OFF", the link cell current
    // and painted white.
    virtual void ShowRowDisconnected(int row, int busAddress) = 0;
    // Closes the editing window open for the device, without asking.
    virtual void CloseDeviceWindow(int busAddress) = 0;
};

class Link {
public:
    Link(AppState& st, Services& sv) : st_(st), sv_(sv) {}

    void setFailureSink(LinkFailureSink* sink) { sink_ = sink; }
    // Shown busy while an exchange waits past its first attempt.
    void setBusyPointer(BusyPointer* pointer) { busyPointer_ = pointer; }

    // Opens the port chosen in the connection dialog; sets PortOpened and PortReady.
    void OpenCommPort();
    void CloseCommPort();
    // Reopens the port for a reconnection: close, wait 100 ms, open, wait 100 ms. PortReady and
    // PortOpened are left as they are, so that when the port does not open the next exchanges
    // fail through the failure path (which tells the operator) instead of being skipped unseen.
    void ReopenCommPort();

    // General send with reply wait (9.504 s) and five sends in all.
    Exchange SendFrameEx(int dev, uint8_t cmd, const Data8& d = {});
    // True only when the exchange failed and the failure was reported.
    bool SendFrame(int dev, uint8_t cmd, const Data8& d = {}) {
        return SendFrameEx(dev, cmd, d) == Exchange::FailedReported;
    }
    // 48-byte block read (18.144 s, six sends in all). True when 48 bytes were received.
    bool SendFrameRead48(int dev, uint8_t cmd, const Data8& d = {});
    // Single ping with a 200 ms limit, letting window events run. True when the reply echoes
    // the bank letter.
    bool PingDevice(int addr, uint8_t cmd, const std::array<uint8_t, 6>& d = {});
    // Ping of a device being opened from the list (4.752 s, two sends in all), reported on failure.
    bool PingDeviceListed(int addr, uint8_t cmd, const std::array<uint8_t, 6>& d = {});

    // What the last exchange did; RxBuf is a reply only after Done.
    Exchange LastExchange() const { return last_; }
    bool LastDone() const { return last_ == Exchange::Done; }
    // A ping waits with events running: no other exchange can start, and an edit must not begin.
    bool Busy() const { return pingWaiting_; }
    // An exchange is under way: it waits for its reply or reports its failure (a message box or
    // a ping lets window events run meanwhile). ExchangeIdle may stay lowered after an exchange
    // failed; this tells whether one is still waiting.
    bool Waiting() const { return running_ > 0; }
    // The replies of the device at a bus address repeat the request's head (shown by its first
    // answered ping): a framed reply that names another device or command is a late answer and is
    // never taken as its reply.
    bool RepliesEcho(int busAddress) const { return echo_.echoes(busAddress); }

    static constexpr double kSendLimit = 0.11 / 1000.0 * 86400.0;     // 9.504 s
    static constexpr double kRead48Limit = 0.21 / 1000.0 * 86400.0;   // 18.144 s
    static constexpr double kListedLimit = 0.11 / 2000.0 * 86400.0;   // 4.752 s
    static constexpr double kPingLimit = 0.2;                         // 200 ms

private:
    // Why an exchange to dev may not start (Skipped or Busy), or Done when it may.
    Exchange refusal(int dev) const;
    void buildAndSend(int dev, uint8_t cmd, const Data8& d, bool& portError);
    enum class Wait { Data, TimedOut, PortError };
    Wait waitFor(int count, double limit);
    // Whether `count` bytes of a reply to the request in TxBuf are in.
    bool gathered(int count);
    // Whether what was gathered is taken as the reply once the time limit is reached.
    bool gatheredAtLimit(int count) const;
    // Drops what still arrives from earlier exchanges until the line has been quiet for a while.
    void settleLine();
    void takeReply(int count);
    // Empties the port's input and what was gathered from it.
    void dropInput();
    void markRowDisconnected(int busAddress);
    Exchange failurePath(int dev);

    AppState& st_;
    Services& sv_;
    LinkFailureSink* sink_ = nullptr;
    BusyPointer* busyPointer_ = nullptr;
    Exchange last_ = Exchange::Skipped;
    bool pingWaiting_ = false; // PingDevice waits with events running
    int running_ = 0;          // exchanges under way (a failure report may start another)
    ReplyEcho echo_;           // what the replies of each device on the open port have shown
    QByteArray rx_;            // bytes read for the current exchange while late answers are looked for
};



