#pragma once
// Finding the reply to the current request among the bytes the port gathered for it.
//
// Devices are only bound to the length of their replies and, for a ping, to the bank letter in
// reply byte 4. Many of them also repeat the request's head (0xF0, bank letter, ID, command) in
// reply bytes 0..3 and end with 0xF7; others on the same bus may not. Each device (bus address)
// shows by its first answered ping whether its replies do. For a device whose replies echo, a
// 13-byte reply is taken only from bytes that begin with the request's head and end with 0xF7:
// whatever lies ahead of it (a late answer to an earlier request, the rest of a reply cut by its
// time limit, bytes a device sent after its reply) is dropped, and the wait goes on for the reply
// itself. Before a device has shown anything, this request's head found further in the gathered
// bytes shows that its replies echo. A device whose replies are framed otherwise is answered by
// the length of its replies. Wherever it lands, a framed reply that repeats the head of a request
// sent earlier on the port is a late answer and is dropped.
#include "link/Protocol.h"

#include <QByteArray>
#include <algorithm>
#include <map>
#include <set>

// Whether the first n bytes (n at most 4) are those a reply to `request` begins with: 0xF0, the
// bank letter, the ID and the command. A device may answer an ID change from its new ID.
inline bool MatchesReplyHead(const uint8_t* bytes, int n, const Frame13& request) {
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<size_t>(i);
        const bool newId = i == 2 && request[3] == CmdSetId && bytes[k] == request[4];
        if (bytes[k] != request[k] && !newId) return false;
    }
    return true;
}

// Whether a 13-byte reply repeats the head of the request it answers and ends with 0xF7.
inline bool RepeatsRequestHead(const uint8_t* reply, const Frame13& request) {
    return MatchesReplyHead(reply, 4, request) && reply[12] == kFrameEnd;
}

// Whether 13 bytes are a framed reply (0xF0, a bank letter, ..., 0xF7) whose head names another
// request. The head of a 48-byte program header does not look like one: its byte 1 is a gain
// byte (0..96), never a bank letter.
inline bool AnswersAnotherRequest(const uint8_t* reply, const Frame13& request) {
    const bool framed = reply[0] == kFrameStart && (reply[1] == kBankFirst || reply[1] == kBankSecond) &&
                        reply[12] == kFrameEnd;
    return framed && !MatchesReplyHead(reply, 4, request);
}

// Where in `gathered` a reply to `request` may begin: the first position whose bytes match the
// request's head as far as they go and, once 13 bytes follow it, end with 0xF7. The size of
// `gathered` when no position does.
inline qsizetype ReplyStart(const QByteArray& gathered, const Frame13& request) {
    const auto* g = reinterpret_cast<const uint8_t*>(gathered.constData());
    const qsizetype size = gathered.size();
    for (qsizetype p = 0; p < size; ++p) {
        const qsizetype n = std::min<qsizetype>(kReplyLength, size - p);
        if (!MatchesReplyHead(g + p, static_cast<int>(std::min<qsizetype>(4, n)), request)) continue;
        if (n == kReplyLength && g[p + kReplyLength - 1] != kFrameEnd) continue;
        return p;
    }
    return size;
}

// What the devices on one open port have shown about the head of their replies.
class ReplyEcho {
  public:
    // A port was opened: nothing is known yet and nothing was sent on it.
    void reset() {
        states_.clear();
        sentHeads_.clear();
    }
    // A request was written to the port.
    void sent(const Frame13& request) { sentHeads_.insert(HeadKey(request.data())); }
    // Learns from the device's first answered ping; its later pings change nothing.
    void learnFromPing(const uint8_t* reply, const Frame13& request) {
        learn(request.data(), RepeatsRequestHead(reply, request) ? State::Echoes : State::Other);
    }
    // The replies of the device at a bus address repeat the request's head: its late answers can
    // be recognised.
    bool echoes(int busAddress) const {
        const Frame13 f = DeviceFrameFor(busAddress, CmdPing, {});
        return stateOf(f.data()) == State::Echoes;
    }

    // Drops, from the front of the bytes gathered for `request`, every complete framed reply that
    // answers another request: for a device whose replies echo, any other head; otherwise only
    // the exact head of a request sent on the port earlier, which shows at once that the device
    // it names echoes. This is all that can be told of a 48-byte program header, which carries no
    // head.
    void dropLateReplies(QByteArray& gathered, const Frame13& request) {
        const bool echoing = stateOf(request.data()) == State::Echoes;
        while (gathered.size() >= kReplyLength) {
            const auto* r = reinterpret_cast<const uint8_t*>(gathered.constData());
            if (!AnswersAnotherRequest(r, request)) return;
            if (!echoing) {
                if (!sentHeads_.contains(HeadKey(r))) return;
                learn(r, State::Echoes);
            }
            gathered.remove(0, kReplyLength);
        }
    }

    // Whether the 13-byte reply to `request` is in `gathered`; when it is, it heads `gathered`.
    // For a device whose replies echo, bytes ahead of the request's head are dropped. Before the
    // device has shown anything, bytes ahead of the request's whole framed reply are dropped and
    // show that its replies echo; while a head may still be arriving behind other bytes the wait
    // goes on (see replyInAtLimit), and bytes with no head at all are taken by length. A device
    // whose replies are framed otherwise is answered by their length.
    bool replyIn(QByteArray& gathered, const Frame13& request) {
        dropLateReplies(gathered, request);
        const State s = stateOf(request.data());
        if (s == State::Other) return gathered.size() >= kReplyLength;
        const qsizetype p = ReplyStart(gathered, request);
        if (s == State::Echoes) {
            gathered.remove(0, p);
            return gathered.size() >= kReplyLength;
        }
        if (p > 0 && p + kReplyLength <= gathered.size()) {
            gathered.remove(0, p);
            learn(request.data(), State::Echoes);
            return true;
        }
        return (p == 0 || p == gathered.size()) && gathered.size() >= kReplyLength;
    }
    // When the time limit is reached: before the device has shown anything, 13 bytes are a reply
    // by their length even where a head seemed to be arriving behind them.
    bool replyInAtLimit(const QByteArray& gathered, const Frame13& request) const {
        return stateOf(request.data()) == State::Unknown && gathered.size() >= kReplyLength;
    }

  private:
    enum class State { Unknown, Echoes, Other };
    // Bank letter and ID of the device a frame's head names.
    static uint32_t DeviceKey(const uint8_t* f) { return (uint32_t{f[1]} << 8) | f[2]; }
    // Bank letter, ID and command of a frame's head.
    static uint32_t HeadKey(const uint8_t* f) { return (DeviceKey(f) << 8) | f[3]; }
    // What the device a frame's head names has shown.
    State stateOf(const uint8_t* f) const {
        const auto it = states_.find(DeviceKey(f));
        return it == states_.end() ? State::Unknown : it->second;
    }
    // The device a frame's head names has shown how its replies are framed, unless it already had.
    void learn(const uint8_t* f, State shown) { states_.try_emplace(DeviceKey(f), shown); }

    std::map<uint32_t, State> states_; // by device, never Unknown; a device not there has shown nothing
    std::set<uint32_t> sentHeads_;     // heads of the requests written since the port opened
};
