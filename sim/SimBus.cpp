#include "sim/SimBus.h"

#include "common/NameCode.h"

#include <algorithm>

void SimDevice::setName(const QString& name) {
    for (int i = 0; i < 8; ++i) {
        if (i < name.size())
            mem[static_cast<size_t>(32 + i)] =
                static_cast<uint8_t>(EncodeNameChar(QString::number(name.at(i).unicode())));
        else
            mem[static_cast<size_t>(32 + i)] = 0xFF;
    }
}

void SimDevice::setMemoryName(int m, const QString& name, bool used) {
    const int base = 288 + 48 * m;
    for (int i = 0; i < 16; ++i)
        mem[static_cast<size_t>(base + 32 + i)] =
            i < name.size() ? static_cast<uint8_t>(EncodeNameChar(QString::number(name.at(i).unicode()))) : 0;
    mem[static_cast<size_t>(base + 47)] = used ? static_cast<uint8_t>(m) : 0xFF;
}

void SimDevice::eraseMemory(int m) {
    if (m < 0 || m >= 16) return;
    std::fill_n(mem.begin() + 288 + 48 * m, 48, uint8_t{0xFF});
}

SimDevice& SimBus::addDevice(int busAddress, const QString& name) {
    SimDevice d;
    d.busAddress = busAddress;
    // Every memory starts deleted, no speaker slot is used.
    for (int m = 0; m < 16; ++m) d.mem[static_cast<size_t>(335 + 48 * m)] = 0xFF;
    for (int s = 0; s < 16; ++s)
        for (int i = 0; i < 15; ++i) d.mem[static_cast<size_t>(1280 + 176 * s + i)] = ' ';
    d.setName(name.isEmpty() ? QStringLiteral("SIM%1").arg(busAddress % 33) : name);
    devices_[busAddress] = d;
    return devices_[busAddress];
}

SimDevice* SimBus::device(int busAddress) {
    auto it = devices_.find(busAddress);
    return it == devices_.end() ? nullptr : &it->second;
}

void SimBus::removeDevice(int busAddress) { devices_.erase(busAddress); }

std::vector<Frame13> SimBus::framesWithCommand(uint8_t cmd) const {
    std::vector<Frame13> out;
    for (const auto& f : frames)
        if (f[3] == cmd) out.push_back(f);
    return out;
}

std::vector<SimBus::Reply> SimBus::receive(const QByteArray& bytes, double now) {
    std::vector<Reply> replies;
    partial_ += bytes;
    // Frames are 13 bytes with no escaping: resynchronise on a start byte when needed.
    while (partial_.size() >= 13) {
        if (static_cast<uint8_t>(partial_[0]) != kFrameStart) {
            partial_.remove(0, 1);
            continue;
        }
        Frame13 f{};
        for (int i = 0; i < 13; ++i) f[static_cast<size_t>(i)] = static_cast<uint8_t>(partial_[i]);
        partial_.remove(0, 13);
        frames.push_back(f);
        const int bus = f[2] + (f[1] == kBankSecond ? 33 : 0);
        SimDevice* d = (f[1] == kBankFirst || f[1] == kBankSecond) ? device(bus) : nullptr;
        if (!d) continue;
        d->received.push_back(f);
        if (d->silent) continue;
        if (static_cast<int>(d->received.size()) < d->answerFromAttempt) continue;
        if (d->silentAfter >= 0 && d->answered >= d->silentAfter) continue;
        moveTo_ = -1;
        QByteArray r = answer(*d, f);
        if (r.isEmpty()) continue;
        ++d->answered;
        r += QByteArray(d->extraBytes, '\x55');
        if (d->cutReplies > 0) {
            --d->cutReplies;
            r.truncate(d->cutLength);
        }
        double delay = d->replyDelay;
        const auto sameCommand = [&](const Frame13& g) { return g[3] == f[3]; };
        const auto nth = std::count_if(d->received.begin(), d->received.end(), sameCommand);
        for (const auto& late : d->lateReplies)
            if (late.cmd == f[3] && late.nth == nth) delay += late.seconds;
        if (byteTime <= 0.0) {
            replies.push_back({now + delay, r});
        } else {
            // One byte after the other, each due once its last bit is in.
            const double start = std::max(now + delay, lineFreeAt_);
            for (qsizetype i = 0; i < r.size(); ++i)
                replies.push_back({start + static_cast<double>(i + 1) * byteTime, r.mid(i, 1)});
            lineFreeAt_ = start + static_cast<double>(r.size()) * byteTime;
        }
        if (moveTo_ >= 0) {
            const int from = d->busAddress, to = moveTo_;
            moveTo_ = -1;
            if (to != from && !device(to)) {
                SimDevice moved = *d;
                moved.busAddress = to;
                moved.received.clear();
                devices_.erase(from);
                devices_[to] = moved;
            }
        }
    }
    return replies;
}

QByteArray SimBus::answer(SimDevice& d, const Frame13& f) {
    const uint8_t cmd = f[3];
    const int addr = (f[4] << 8) | f[5];
    Frame13 r = f; // replies echo the request unless the command fills data bytes
    auto at = [&](int a) -> uint8_t& { return d.mem[static_cast<size_t>(std::clamp(a, 0, 4095))]; };
    switch (cmd) {
    case CmdSignOff:
        return {};
    case CmdPing:
        r[4] = d.wrongEcho ? (f[1] == kBankFirst ? kBankSecond : kBankFirst) : f[1];
        break;
    case CmdRecallMemory: {
        QByteArray out(48, '\0');
        for (int i = 0; i < 48; ++i)
            out[i] = static_cast<char>(f[4] == 0xFF ? d.current[static_cast<size_t>(i)] : at(288 + 48 * f[4] + i));
        // An empty memory (status above 63) is answered but not loaded: the device keeps its
        // program.
        if (f[4] != 0xFF && f[4] < 16 && at(288 + 48 * f[4] + 47) <= 63)
            std::copy_n(d.mem.begin() + 288 + 48 * f[4], 48, d.current.begin());
        return out;
    }
    case CmdReadByte:
        r[8] = at(addr);
        break;
    case CmdWriteByte:
        at(addr) = f[8];
        break;
    case CmdWrite4:
        for (int i = 0; i < 4; ++i) at(addr + i) = f[static_cast<size_t>(6 + i)];
        break;
    case CmdRead8:
        for (int i = 0; i < 8; ++i) r[static_cast<size_t>(4 + i)] = at(addr + i);
        break;
    case CmdReadMeters:
        std::copy(d.meters.begin(), d.meters.end(), r.begin() + 4);
        break;
    case CmdReadVersion:
        r[4] = d.version[0];
        r[5] = d.version[1];
        r[6] = d.version[2];
        break;
    case CmdStoreMemory:
        if (f[11] < 16) at(31) = f[11];
        break;
    case CmdSetId:
        // The move to the new address happens once the reply is built (see receive()).
        moveTo_ = (f[1] == kBankSecond ? 33 : 0) + f[4] % 33;
        if (d.setIdFromNewId) r[2] = static_cast<uint8_t>(f[4] % 33);
        break;
    default:
        break;
    }
    if (d.otherHead) r[0] = r[1] = r[2] = r[3] = r[12] = 0;
    return QByteArray(reinterpret_cast<const char*>(r.data()), 13);
}

bool SimPort::open(const QString& name) {
    openedName = name;
    if (refuseOpen) return false;
    open_ = true;
    input_.clear();
    pending_.clear();
    return true;
}

bool SimPort::write(const QByteArray& bytes) {
    ++writes;
    if (!open_ || failWrites_) return false;
    for (auto& r : bus_.receive(bytes, clock_.nowSeconds())) pending_.push_back(r);
    return true;
}

void SimPort::deliverDue() {
    const double now = clock_.nowSeconds();
    std::stable_sort(pending_.begin(), pending_.end(), [](const auto& a, const auto& b) { return a.due < b.due; });
    while (!pending_.empty() && pending_.front().due <= now + 1e-12) {
        input_ += pending_.front().bytes;
        pending_.erase(pending_.begin());
    }
}

qint64 SimPort::bytesWaiting() {
    deliverDue();
    return input_.size();
}

QByteArray SimPort::readAll() {
    deliverDue();
    QByteArray out = input_;
    input_.clear();
    return out;
}

void SimPort::clearInput() {
    deliverDue();
    input_.clear();
}

void SimPort::waitForData(int msecs) {
    deliverDue();
    const double now = clock_.nowSeconds();
    const double until = now + msecs / 1000.0;
    double next = until;
    for (const auto& p : pending_) next = std::min(next, p.due);
    clock_.set(std::max(now, next));
    deliverDue();
}
