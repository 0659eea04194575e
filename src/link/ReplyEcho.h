#pragma once
// Finding the reply to the current request among the bytes the port gathered for it.
//
// Devices are only bound to the length of their replies and, for a ping, to the bank letter in
// reply byte 4. Many of them also repeat the request's head (0xF0, bank letter, ID, command) in
// reply bytes 0..3 and end with 0xF7. A port learns from its first answered ping whether its
// replies do. On such a port a 13-byte reply is taken only from bytes that begin with the
// request's head and end with 0xF7: whatever lies ahead of it (a late answer to an earlier
// request, the rest of a reply cut by its time limit, bytes a device sent after its reply) is
// dropped, and the wait goes on for the reply itself. Before the port has shown anything, a
// framed reply that repeats the head of a request sent earlier on the port, or this request's
// head found further in the gathered bytes, shows that its replies echo. On a port whose replies
// are framed otherwise every reply is accepted by its length, as always.
#include "link/Protocol.h"

#include <QByteArray>
#include <algorithm>
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

// What one open port has shown about the head of its replies.
class ReplyEcho {
  public:
    // A port was opened: nothing is known yet and nothing was sent on it.
    void reset() {
        state_ = State::Unknown;
        sentHeads_.clear();
    }
    // A request was written to the port.
    void sent(const Frame13& request) { sentHeads_.insert(HeadKey(request.data())); }
    // Learns from the first answered ping of the port; later pings change nothing.
    void learnFromPing(const uint8_t* reply, const Frame13& request) {
        if (state_ == State::Unknown)
            state_ = RepeatsRequestHead(reply, request) ? State::Echoes : State::Other;
    }
    // The port's replies repeat the request's head: late answers can be recognised.
    bool echoes() const { return state_ == State::Echoes; }
    // Whether gathered bytes must be looked at before they are taken (see replyIn); once the port
    // has shown replies framed otherwise they never are.
    bool mayDrop() const { return state_ != State::Other; }

    // Drops, from the front of the bytes gathered for `request`, every complete framed reply that
    // answers another request: on a port whose replies echo, any other head; before the port has
    // shown anything, only the exact head of a request sent on it earlier, which shows at once
    // that its replies echo (a late answer to the port's first ping is not learnt from). On a
    // port whose replies are framed otherwise nothing is dropped. This is all that can be told of
    // a 48-byte program header, which carries no head.
    void dropLateReplies(QByteArray& gathered, const Frame13& request) {
        while (state_ != State::Other && gathered.size() >= kReplyLength) {
            const auto* r = reinterpret_cast<const uint8_t*>(gathered.constData());
            if (!AnswersAnotherRequest(r, request)) return;
            if (state_ == State::Unknown) {
                if (!sentHeads_.contains(HeadKey(r))) return;
                state_ = State::Echoes;
            }
            gathered.remove(0, kReplyLength);
        }
    }

    // Whether the 13-byte reply to `request` is in `gathered`; when it is, it heads `gathered`.
    // On a port whose replies echo, bytes ahead of the request's head are dropped. Before the
    // port has shown anything, bytes ahead of the request's whole framed reply are dropped and
    // show that the port's replies echo; while a head may still be arriving behind other bytes
    // the wait goes on (see replyInAtLimit), and bytes with no head at all are taken by length.
    bool replyIn(QByteArray& gathered, const Frame13& request) {
        dropLateReplies(gathered, request);
        if (state_ == State::Other) return gathered.size() >= kReplyLength;
        const qsizetype p = ReplyStart(gathered, request);
        if (state_ == State::Echoes) {
            gathered.remove(0, p);
            return gathered.size() >= kReplyLength;
        }
        if (p > 0 && p + kReplyLength <= gathered.size()) {
            gathered.remove(0, p);
            state_ = State::Echoes;
            return true;
        }
        return (p == 0 || p == gathered.size()) && gathered.size() >= kReplyLength;
    }
    // When the time limit is reached: before the port has shown anything, 13 bytes are a reply by
    // their length even where a head seemed to be arriving behind them.
    bool replyInAtLimit(const QByteArray& gathered) const {
        return state_ == State::Unknown && gathered.size() >= kReplyLength;
    }

  private:
    // Bank letter, ID and command of a frame's head.
    static uint32_t HeadKey(const uint8_t* f) {
        return (uint32_t{f[1]} << 16) | (uint32_t{f[2]} << 8) | f[3];
    }
    enum class State { Unknown, Echoes, Other };
    State state_ = State::Unknown;
    std::set<uint32_t> sentHeads_; // heads of the requests written since the port opened
};
