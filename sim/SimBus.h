#pragma once
// A simulated RS-485 bus of loudspeaker devices that answer the device protocol.
#include "link/Protocol.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <map>
#include <vector>

// One simulated device: its bus address, its address space and the faults set on it.
struct SimDevice {
    int busAddress = 1;
    // Device address space: 0..15 current program name, 16..31 settings, 32..39 device name,
    // 112..271 live output sections, 287 last system type, 288 + 48m memory headers,
    // 1280 + 176s speaker slots.
    std::array<uint8_t, 4096> mem{};
    // Bytes 0..47 of the current program (what a recall of 0xFF returns).
    std::array<uint8_t, 48> current{};
    std::array<uint8_t, 3> version{1, 0, 3};
    std::array<uint8_t, 8> meters{10, 20, 30, 40, 0, 0, 0, 0};

    // Faults.
    bool silent = false;        // never answers
    int answerFromAttempt = 1;  // ignores the first k-1 frames addressed to it
    bool wrongEcho = false;     // a ping reply carries the other bank letter
    int extraBytes = 0;         // junk bytes appended to each reply
    double replyDelay = 0.02;   // seconds from request to reply
    int silentAfter = -1;       // stops answering after this many answered frames (-1 never)
    int cutReplies = 0;         // this many replies are cut short on the line...
    int cutLength = 5;          // ...after this many bytes
    // The nth request (counted from 1) of a command is answered this many seconds late.
    struct LateReply {
        uint8_t cmd = 0;
        int nth = 1;
        double seconds = 0.0;
    };
    std::vector<LateReply> lateReplies;
    bool otherHead = false; // replies carry zero bytes in place of the request's head and 0xF7
    bool setIdFromNewId = false; // the reply to an ID change carries the new ID in byte 2

    // What it received, in order.
    std::vector<Frame13> received;
    int answered = 0;

    void setName(const QString& name);       // writes name codes at 32..39, 0xFF after the end
    void setMemoryName(int m, const QString& name, bool used = true);
    // Erases memory m (0..15) as the device's own memory does: its 48 header bytes become 0xFF.
    void eraseMemory(int m);
};

class SimBus {
public:
    // Adds a device with default contents at a bus address (replacing one there).
    SimDevice& addDevice(int busAddress, const QString& name = QString());
    SimDevice* device(int busAddress);
    void removeDevice(int busAddress);

    // Every frame written to the bus, in order, whether or not a device took it.
    std::vector<Frame13> frames;
    // Frames with a given command code.
    std::vector<Frame13> framesWithCommand(uint8_t cmd) const;
    // Seconds one byte takes on the line; 0 delivers every reply whole at its time. When set, the
    // bytes of a reply arrive one by one from its time on, and a reply waits for the line to be
    // free of the one before it.
    double byteTime = 0.0;
    static constexpr double kByteTime9600 = 10.0 / 9600.0; // 10 bits a byte at 9600 baud

    // Feeds bytes written by the program; returns the replies with the time they are due,
    // relative to `now`.
    struct Reply {
        double due;
        QByteArray bytes;
    };
    std::vector<Reply> receive(const QByteArray& bytes, double now);

private:
    QByteArray answer(SimDevice& d, const Frame13& f);
    QByteArray partial_;
    int moveTo_ = -1;
    double lineFreeAt_ = 0.0; // when the last reply put on the line has left it
    std::map<int, SimDevice> devices_;
};

// A serial port on the simulated bus whose time is a FakeClock: waiting for data moves the
// clock forward to the next reply, so time-outs of many seconds pass at once.
class SimPort : public SerialPort {
public:
    SimPort(SimBus& bus, FakeClock& clock) : bus_(bus), clock_(clock) {}
    bool open(const QString& name) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool write(const QByteArray& bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    void clearInput() override;
    void waitForData(int msecs) override;
    bool hasError() const override { return failWrites_; }

    // Test controls.
    bool refuseOpen = false;   // open fails
    bool failWrites_ = false;  // every write fails as a port error
    QString openedName;
    int writes = 0;
    // Puts bytes into the input as if they had arrived.
    void inject(const QByteArray& bytes) { input_ += bytes; }
    // Puts bytes on the line to arrive at a given time of the clock.
    void injectAt(const QByteArray& bytes, double due) { pending_.push_back({due, bytes}); }

private:
    void deliverDue();
    SimBus& bus_;
    FakeClock& clock_;
    bool open_ = false;
    QByteArray input_;
    std::vector<SimBus::Reply> pending_;
};
