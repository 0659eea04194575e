#pragma once
// Telling a late answer to an earlier request from the answer to the current one.
//
// Devices are only bound to the length of their replies and, for a ping, to the bank letter in
// reply byte 4. Many of them also repeat the request's head (0xF0, bank letter, ID, command) in
// reply bytes 0..3 and end with 0xF7. A port learns from its first answered ping whether its
// replies do; only then is a framed 13-byte reply that names another device or another command
// taken for what it is, a late answer to an earlier request, and dropped. Before that first
// ping is answered, only a reply that repeats exactly the head of a request sent earlier on the
// port is dropped, and it shows that the port's replies echo. On a port whose replies are framed
// otherwise every reply is accepted by its length, as always.
#include "link/Protocol.h"

#include <QByteArray>
#include <set>

// Whether a 13-byte reply repeats the head of the request it answers and ends with 0xF7.
inline bool RepeatsRequestHead(const uint8_t* reply, const Frame13& request) {
    return reply[0] == request[0] && reply[1] == request[1] && reply[2] == request[2] &&
           reply[3] == request[3] && reply[12] == kFrameEnd;
}

// Whether 13 bytes are a framed reply (0xF0, a bank letter, ..., 0xF7) whose head names another
// request. The head of a 48-byte program header does not look like one: its byte 1 is a gain
// byte (0..96), never a bank letter.
inline bool AnswersAnotherRequest(const uint8_t* reply, const Frame13& request) {
    const bool framed = reply[0] == kFrameStart && (reply[1] == kBankFirst || reply[1] == kBankSecond) &&
                        reply[12] == kFrameEnd;
    return framed && (reply[1] != request[1] || reply[2] != request[2] || reply[3] != request[3]);
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
    // Whether gathered bytes must be looked at before they are taken (see dropLateReplies); once
    // the port has shown replies framed otherwise they never are.
    bool mayDrop() const { return state_ != State::Other; }

    // Drops, from the front of the bytes gathered for `request`, every complete framed reply that
    // answers another request: on a port whose replies echo, any other head; before the port has
    // shown anything, only the exact head of a request sent on it earlier, which shows at once
    // that its replies echo (a late answer to the port's first ping is not learnt from). On a
    // port whose replies are framed otherwise nothing is dropped.
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

  private:
    // Bank letter, ID and command of a frame's head.
    static uint32_t HeadKey(const uint8_t* f) {
        return (uint32_t{f[1]} << 16) | (uint32_t{f[2]} << 8) | f[3];
    }
    enum class State { Unknown, Echoes, Other };
    State state_ = State::Unknown;
    std::set<uint32_t> sentHeads_; // heads of the requests written since the port opened
};
