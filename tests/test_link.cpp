#include "support/SimEnv.h"

#include "support/Devsim.h"
#include "platform/QtSerialPortAdapter.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <numeric>

// ---- Frames ----

TEST(DeviceFrameTest, WorkedFrames) {
    struct Case {
        int bus;
        uint8_t cmd;
        Data8 data;
        Frame13 want;
    };
    const Case cases[] = {
        {38, CmdPing, {}, FrameOf({0xF0, 0x66, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7})},
        {33, CmdPing, {}, FrameOf({0xF0, 0x66, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7})},
        {0, CmdPing, {}, FrameOf({0xF0, 0x65, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7})},
        {5, CmdReadByte, {0, 31}, FrameOf({0xF0, 0x65, 0x05, 0x10, 0x00, 0x1F, 0, 0, 0, 0, 0, 0, 0xF7})},
        {32, CmdSetGain, {0, 0, 0, 0, 0, 0, 0xF0, 0xF7},
         FrameOf({0xF0, 0x65, 0x20, 0x01, 0, 0, 0, 0, 0, 0, 0xF0, 0xF7, 0xF7})},
    };
    for (const auto& c : cases) EXPECT_EQ(DeviceFrameFor(c.bus, c.cmd, c.data), c.want) << "bus " << c.bus;
}

TEST(DeviceFrameTest, DataBytesF0AndF7LeaveUnchanged) {
    SimEnv env;
    env.bus.addDevice(5);
    EXPECT_FALSE(env.link.SendFrame(5, CmdWrite4, {0x01, 0x20, 0xF0, 0xF7, 0xF0, 0xF7, 0, 0}));
    ASSERT_EQ(env.bus.frames.size(), 1u);
    EXPECT_EQ(env.bus.frames[0], FrameOf({0xF0, 0x65, 5, 0x18, 0x01, 0x20, 0xF0, 0xF7, 0xF0, 0xF7, 0, 0, 0xF7}));
    EXPECT_EQ(env.bus.device(5)->mem[0x120 + 1], 0xF7);
}

// ---- SendFrame ----

TEST(SendFrameTest, AnswerOnFirstSend) {
    SimEnv env;
    env.bus.addDevice(5).mem[31] = 3;
    EXPECT_FALSE(env.link.SendFrame(5, CmdReadByte, {0, 31}));
    EXPECT_EQ(env.link.LastExchange(), Exchange::Done);
    EXPECT_EQ(env.st.RxBuf[8], 3);
    EXPECT_TRUE(env.st.ExchangeIdle);
    EXPECT_EQ(env.bus.frames.size(), 1u);
}

TEST(SendFrameTest, DeviceAnsweringOnlyTheThirdAttempt) {
    SimEnv env;
    env.bus.addDevice(7).answerFromAttempt = 3;
    env.bus.device(7)->version = {2, 0, 9};
    const double t0 = env.clock.nowSeconds();
    EXPECT_FALSE(env.link.SendFrame(7, CmdReadVersion));
    EXPECT_EQ(env.link.LastExchange(), Exchange::Done);
    EXPECT_EQ(env.bus.frames.size(), 3u);
    EXPECT_EQ(env.st.RxBuf[4], 2);
    EXPECT_EQ(env.st.RxBuf[6], 9);
    EXPECT_NEAR(env.clock.nowSeconds() - t0, 2 * Link::kSendLimit, 0.1);
}

TEST(SendFrameTest, SilentDeviceUnreported) {
    SimEnv env;
    env.bus.addDevice(7).silent = true;
    env.st.ReportCommErrors = false;
    const double t0 = env.clock.nowSeconds();
    EXPECT_FALSE(env.link.SendFrame(7, CmdSetGain, {0, 0, 0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(env.link.LastExchange(), Exchange::Failed);
    EXPECT_EQ(env.bus.frames.size(), 5u);
    EXPECT_NEAR(env.clock.nowSeconds() - t0, 5 * 9.504, 0.1);
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_FALSE(env.st.ExchangeIdle);
}

TEST(SendFrameTest, SilentDeviceReportedMarksTheAddressedDeviceOnly) {
    SimEnv env;
    RecordingFailureSink sink;
    env.link.setFailureSink(&sink);
    env.bus.addDevice(4);
    env.bus.addDevice(37).silent = true;
    env.listDevices({4, 37});
    env.st.LinkOn[0] = env.st.LinkOn[1] = true;
    // The current window shows the healthy device 4; device 37 also has a window open.
    env.st.CurSlot = 0;
    env.st.SlotTable[0] = {-1, 4, 0};
    env.st.DeviceWindowOpen[4] = env.st.DeviceWindowOpen[37] = true;
    env.st.ReportCommErrors = true;

    EXPECT_TRUE(env.link.SendFrame(37, CmdSetMute, {0, 0, 0, 0, 0, 0, 0, 2}));
    EXPECT_EQ(env.link.LastExchange(), Exchange::FailedReported);
    EXPECT_EQ(env.bus.frames.size(), 5u);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, " El sistema terminara la comunicacion con este equipo");
    EXPECT_EQ(env.msg.shown[0].title, "Problema de comunicacion");
    EXPECT_EQ(env.msg.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(sink.rows, (std::vector<std::pair<int, int>>{{1, 37}}));
    EXPECT_EQ(sink.closed, std::vector<int>{37});
    EXPECT_TRUE(env.st.DeviceDisconnected[37]);
    EXPECT_FALSE(env.st.DeviceDisconnected[4]);
    EXPECT_TRUE(env.st.LinkOn[0]);
    EXPECT_FALSE(env.st.LinkOn[1]);
    EXPECT_FALSE(env.st.ExchangeIdle);
}

TEST(SendFrameTest, FailureOfAnUnlistedDeviceWithoutWindowTouchesNoRowOrWindow) {
    SimEnv env;
    RecordingFailureSink sink;
    env.link.setFailureSink(&sink);
    env.bus.addDevice(9).silent = true;
    env.listDevices({4});
    env.st.ReportCommErrors = true;
    EXPECT_TRUE(env.link.SendFrame(9, CmdSetGain));
    EXPECT_TRUE(sink.rows.empty());
    EXPECT_TRUE(sink.closed.empty());
    EXPECT_TRUE(env.st.DeviceDisconnected[9]);
}

TEST(SendFrameTest, TakesFirst13BytesAndDropsTheRest) {
    SimEnv env;
    env.bus.addDevice(3).extraBytes = 7;
    EXPECT_FALSE(env.link.SendFrame(3, CmdReadVersion));
    EXPECT_EQ(env.st.RxInput.size(), 20);
    EXPECT_EQ(env.st.RxBuf[12], 0xF7);
    EXPECT_EQ(env.st.RxBuf[13], 0);
    EXPECT_EQ(env.port.bytesWaiting(), 0);
}

TEST(SendFrameTest, StaleInputNeverAnswersANewRequest) {
    SimEnv env;
    env.bus.addDevice(3).silent = true;
    env.port.inject(QByteArray(13, '\x42'));
    EXPECT_FALSE(env.link.SendFrame(3, CmdReadByte, {0, 31}));
    EXPECT_EQ(env.link.LastExchange(), Exchange::Failed);
    EXPECT_EQ(env.bus.frames.size(), 5u);
}

TEST(SendFrameTest, LateReplyToAnEarlierSendCounts) {
    SimEnv env;
    env.bus.addDevice(3).replyDelay = 12.0; // longer than one wait
    EXPECT_FALSE(env.link.SendFrame(3, CmdReadVersion));
    EXPECT_EQ(env.link.LastExchange(), Exchange::Done);
    EXPECT_EQ(env.bus.frames.size(), 2u);
}

TEST(SendFrameTest, AReplyCutShortNeverShiftsTheNextOne) {
    // A first reply cut after `cut` bytes is dropped at the time-out; the pointer shows busy after.
    using Check = bool (*)(SimEnv&);
    const std::tuple<int, Check> cases[] = {
        {5, [](SimEnv& e) { return !e.link.SendFrame(5, CmdReadByte, {0, 31}) && e.st.RxBuf[8] == 3; }},
        {13, [](SimEnv& e) { return e.link.SendFrameRead48(5, CmdRecallMemory, {0xFF}) && e.st.RxBuf[47] == 47; }},
        {5, [](SimEnv& e) { return e.link.PingDeviceListed(5, CmdPing) && e.st.RxBuf[12] == kFrameEnd; }},
    };
    for (const auto& [cut, check] : cases) {
        SimEnv env;
        RecordingBusyPointer pointer;
        env.link.setBusyPointer(&pointer);
        SimDevice& d = env.bus.addDevice(5);
        std::iota(d.current.begin(), d.current.end(), 0);
        d.mem[31] = 3;
        d.cutReplies = 1;
        d.cutLength = cut;
        env.st.DevicePingOk[5] = true;
        EXPECT_TRUE(check(env)) << cut;
        EXPECT_EQ(env.bus.frames.size(), 2u) << cut;
        EXPECT_EQ(pointer.changes, (std::vector<bool>{true, false})) << cut;
    }
}

TEST(SendFrameTest, NothingLeavesWhenTrafficIsBlocked) {
    struct Case {
        const char* name;
        void (*setup)(SimEnv&);
    };
    const Case cases[] = {
        {"demo", [](SimEnv& e) { e.st.DemoMode = true; }},
        {"port not ready", [](SimEnv& e) { e.st.PortReady = false; }},
        {"suspended", [](SimEnv& e) { e.st.CommSuspended = true; }},
    };
    for (const auto& c : cases) {
        SimEnv env;
        env.bus.addDevice(5);
        env.st.ReportCommErrors = true;
        c.setup(env);
        EXPECT_FALSE(env.link.SendFrame(5, CmdSetGain)) << c.name;
        EXPECT_EQ(env.link.LastExchange(), Exchange::Skipped) << c.name;
        EXPECT_FALSE(env.link.SendFrameRead48(5, CmdRecallMemory, {0xFF})) << c.name;
        EXPECT_FALSE(env.link.PingDevice(5, CmdPing)) << c.name;
        env.st.DevicePingOk[5] = true;
        EXPECT_FALSE(env.link.PingDeviceListed(5, CmdPing)) << c.name;
        EXPECT_TRUE(env.bus.frames.empty()) << c.name;
        EXPECT_TRUE(env.msg.shown.empty()) << c.name;
    }
}

TEST(SendFrameTest, BusAddressOutsideRangeIsRefused) {
    SimEnv env;
    for (int a : {-1, 66, 200}) {
        EXPECT_FALSE(env.link.SendFrame(a, CmdSetGain));
        EXPECT_EQ(env.link.LastExchange(), Exchange::Skipped);
        EXPECT_FALSE(env.link.PingDevice(a, CmdPing));
    }
    EXPECT_TRUE(env.bus.frames.empty());
}

TEST(SendFrameTest, SignOffAwaitsNothing) {
    SimEnv env;
    const double t0 = env.clock.nowSeconds();
    EXPECT_FALSE(env.link.SendFrame(0, CmdSignOff));
    EXPECT_FALSE(env.link.SendFrame(33, CmdSignOff));
    ASSERT_EQ(env.bus.frames.size(), 2u);
    EXPECT_EQ(env.bus.frames[0], FrameOf({0xF0, 0x65, 0x00, 0x8F, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
    EXPECT_EQ(env.bus.frames[1], FrameOf({0xF0, 0x66, 0x00, 0x8F, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
    EXPECT_DOUBLE_EQ(env.clock.nowSeconds(), t0);
    EXPECT_FALSE(env.st.ExchangeIdle);
}

TEST(SendFrameTest, PortErrorGoesToTheFailurePathAtOnce) {
    SimEnv env;
    env.bus.addDevice(5);
    env.port.failWrites_ = true;
    env.st.ReportCommErrors = true;
    EXPECT_TRUE(env.link.SendFrame(5, CmdSetGain));
    EXPECT_EQ(env.port.writes, 1);
    EXPECT_EQ(env.msg.shown.size(), 1u);
}

// ---- Block read ----

TEST(SendFrameRead48Test, ReadsTheCurrentProgramHeader) {
    SimEnv env;
    auto& d = env.bus.addDevice(40);
    for (int i = 0; i < 48; ++i) d.current[static_cast<size_t>(i)] = static_cast<uint8_t>(i + 100);
    EXPECT_TRUE(env.link.SendFrameRead48(40, CmdRecallMemory, {0xFF}));
    EXPECT_EQ(env.bus.frames[0], FrameOf({0xF0, 0x66, 7, 0x0B, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
    for (int i = 0; i < 48; ++i) EXPECT_EQ(env.st.RxBuf[static_cast<size_t>(i)], i + 100);
}

TEST(SendFrameRead48Test, SilentDeviceIsReportedAndTheProgramGoesOn) {
    SimEnv env;
    env.bus.addDevice(2).silent = true;
    const double t0 = env.clock.nowSeconds();
    EXPECT_FALSE(env.link.SendFrameRead48(2, CmdRecallMemory, {3}));
    EXPECT_EQ(env.bus.frames.size(), 6u);
    EXPECT_NEAR(env.clock.nowSeconds() - t0, 6 * 18.144, 0.2);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, " Problema de comunicacion ");
    EXPECT_EQ(env.msg.shown[0].title, "Talvenor");
    EXPECT_EQ(env.link.LastExchange(), Exchange::FailedReported);
}

// ---- Pings ----

TEST(PingTest, EchoDecidesPresence) {
    SimEnv env;
    env.bus.addDevice(5);
    env.bus.addDevice(38).wrongEcho = true;
    EXPECT_TRUE(env.link.PingDevice(5, CmdPing));
    EXPECT_FALSE(env.link.PingDevice(38, CmdPing));
    EXPECT_EQ(env.link.LastExchange(), Exchange::Done); // answered, but with the wrong letter
    const double t0 = env.clock.nowSeconds();
    EXPECT_FALSE(env.link.PingDevice(6, CmdPing)); // nobody there
    EXPECT_TRUE(env.st.RxTimeout);
    EXPECT_NEAR(env.clock.nowSeconds() - t0, 0.2, 0.02);
    EXPECT_EQ(env.bus.frames.size(), 3u); // one send each, no retry
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_GT(env.events.passes, 0); // events ran while waiting
}

TEST(PingTest, NoOtherExchangeStartsWhileAPingWaits) {
    SimEnv env;
    env.bus.addDevice(5).replyDelay = 0.1;
    env.bus.addDevice(6);
    int tried = 0;
    env.events.hook = [&] {
        if (tried++ == 0) {
            EXPECT_FALSE(env.link.SendFrame(6, CmdReadMeters));
        }
    };
    EXPECT_TRUE(env.link.PingDevice(5, CmdPing));
    EXPECT_EQ(env.bus.frames.size(), 1u);
    EXPECT_EQ(env.bus.device(6)->received.size(), 0u);
    EXPECT_EQ(env.events.passesWithUserInput, 0); // the operator's input waits for the ping's end
}

TEST(PingTest, TheLimitIsKeptToTheMillisecond) {
    for (double eventCost : {0.0, 0.003, 0.007}) { // time each pass of window events takes
        SimEnv env;
        env.events.hook = [&] { env.clock.advance(eventCost); };
        const double t0 = env.clock.nowSeconds();
        EXPECT_FALSE(env.link.PingDevice(6, CmdPing));
        EXPECT_NEAR(env.clock.nowSeconds() - t0, 0.2, 1e-9) << eventCost;
    }
}

TEST(PingTest, ListedPingFailureReportsTheIdAndMarksItsOwnRow) {
    SimEnv env;
    RecordingFailureSink sink;
    env.link.setFailureSink(&sink);
    env.bus.addDevice(4);
    env.bus.addDevice(37).silent = true;
    env.listDevices({4, 37});
    env.st.LinkOn[1] = true;
    env.st.DevicePingOk[37] = true;
    const double t0 = env.clock.nowSeconds();
    EXPECT_FALSE(env.link.PingDeviceListed(37, CmdPing));
    EXPECT_EQ(env.bus.frames.size(), 2u);
    EXPECT_NEAR(env.clock.nowSeconds() - t0, 2 * 4.752, 0.1);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, " Problema de comunicacion equipo ID:4");
    EXPECT_EQ(env.msg.shown[0].title, "Talvenor");
    EXPECT_EQ(sink.rows, (std::vector<std::pair<int, int>>{{1, 37}}));
    EXPECT_FALSE(env.st.LinkOn[1]);
    EXPECT_FALSE(env.st.DevicePingOk[37]);
    EXPECT_TRUE(env.st.ExchangeIdle);
}

TEST(PingTest, ListedPingNeedsPingOkAndAnswersOnTheSecondSend) {
    SimEnv env;
    env.bus.addDevice(8).answerFromAttempt = 2;
    EXPECT_FALSE(env.link.PingDeviceListed(8, CmdPing));
    EXPECT_TRUE(env.bus.frames.empty());
    env.st.DevicePingOk[8] = true;
    EXPECT_TRUE(env.link.PingDeviceListed(8, CmdPing));
    EXPECT_EQ(env.bus.frames.size(), 2u);
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST(PingTest, NormalExchangesTakeTheSameTimeWhetherRepliesEchoOrNot) {
    // After the port has learnt from a ping how replies are framed, each kind of exchange still
    // ends the moment its reply is in. The header read first lets the line be quiet for 20 ms.
    for (bool otherHead : {false, true}) {
        SimEnv env;
        SimDevice& d = env.bus.addDevice(5);
        d.otherHead = otherHead;
        d.replyDelay = 0.03;
        env.st.DevicePingOk[5] = true;
        ASSERT_TRUE(env.link.PingDevice(5, CmdPing));
        EXPECT_EQ(env.link.RepliesEcho(5), !otherHead);
        const std::tuple<const char*, bool (*)(Link&), double> exchanges[] = {
            {"SendFrame",
             [](Link& l) {
                 return !l.SendFrame(5, CmdReadByte, {0, 31}) && l.LastDone();
             },
             0.03},
            {"SendFrameRead48", [](Link& l) { return l.SendFrameRead48(5, CmdRecallMemory, {0xFF}); }, 0.05},
            {"PingDevice", [](Link& l) { return l.PingDevice(5, CmdPing); }, 0.03},
            {"PingDeviceListed", [](Link& l) { return l.PingDeviceListed(5, CmdPing); }, 0.03},
        };
        for (const auto& [name, exchange, seconds] : exchanges) {
            const double t0 = env.clock.nowSeconds();
            EXPECT_TRUE(exchange(env.link)) << name << otherHead;
            EXPECT_NEAR(env.clock.nowSeconds() - t0, seconds, 1e-9) << name << otherHead;
        }
    }
}

TEST(PingTest, ALateAnswerToAnotherRequestIsDroppedWithinTheSameWait) {
    // Once the port has shown that replies echo, a framed reply naming another command, device
    // or bank that lands ahead of the right one is dropped, and the right one is taken from the
    // same send.
    using Check = bool (*)(Link&, AppState&);
    const auto ping = [](uint8_t bank, uint8_t id) {
        return FrameOf({0xF0, bank, id, CmdPing, bank, 0, 0, 0, 0, 0, 0, 0, 0xF7});
    };
    const std::tuple<const char*, Frame13, Check> cases[] = {
        {"SendFrame", ping(0x65, 5),
         [](Link& l, AppState& st) {
             return !l.SendFrame(5, CmdReadByte, {0, 31}) && l.LastDone() && st.RxBuf[8] == 3;
         }},
        {"SendFrameRead48", ping(0x65, 5),
         [](Link& l, AppState& st) {
             return l.SendFrameRead48(5, CmdRecallMemory, {0xFF}) && st.RxBuf[0] == 0 && st.RxBuf[47] == 47;
         }},
        {"PingDevice", ping(0x65, 4),
         [](Link& l, AppState& st) { return l.PingDevice(5, CmdPing) && st.RxBuf[2] == 5; }},
        {"PingDeviceListed", ping(0x66, 5),
         [](Link& l, AppState& st) { return l.PingDeviceListed(5, CmdPing) && st.RxBuf[1] == 0x65; }},
    };
    for (const auto& [name, late, check] : cases) {
        SimEnv env;
        SimDevice& d = env.bus.addDevice(5);
        d.mem[31] = 3;
        std::iota(d.current.begin(), d.current.end(), 0);
        env.st.DevicePingOk[5] = true;
        ASSERT_TRUE(env.link.PingDevice(5, CmdPing)); // the port learns that replies echo
        // The late frame lands 10 ms after the request, the reply 20 ms after it.
        env.port.injectAt(QByteArray(reinterpret_cast<const char*>(late.data()), 13),
                          env.clock.nowSeconds() + 0.01);
        EXPECT_TRUE(check(env.link, env.st)) << name;
        EXPECT_EQ(env.bus.frames.size(), 2u) << name; // one send, no retry
    }
}

TEST(PingTest, ALateAnswerToAnEarlierRequestNeverAnswersADeviceFramedOtherwise) {
    // Device 5's replies are framed otherwise; device 1's echo. A whole late answer to device 1's
    // ping that lands ahead of device 5's reply is dropped, and device 5's reply is taken.
    SimEnv env;
    env.bus.addDevice(1);
    SimDevice& d = env.bus.addDevice(5);
    d.otherHead = true;
    d.mem[31] = 3;
    ASSERT_TRUE(env.link.PingDevice(1, CmdPing));
    ASSERT_TRUE(env.link.PingDevice(5, CmdPing));
    const Frame13 late = FrameOf({0xF0, 0x65, 1, CmdPing, 0x65, 0, 0, 0, 0, 0, 0, 0, 0xF7});
    const double now = env.clock.nowSeconds();
    env.port.injectAt(QByteArray(reinterpret_cast<const char*>(late.data()), 13), now + 0.01);
    EXPECT_FALSE(env.link.SendFrame(5, CmdReadByte, {0, 31}));
    EXPECT_TRUE(env.link.LastDone());
    EXPECT_EQ(env.st.RxBuf[8], 3);
    EXPECT_EQ(env.bus.frames.size(), 3u);
}

TEST(PingTest, AReplyEndingLikeAHeadIsTakenByItsLengthAtTheLimit) {
    // Before a device has shown how its replies are framed, 13 bytes whose last two could begin
    // its head (0xF0 and the bank letter) hold the wait open for a reply that may follow; when the
    // limit is reached they are taken as the reply by their length, from the same send.
    const QByteArray reply("\x00\x00\x00\x00\x65\x00\x00\x00\x03\x00\x00\xF0\x65", 13);
    const std::tuple<const char*, bool (*)(Link&), double> exchanges[] = {
        {"PingDevice", [](Link& l) { return l.PingDevice(5, CmdPing); }, Link::kPingLimit},
        {"SendFrame", [](Link& l) { return !l.SendFrame(5, CmdReadByte, {0, 31}) && l.LastDone(); },
         Link::kSendLimit},
    };
    for (const auto& [name, exchange, limit] : exchanges) {
        SimEnv env; // no device on the bus: the reply is put on the line 20 ms after the request
        env.port.injectAt(reply, env.clock.nowSeconds() + 0.02);
        const double t0 = env.clock.nowSeconds();
        EXPECT_TRUE(exchange(env.link)) << name;
        EXPECT_EQ(env.st.RxBuf[8], 3) << name;
        EXPECT_EQ(env.port.writes, 1) << name;
        EXPECT_NEAR(env.clock.nowSeconds() - t0, limit, 0.011) << name;
    }
}

// ---- Port ----

TEST(OpenCommPortTest, ReadyOnlyWhenAPortOpens) {
    SimEnv env;
    EXPECT_TRUE(env.st.PortReady);
    EXPECT_TRUE(env.st.PortOpened);
    env.st.CommPortNumber = 0; // "NONE"
    env.link.OpenCommPort();
    EXPECT_FALSE(env.st.PortReady);
    EXPECT_FALSE(env.port.isOpen());
    env.st.CommPortNumber = 2;
    env.port.refuseOpen = true;
    env.link.OpenCommPort();
    EXPECT_FALSE(env.st.PortReady);
    EXPECT_FALSE(env.st.PortOpened);
}

TEST(OpenCommPortTest, EveryOpeningForgetsHowRepliesWereFramed) {
    // The port learns from its first answered ping whether replies echo the request's head; after
    // the port is opened again, the next ping teaches it afresh.
    const std::pair<const char*, void (*)(Link&)> openings[] = {
        {"open", [](Link& l) { l.OpenCommPort(); }},
        {"close and open",
         [](Link& l) {
             l.CloseCommPort();
             l.OpenCommPort();
         }},
        {"reopen", [](Link& l) { l.ReopenCommPort(); }},
    };
    for (const auto& [name, open] : openings)
        for (bool echoFirst : {true, false}) {
            SimEnv env;
            SimDevice& d = env.bus.addDevice(5);
            d.otherHead = !echoFirst;
            ASSERT_TRUE(env.link.PingDevice(5, CmdPing)) << name;
            ASSERT_EQ(env.link.RepliesEcho(5), echoFirst) << name;
            open(env.link);
            d.otherHead = echoFirst;
            EXPECT_TRUE(env.link.PingDevice(5, CmdPing)) << name << echoFirst;
            EXPECT_EQ(env.link.RepliesEcho(5), !echoFirst) << name << echoFirst;
        }
}

TEST(OpenCommPortTest, PortNamesFollowTheLinkOrTheSystemDevice) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(PortDeviceName(1, dir.path()), "/dev/ttyS0");
    EXPECT_EQ(PortDeviceName(32, dir.path()), "/dev/ttyS31");
    ASSERT_TRUE(QFile::link("/dev/null", QDir(dir.path()).filePath("COM3")));
    EXPECT_EQ(PortDeviceName(3, dir.path()), "/dev/null");
}

// ---- The real port adapter against devsim on a pseudo-terminal ----

TEST(DevsimTest, PingsThroughTheRealPortAdapter) {
    DevsimRun devsim;
    ASSERT_TRUE(devsim.start({"--device", "1:Stage", "--device", "34:Sub"})) << devsim.pty.toStdString();
    RealPortEnv env;
    AppState& st = env.st;
    st.AppFolder = devsim.dir.path();
    st.CommPortNumber = 1;
    Link link(st, env.sv);
    link.OpenCommPort();
    ASSERT_TRUE(st.PortReady);
    EXPECT_TRUE(link.PingDevice(1, CmdPing));
    EXPECT_TRUE(link.PingDevice(34, CmdPing));
    EXPECT_FALSE(link.PingDevice(2, CmdPing));
    EXPECT_FALSE(link.SendFrame(1, CmdReadByte, {0, 32}));
    EXPECT_EQ(link.LastExchange(), Exchange::Done);
    EXPECT_EQ(st.RxBuf[8], 19); // "S" of "Stage"
    link.CloseCommPort();
}
