#include "support/SimEnv.h"

#include "bus/DeviceRead.h"
#include "common/NameCode.h"

#include <gtest/gtest.h>

namespace {
// Device address a frame of a read command carries in D1 (high) and D2 (low).
int FrameAddress(const Frame13& f) {
    return f[4] * 256 + f[5];
}

std::vector<int> ReadByteAddresses(const SimBus& bus) {
    std::vector<int> out;
    for (const auto& f : bus.framesWithCommand(CmdReadByte))
        out.push_back(FrameAddress(f));
    return out;
}

bool Contains(const std::vector<int>& v, int x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}

// A device with a version, settings, two used memories, one empty and one used speaker slot.
SimDevice& AddTypicalDevice(SimEnv& env, int addr) {
    SimDevice& d = env.bus.addDevice(addr, QStringLiteral("Stage"));
    d.version = {2, 10, 5};
    for (int i = 0; i < 16; ++i)
        d.mem[static_cast<size_t>(16 + i)] = static_cast<uint8_t>(100 + i);
    d.mem[16] = 40; // temperature slider
    d.mem[17] = 2;  // memory in use
    d.mem[18] = 1;  // delay unit
    d.mem[21] = 1;  // temperature unit
    d.mem[23] = 0;  // unit lock
    d.setMemoryName(0, QStringLiteral("Front"));
    d.mem[335] = 63; // highest number that still counts as used
    d.setMemoryName(2, QStringLiteral("Delay"));
    d.setMemoryName(1, QStringLiteral("Ghost"));
    d.mem[335 + 48] = 64; // empty although a name is stored
    const QByteArray preset = "Monitor 12 inch";
    for (int i = 0; i < 15; ++i)
        d.mem[static_cast<size_t>(1280 + 176 * 3 + i)] = static_cast<uint8_t>(preset[i]);
    d.mem[1280 + 176 * 3 + 15] = 35;
    d.mem[287] = 7;
    d.mem[31] = 2;
    return d;
}
} // namespace

// ---- FormatProgNumber ----

TEST(FormatProgNumberTest, Table) {
    const std::pair<int, const char*> cases[] = {{-1, "--"}, {0, "01"},  {8, "09"},  {9, "10"},
                                                 {63, "64"}, {64, "--"}, {255, "--"}};
    for (const auto& [n, want] : cases)
        EXPECT_EQ(FormatProgNumber(n), QString::fromLatin1(want)) << n;
}

// ---- ReadDeviceInfo ----

TEST(ReadDeviceInfoTest, FullReadFillsRecordsWithTheExpectedFrames) {
    SimEnv env;
    AddTypicalDevice(env, 38);
    ASSERT_TRUE(ReadDeviceInfo(env.link, env.st, 38));

    EXPECT_EQ(env.st.FirmwareVersion[38], "2.105");
    const ProgRecord& img = env.st.DevProgs[38];
    EXPECT_EQ(img.Byte(225), 40);
    EXPECT_EQ(img.Byte(239), 114); // device address 30
    const DeviceRec& rec = env.st.DevRecs[38];
    EXPECT_EQ(rec.TempSlider, 40);
    EXPECT_EQ(rec.TempUnit, 1);
    EXPECT_EQ(rec.DelayUnit, 1);
    EXPECT_EQ(rec.UnitLock, 0);
    EXPECT_EQ(rec.MemProg[0], 63);
    EXPECT_EQ(rec.MemName[0], "Front");
    EXPECT_EQ(rec.MemProg[1], 64);
    EXPECT_EQ(rec.MemName[1], "Vacia");
    EXPECT_EQ(rec.MemName[2], "Delay");
    EXPECT_EQ(rec.MemName[5], "Vacia");
    EXPECT_EQ(env.st.PresetStatus[38][3], 35);
    EXPECT_EQ(env.st.PresetName[38][3], "Monitor 12 inch");
    EXPECT_EQ(env.st.PresetName[38][4], "Vacia");
    EXPECT_EQ(env.st.LastSystemType[38], 7);
    EXPECT_EQ(env.st.LastProgNumber, 2);
    EXPECT_EQ(rec.CurProgName, "Delay");

    // Every frame goes to ID 5 of the second bank.
    for (const auto& f : env.bus.frames) {
        EXPECT_EQ(f[1], kBankSecond);
        EXPECT_EQ(f[2], 5);
    }
    EXPECT_EQ(env.bus.framesWithCommand(CmdReadVersion).size(), 1u);
    const auto reads8 = env.bus.framesWithCommand(CmdRead8);
    ASSERT_EQ(reads8.size(), 4u); // settings twice, the used speaker slot twice
    EXPECT_EQ(FrameAddress(reads8[0]), 16);
    EXPECT_EQ(FrameAddress(reads8[1]), 24);
    EXPECT_EQ(FrameAddress(reads8[2]), 1280 + 176 * 3);
    EXPECT_EQ(FrameAddress(reads8[3]), 1280 + 176 * 3 + 8);
    const auto bytes = ReadByteAddresses(env.bus);
    EXPECT_EQ(bytes.size(), 16u + 10u + 16u + 2u);
    EXPECT_EQ(bytes.front(), 335);
    EXPECT_TRUE(Contains(bytes, 320 + 4));   // name of memory 0 (status 63)
    EXPECT_FALSE(Contains(bytes, 320 + 48)); // no name read for memory 1 (status 64)
    EXPECT_TRUE(Contains(bytes, 1280 + 176 * 15 + 15));
    EXPECT_EQ(bytes[bytes.size() - 2], 287);
    EXPECT_EQ(bytes.back(), 31);
}

TEST(ReadDeviceInfoTest, CurrentProgramByAddress31) {
    struct Case {
        int addr31;
        int addr17;
        int wantNumber;
        QString wantName;
        bool readsName; // five more byte reads at addresses 0..4
    };
    const Case cases[] = {
        {2, 2, 2, QStringLiteral("Delay"), false},
        {65, 2, 65, QStringLiteral("Live1"), true},
        {64, 2, 255, QStringLiteral("Def. "), false},
        {200, 2, 255, QStringLiteral("Def. "), false},
        // A memory number of 16 or more has no name; it is kept, not used as an index.
        {5, 20, 20, QString(), false},
    };
    for (const auto& c : cases) {
        SimEnv env;
        SimDevice& d = AddTypicalDevice(env, 4);
        d.mem[31] = static_cast<uint8_t>(c.addr31);
        d.mem[17] = static_cast<uint8_t>(c.addr17);
        const QString live = QStringLiteral("Live1");
        for (int i = 0; i < 5; ++i)
            d.mem[static_cast<size_t>(i)] =
                static_cast<uint8_t>(EncodeNameChar(QString::number(live.at(i).unicode())));
        ASSERT_TRUE(ReadDeviceInfo(env.link, env.st, 4)) << c.addr31;
        EXPECT_EQ(env.st.LastProgNumber, c.wantNumber) << c.addr31;
        EXPECT_EQ(env.st.DevRecs[4].CurProgName, c.wantName) << c.addr31;
        const auto bytes = ReadByteAddresses(env.bus);
        EXPECT_EQ(bytes.back() == 4, c.readsName) << c.addr31;
        const ProgRecord& img = env.st.DevProgs[4];
        if (c.addr31 == 65) {
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(img.Byte(32 + i), d.mem[static_cast<size_t>(i)]);
                EXPECT_EQ(img.Byte(209 + i), d.mem[static_cast<size_t>(i)]);
            }
        } else if (c.wantNumber == 255) {
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(img.Byte(32 + i), env.st.Tables.DefaultNameCodes[static_cast<size_t>(i)]);
                EXPECT_EQ(img.Byte(209 + i), env.st.Tables.DefaultNameCodes[static_cast<size_t>(i)]);
            }
        }
    }
}

TEST(ReadDeviceInfoTest, DeviceSilentMidReadKeepsWhatWasNotReadWhole) {
    // Answers: version (1), settings (2), 16 statuses, then 2 of the 5 name bytes of memory 0.
    SimEnv env;
    AddTypicalDevice(env, 6).silentAfter = 1 + 2 + 16 + 2;
    DeviceRec& rec = env.st.DevRecs[6];
    rec.MemName[0] = QStringLiteral("Old 0");
    rec.CurProgName = QStringLiteral("Old");
    env.st.PresetName[6][3] = QStringLiteral("Old preset");
    EXPECT_FALSE(ReadDeviceInfo(env.link, env.st, 6));
    EXPECT_EQ(env.st.FirmwareVersion[6], "2.105");
    EXPECT_EQ(rec.MemProg[0], 63);
    EXPECT_EQ(rec.MemName[0], "Old 0");
    EXPECT_EQ(rec.CurProgName, "Old");
    EXPECT_EQ(env.st.PresetName[6][3], "Old preset");
    EXPECT_TRUE(env.msg.shown.empty()); // not reported before an editing window has loaded

    // Silent from the start: the firmware text and settings keep what they had.
    SimEnv env2;
    AddTypicalDevice(env2, 6).silent = true;
    env2.st.FirmwareVersion[6] = QStringLiteral("1.01");
    env2.st.DevProgs[6].SetByte(225, 9);
    env2.st.ReportCommErrors = true;
    EXPECT_FALSE(ReadDeviceInfo(env2.link, env2.st, 6));
    EXPECT_EQ(env2.st.FirmwareVersion[6], "1.01");
    EXPECT_EQ(env2.st.DevProgs[6].Byte(225), 9);
    EXPECT_EQ(env2.bus.frames.size(), 5u); // one exchange of five sends, then the read stops
    EXPECT_EQ(env2.msg.shown.size(), 1u);
}

TEST(ReadDeviceInfoTest, DemoModeSetsDemoValuesWithoutFrames) {
    SimEnv env;
    env.bus.addDevice(3);
    env.st.DemoMode = true;
    env.st.DevProgs[3].SetByte(230, 1);
    ASSERT_TRUE(ReadDeviceInfo(env.link, env.st, 3));
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_EQ(env.st.FirmwareVersion[3], "1.03");
    EXPECT_EQ(env.st.DevRecs[3].CurProgName, "Default Prog");
    EXPECT_EQ(env.st.DevRecs[3].TempSlider, 45);
    EXPECT_EQ(env.st.DevRecs[3].TempUnit, 0);
    EXPECT_EQ(env.st.DevRecs[3].DelayUnit, 1);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(env.st.DevProgs[3].Byte(233 + k), 1);
    for (int m = 0; m < 16; ++m) {
        EXPECT_EQ(env.st.DevRecs[3].MemProg[static_cast<size_t>(m)], 255);
        EXPECT_EQ(env.st.DevRecs[3].MemName[static_cast<size_t>(m)], "Vacia");
    }
}

// ---- ReadDeviceImage ----

TEST(ReadDeviceImageTest, HeaderAndOutputSections) {
    SimEnv env;
    SimDevice& d = env.bus.addDevice(2);
    for (int i = 0; i < 48; ++i)
        d.current[static_cast<size_t>(i)] = static_cast<uint8_t>(200 + i % 50);
    for (int a = 112; a < 272; ++a)
        d.mem[static_cast<size_t>(a)] = static_cast<uint8_t>(a - 100);
    ASSERT_TRUE(ReadDeviceImage(env.link, env.st, 2));
    const ProgRecord& img = env.st.DevProgs[2];
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(img.Byte(i), d.current[static_cast<size_t>(i)]);
    for (int i = 48; i < 208; ++i)
        EXPECT_EQ(img.Byte(i), i + 64 - 100) << i;

    ASSERT_EQ(env.bus.frames.size(), 1u + 1u + 20u);
    EXPECT_EQ(env.bus.frames[0], FrameOf({0xF0, 0x65, 2, CmdRecallMemory, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
    EXPECT_EQ(env.bus.frames[1][3], CmdPing);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(env.bus.frames[static_cast<size_t>(2 + k)][3], CmdRead8);
        EXPECT_EQ(FrameAddress(env.bus.frames[static_cast<size_t>(2 + k)]), 112 + 8 * k);
    }
}

TEST(ReadDeviceImageTest, SilentDeviceCopiesNothing) {
    // Silent from the start: the header read fails and no byte of the image changes.
    SimEnv env;
    env.bus.addDevice(2).silent = true;
    env.st.DevProgs[2].SetByte(0, 77);
    env.st.DevProgs[2].SetByte(100, 88);
    const ProgRecord before = env.st.DevProgs[2];
    EXPECT_FALSE(ReadDeviceImage(env.link, env.st, 2));
    EXPECT_EQ(env.st.DevProgs[2], before);

    // Silent after the header, the ping and three blocks: bytes 48..71 arrive, the rest is kept.
    SimEnv env2;
    SimDevice& d = env2.bus.addDevice(2);
    d.silentAfter = 1 + 1 + 3;
    for (int a = 112; a < 272; ++a)
        d.mem[static_cast<size_t>(a)] = 5;
    for (int i = 48; i < 208; ++i)
        env2.st.DevProgs[2].SetByte(i, 9);
    EXPECT_FALSE(ReadDeviceImage(env2.link, env2.st, 2));
    EXPECT_EQ(env2.st.DevProgs[2].Byte(71), 5);
    EXPECT_EQ(env2.st.DevProgs[2].Byte(72), 9);
    EXPECT_EQ(env2.st.DevProgs[2].Byte(207), 9);
}

TEST(ReadDeviceImageTest, ALateReplyNeverBecomesImageBytes) {
    // The device is found by two pings first, as the scan does; then its image is read, and a
    // byte read after it gets its own reply. On a line at its real pace a reply takes 13.5 ms to
    // arrive, so what is left of one exchange may still be arriving when the next one starts.
    struct Case {
        const char* name;
        bool paced;
        void (*fault)(SimDevice&);
        bool otherFirst; // a device whose replies are framed otherwise answers first on the port
    };
    const Case cases[] = {
        {"the ping after the header 300 ms late", false,
         [](SimDevice& d) {
             d.lateReplies.push_back({CmdPing, 3, 0.3});
         },
         false},
        {"every reply 300 ms late", false, [](SimDevice& d) { d.replyDelay += 0.3; }, false},
        {"paced, the ping after the header begun 192 ms late (cut by its limit)", true,
         [](SimDevice& d) {
             d.lateReplies.push_back({CmdPing, 3, 0.172});
         },
         false},
        {"paced, 3 bytes after every reply", true, [](SimDevice& d) { d.extraBytes = 3; }, false},
        {"paced, after a device framed otherwise, the ping after the header begun 192 ms late", true,
         [](SimDevice& d) {
             d.lateReplies.push_back({CmdPing, 3, 0.172});
         },
         true},
    };
    for (const auto& c : cases) {
        SimEnv env;
        if (c.paced) env.bus.byteTime = SimBus::kByteTime9600;
        SimDevice& d = env.bus.addDevice(1);
        d.mem[31] = 7;
        for (int i = 0; i < 48; ++i)
            d.current[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 90);
        for (int a = 112; a < 272; ++a)
            d.mem[static_cast<size_t>(a)] = static_cast<uint8_t>(a % 151);
        c.fault(d);
        if (c.otherFirst) {
            env.bus.addDevice(2).otherHead = true;
            ASSERT_TRUE(env.link.PingDevice(2, CmdPing));
        }
        env.link.PingDevice(1, CmdPing);
        ASSERT_TRUE(env.link.PingDevice(1, CmdPing)) << c.name;
        ASSERT_TRUE(ReadDeviceImage(env.link, env.st, 1)) << c.name;
        const ProgRecord& img = env.st.DevProgs[1];
        for (int i = 0; i < 48; ++i)
            EXPECT_EQ(img.Byte(i), d.current[static_cast<size_t>(i)]) << c.name << " byte " << i;
        for (int i = 48; i < 208; ++i)
            EXPECT_EQ(img.Byte(i), d.mem[static_cast<size_t>(i + 64)]) << c.name << " byte " << i;
        EXPECT_FALSE(env.link.SendFrame(1, CmdReadByte, {0, 31}));
        EXPECT_EQ(env.st.RxBuf[8], 7) << c.name;
    }
}
