// Copying a program to other devices on the simulated bus with devices A at 1, B at 2, C at 3,
// D at 34 and E at 40.
#include "memories/MemoryActions.h"
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

namespace {
// The windows of `others` on slots 1.., then the source's on slot 0 with an input section unlike
// the default program's, and the copy dialog loaded for it.
struct CopyEnv : WindowEnv {
    EditingCopyTargets targets{ctx};
    FrmCopy form{st, link, msg, targets};

    CopyEnv(int source = 1, std::vector<int> others = {}) {
        for (auto [d, name] : {std::pair{1, "A"}, {2, "B"}, {3, "C"}, {34, "D"}, {40, "E"}}) {
            bus.addDevice(d);
            st.DeviceName[static_cast<size_t>(d)] = QString::fromLatin1(name);
        }
        listDevices({1, 2, 3, 34, 40});
        for (size_t k = 0; k < others.size(); ++k)
            open(others[k], static_cast<int>(k) + 1);
        open(source, 0);
        ProgRecord& img = st.DevProgs[static_cast<size_t>(source)];
        for (int i : {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                      17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 42, 227})
            img.SetByte(i, static_cast<uint8_t>(i < 32 ? 100 + i : 1));
        st.DevRecs[static_cast<size_t>(source)].TempSlider = 55;
        st.DevRecs[static_cast<size_t>(source)].TempUnit = 1;
        st.CopySource = static_cast<int16_t>(source);
        form.Form_Load();
    }
    // Marks the rows of B and, when asked, C, and confirms the copy.
    void copyTo(bool alsoC = false) {
        form.List1.clickRow(0);
        if (alsoC) form.List1.clickRow(1);
        msg.shown.clear();
        form.Command2_Click(0);
    }
    const std::vector<Frame13>& received(int d) { return bus.device(d)->received; }
};

// The two pings and the seventeen frames of a copy of CopyEnv's source section to device d.
std::vector<Frame13> CopyFrames(int d) {
    auto s = [](int i) { return static_cast<uint8_t>(100 + i); };
    const std::vector<std::pair<uint8_t, Data8>> frames = {
        // clang-format off
        {CmdPing, {}}, {CmdPing, {}}, {CmdSetOutputFlag, {1}}, {CmdSetOutputFlag, {2}},
        {CmdSetTemperature, {0, 0, 0, 0, 0, 0, 0, 55}}, {CmdWriteByte, {0, 18, 0, 0, 1}},
        {CmdWriteByte, {0, 16, 0, 0, 55}}, {CmdWriteByte, {0, 21, 0, 0, 1}},
        {CmdSetDelay, {0, 0, 0, 0, 0, s(2), s(3), s(4)}}, {CmdSetGain, {0, 0, 0, 0, 0, 0, s(0), s(1)}},
        {CmdSetEqBand, {0, 0, s(30), s(5), s(6), s(7), s(8), s(9)}},
        {CmdSetEqBand, {0, 1, s(30), s(10), s(11), s(12), s(13), s(14)}},
        {CmdSetEqBand, {0, 2, s(30), s(15), s(16), s(17), s(18), s(19)}},
        {CmdSetEqBand, {0, 3, s(30), s(20), s(21), s(22), s(23), s(24)}},
        {CmdSetEqBand, {0, 4, s(30), s(25), s(26), s(27), s(28), s(29)}},
        {CmdSetEqBypass, {0, 0, 0, 0, 0, 0, 0, 1}}, {CmdSetLoudness, {0, 0, 0, 0, 0, 0, 0, s(31)}},
        {CmdSetOutputFlag, {1, 0, 0, 0, 0, 0, 0, 1}}, {CmdSetOutputFlag, {2, 0, 0, 0, 0, 0, 0, 1}},
        // clang-format on
    };
    std::vector<Frame13> out;
    for (const auto& [cmd, data] : frames)
        out.push_back(DeviceFrameFor(d, cmd, data));
    return out;
}
} // namespace

TEST(CopyDialogTest, OffersTheOtherConnectedDevicesOfTheSourcesModelOnce) {
    for (auto [source, seen] : {std::pair{1, QStringList{"A  ID:1", "B  ID:2", "C  ID:3"}},
                                {40, QStringList{"E  ID:7", "D  ID:1"}}}) {
        CopyEnv env(source);
        // 5 is disconnected, 2 listed twice, 4 and 36 left past the last row by an earlier scan.
        env.listDevices({1, 2, 3, 34, 40, 5, 2});
        env.st.DeviceDisconnected[5] = true;
        env.st.FoundList[7] = 4;
        env.st.FoundList[8] = 36;
        env.form.Form_Load();
        EXPECT_EQ(QStringList{env.form.Label2.Caption} + env.form.List1.items.mid(0, env.form.LastRow + 1),
                  seen);
    }
}

TEST(CopyDialogTest, OneDestinationGetsTheInputSectionAndTheSeventeenFramesUndisturbed) {
    CopyEnv env;
    ProgRecord& dst = env.st.DevProgs[2];
    for (int i = 0; i < ProgRecord::kSize; ++i)
        dst.SetByte(i, static_cast<uint8_t>(7 * i + 3));
    const ProgRecord before = dst;
    const DeviceRec recBefore = env.st.DevRecs[2];
    // A ping lets events through: the operator tries the buttons and the close box.
    env.form.setUnloadHook([&] { env.form.setUnloadHook(nullptr); });
    std::vector<bool> enabled;
    bool closeRefused = false, shownAfterExit = false;
    env.events.hook = [&] {
        if (!enabled.empty()) return;
        for (const CommandButton& b : env.form.Command2)
            enabled.push_back(b.Enabled);
        env.form.Form_QueryUnload(closeRefused);
        env.form.Command2_Click(1);
        shownAfterExit = env.form.IsShown();
        env.form.Command2_Click(2);
    };
    env.copyTo();

    EXPECT_EQ(env.received(2), CopyFrames(2));
    EXPECT_TRUE(env.received(3).empty());
    for (int i = 0; i < ProgRecord::kSize; ++i) {
        const int copied = i < 32 ? 100 + i : i == 42 || i == 227 || i == 230 ? 1 : i == 225 ? 55 : -1;
        EXPECT_EQ(dst.Byte(i), copied >= 0 ? copied : before.Byte(i)) << "image byte " << i;
    }
    const DeviceRec& rec = env.st.DevRecs[2];
    EXPECT_EQ(std::tuple(rec.TempSlider, rec.TempUnit, rec.Mute, rec.ChanGain),
              std::tuple(int16_t{55}, int16_t{1}, recBefore.Mute, recBefore.ChanGain));
    EXPECT_EQ(std::pair(env.form.ProgressBar1.value(), env.form.ProgressBar1.Max), std::pair(17, 18));
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(closeRefused && shownAfterExit);
    EXPECT_EQ(env.msg.shown.size(), 1u); // the copy's question; Clear asked nothing
    EXPECT_FALSE(env.form.IsShown());    // the copy's end closed it
}

TEST(CopyDialogTest, ASilentDestinationIsGivenUpAndTheNextStillCopied) {
    // B's faults, how many frames it answers, whether the link gives it up, the last message.
    struct Case {
        int answerFromAttempt, silentAfter;
        long framesOfB;
        bool givenUp;
        const char* message;
    };
    const Case cases[] = {
        {1, 6, 6, true, " El sistema terminara la comunicacion con este equipo"}, // silent from frame 5
        {1, 1, 2, false, "Device with ID=2 Disconnected"},                        // misses the second ping
        {2, -1, 19, false, nullptr},                                              // misses the first only
    };
    for (const Case& c : cases) {
        CopyEnv env;
        env.bus.device(2)->answerFromAttempt = c.answerFromAttempt;
        env.bus.device(2)->silentAfter = c.silentAfter;
        env.st.LinkOn[1] = true;
        env.copyTo(true);
        const std::vector<Frame13> all = CopyFrames(2);
        std::vector<Frame13> want(all.begin(), all.begin() + c.framesOfB);
        if (c.givenUp) want.insert(want.end(), 5, all[static_cast<size_t>(c.framesOfB)]); // sent five times
        EXPECT_EQ(env.received(2), want);
        EXPECT_EQ(env.received(3), CopyFrames(3));
        EXPECT_EQ(std::pair(env.st.DeviceDisconnected[2], env.st.LinkOn[1]),
                  std::pair(c.givenUp, !c.givenUp));
        EXPECT_EQ(env.msg.texts().size() > 1 ? env.msg.texts().back() : QString(), QString(c.message));
        EXPECT_TRUE(env.windows.CtrlWindow(0).loaded()); // the source window stays
    }
}

TEST(CopyDialogTest, OpenDestinationWindowsCloseUnaskedBeforeTheFirstFrame) {
    const QString question = "Copy program data to selected device(s), are you sure?";
    for (bool othersOpen : {true, false}) {
        CopyEnv env(1, othersOpen ? std::vector<int>{2, 3} : std::vector<int>{});
        bool closedAtFirstPing = false;
        env.events.hook = [&] {
            if (env.received(2).size() == 1) closedAtFirstPing = !env.st.DeviceWindowOpen[2];
        };
        env.copyTo();
        // One question, and none of a window.
        const QString close =
            othersOpen ? "All destination ID windows which are open will be closed\r\n" : "";
        EXPECT_EQ(env.msg.texts(), QStringList{close + question});
        EXPECT_TRUE(closedAtFirstPing);
        EXPECT_EQ(env.st.DeviceWindowOpen[3], othersOpen); // C was not selected
        EXPECT_EQ(env.st.OpenWindowCount, othersOpen ? 1 : 0);
        EXPECT_EQ(env.st.CurSlot, 0);
        EXPECT_EQ(env.received(2), CopyFrames(2));
    }
}
