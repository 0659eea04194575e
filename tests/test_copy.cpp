// Copying a program to other devices on the simulated bus with devices A at 1, B at 2, C at 3,
// D at 34 and E at 40: the candidates, the copy into the destination's records, the frames, the
// destinations that go silent and the destination windows that close first.
#include "memories/FrmCopy.h"
#include "memories/MemoryActions.h"
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

#include <set>

namespace {
size_t U(int i) {
    return static_cast<size_t>(i);
}

struct CopyEnv : WindowEnv {
    MemoryActions actions{ctx};

    CopyEnv() {
        for (auto [d, name] : {std::pair{1, "A"}, {2, "B"}, {3, "C"}, {34, "D"}, {40, "E"}}) {
            bus.addDevice(d);
            st.DeviceName[U(d)] = QString::fromLatin1(name);
        }
        listDevices({1, 2, 3, 34, 40});
    }

    // Opens the source's window on slot 0 with an input section unlike the default program's.
    FrmCtrl& openSource(int s) {
        FrmCtrl& w = open(s, 0);
        ProgRecord& img = st.DevProgs[U(s)];
        for (int i = 0; i < 32; ++i)
            img.SetByte(i, static_cast<uint8_t>(100 + i));
        img.SetByte(42, 1);
        img.SetByte(227, 1);
        st.DevRecs[U(s)].TempSlider = 55;
        st.DevRecs[U(s)].TempUnit = 1;
        st.CopySource = static_cast<int16_t>(s);
        return w;
    }

    // Opens the dialog from the source's window, marks the devices' rows and confirms the copy.
    void copyTo(const std::set<int>& targets) {
        dialogs.Script<FrmCopy>([&](FrmCopy& f) {
            for (int r = 0; r <= f.LastRow; ++r)
                if (targets.count(f.RowDevice[U(r)])) f.List1.clickRow(r);
            f.Command2_Click(0);
            progress = f.ProgressBar1.value();
            progressMax = f.ProgressBar1.Max;
        });
        windows.CtrlWindow(0).LoadCorrectWindow();
        actions.ShowCopy();
    }

    int progress = -1, progressMax = -1;
};

Frame13 To(int d, uint8_t cmd, Data8 data = {}) {
    return DeviceFrameFor(d, cmd, data);
}

// The seventeen frames of a copy of CopyEnv's source section to device d.
std::vector<Frame13> CopyFrames(int d) {
    auto src = [](int i) { return static_cast<uint8_t>(100 + i); };
    std::vector<Frame13> f = {
        To(d, CmdSetOutputFlag, {1, 0, 0, 0, 0, 0, 0, 0}),
        To(d, CmdSetOutputFlag, {2, 0, 0, 0, 0, 0, 0, 0}),
        To(d, CmdSetTemperature, {0, 0, 0, 0, 0, 0, 0, 55}),
        To(d, CmdWriteByte, {0, 18, 0, 0, 1, 0, 0, 0}),
        To(d, CmdWriteByte, {0, 16, 0, 0, 55, 0, 0, 0}),
        To(d, CmdWriteByte, {0, 21, 0, 0, 1, 0, 0, 0}),
        To(d, CmdSetDelay, {0, 0, 0, 0, 0, src(2), src(3), src(4)}),
        To(d, CmdSetGain, {0, 0, 0, 0, 0, 0, src(0), src(1)}),
    };
    for (int b = 0; b < 5; ++b)
        f.push_back(To(d, CmdSetEqBand,
                       {0, static_cast<uint8_t>(b), src(30), src(5 + 5 * b), src(6 + 5 * b), src(7 + 5 * b),
                        src(8 + 5 * b), src(9 + 5 * b)}));
    f.push_back(To(d, CmdSetEqBypass, {0, 0, 0, 0, 0, 0, 0, 1}));
    f.push_back(To(d, CmdSetLoudness, {0, 0, 0, 0, 0, 0, 0, src(31)}));
    f.push_back(To(d, CmdSetOutputFlag, {1, 0, 0, 0, 0, 0, 0, 1}));
    f.push_back(To(d, CmdSetOutputFlag, {2, 0, 0, 0, 0, 0, 0, 1}));
    return f;
}

std::vector<Frame13> Pings(int d) {
    return {To(d, CmdPing), To(d, CmdPing)};
}

std::vector<Frame13> Join(std::vector<Frame13> a, const std::vector<Frame13>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Closes windows through the program's copy close path and notes how many frames had been
// written to the bus at each close.
struct ClosingAt : CopyTargetWindows {
    EditingCopyTargets real;
    const SimBus& bus;
    std::vector<std::pair<int, size_t>> closes;
    ClosingAt(WindowContext& cx, const SimBus& b) : real(cx), bus(b) {}
    void CloseForCopy(int d) override {
        closes.emplace_back(d, bus.frames.size());
        real.CloseForCopy(d);
    }
};
} // namespace

TEST(CopyDialogTest, OffersTheOtherConnectedDevicesOfTheSourcesModelOnce) {
    struct Case {
        int source;
        QString label;
        QStringList rows;
        std::vector<int> devices;
    };
    const Case cases[] = {
        {1, "A  ID:1", {"B  ID:2", "C  ID:3"}, {2, 3}},
        {40, "E  ID:7", {"D  ID:1"}, {34}},
    };
    for (const Case& c : cases) {
        CopyEnv env;
        // 5 is listed but disconnected, 2 is listed twice, and 4 and 36 stand past the last row,
        // left from an earlier scan.
        env.st.DeviceName[5] = "F";
        env.listDevices({1, 2, 3, 34, 40, 5, 2});
        env.st.DeviceDisconnected[5] = true;
        env.st.FoundList[7] = 4;
        env.st.FoundList[8] = 36;
        env.openSource(c.source);
        QString label;
        QStringList rows;
        std::vector<int> rowDevices;
        int lastRow = -2;
        env.dialogs.Script<FrmCopy>([&](FrmCopy& f) {
            label = f.Label2.Caption;
            rows = f.List1.items;
            lastRow = f.LastRow;
            for (int r = 0; r <= f.LastRow; ++r)
                rowDevices.push_back(f.RowDevice[U(r)]);
        });
        env.actions.ShowCopy();
        EXPECT_EQ(label, c.label);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(lastRow, c.rows.size() - 1);
        EXPECT_EQ(rowDevices, c.devices);
    }
}

TEST(CopyDialogTest, OneDestinationGetsTheInputSectionAndTheSeventeenFrames) {
    CopyEnv env;
    FrmCtrl& source = env.openSource(1);
    ProgRecord& dst = env.st.DevProgs[2];
    for (int i = 0; i < ProgRecord::kSize; ++i)
        dst.SetByte(i, static_cast<uint8_t>(7 * i + 3));
    const ProgRecord before = dst;
    DeviceRec& rec = env.st.DevRecs[2];
    rec.Mute = {1, 0, 1};
    rec.CurProgName = "KEEP";
    rec.DelayUnit = 1;
    env.copyTo({2});

    EXPECT_EQ(env.bus.device(2)->received, Join(Pings(2), CopyFrames(2)));
    EXPECT_TRUE(env.bus.device(3)->received.empty());
    // Bytes 0..31 and 42 and the delay unit come from the source, the two temperature mirrors
    // from the record's copied temperature; every other byte stays the destination's.
    for (int i = 0; i < ProgRecord::kSize; ++i) {
        int want = before.Byte(i);
        if (i < 32) want = 100 + i;
        if (i == 42 || i == 227 || i == 230) want = 1;
        if (i == 225) want = 55;
        EXPECT_EQ(dst.Byte(i), want) << "image byte " << i;
    }
    EXPECT_EQ(rec.TempSlider, 55);
    EXPECT_EQ(rec.TempUnit, 1);
    EXPECT_EQ(rec.Mute, (std::array<int16_t, 3>{1, 0, 1}));
    EXPECT_EQ(rec.CurProgName, "KEEP");
    EXPECT_EQ(rec.DelayUnit, 1);
    // 17 steps of a bar of 18 per destination; the dialog closed, the source window did not.
    EXPECT_EQ(env.progress, 17);
    EXPECT_EQ(env.progressMax, 18);
    EXPECT_TRUE(env.dialogs.shown.back().unloaded);
    EXPECT_TRUE(source.loaded());
}

TEST(CopyDialogTest, ADestinationThatFallsSilentIsGivenUpAndTheNextIsStillCopied) {
    CopyEnv env;
    FrmCtrl& source = env.openSource(1);
    // B, linked, answers both pings and frames 1..4, then nothing.
    env.bus.device(2)->silentAfter = 6;
    env.st.LinkOn[1] = true;
    env.copyTo({2, 3});

    const std::vector<Frame13> all = CopyFrames(2);
    std::vector<Frame13> want = Join(Pings(2), {all.begin(), all.begin() + 4});
    want.insert(want.end(), 5, all[4]); // frame 5, sent five times in all
    EXPECT_EQ(env.bus.device(2)->received, want);
    EXPECT_EQ(env.bus.device(3)->received, Join(Pings(3), CopyFrames(3)));
    EXPECT_TRUE(env.st.DeviceDisconnected[2]);
    EXPECT_FALSE(env.st.LinkOn[1]);
    EXPECT_FALSE(env.st.DeviceDisconnected[3]);
    EXPECT_EQ(env.progress, 4 + 17);
    EXPECT_EQ(env.progressMax, 36);
    EXPECT_TRUE(source.loaded());
    EXPECT_TRUE(env.st.DeviceWindowOpen[1]);
    EXPECT_TRUE(env.msg.texts().contains(" El sistema terminara la comunicacion con este equipo"));
}

TEST(CopyDialogTest, TheSecondPingDecidesWhetherADestinationIsCopied) {
    struct Case {
        int answerFromAttempt;
        int silentAfter;
        bool copied;
    };
    const Case cases[] = {{2, -1, true}, {1, 1, false}};
    for (const Case& c : cases) {
        CopyEnv env;
        env.openSource(1);
        env.bus.device(2)->answerFromAttempt = c.answerFromAttempt;
        env.bus.device(2)->silentAfter = c.silentAfter;
        env.msg.shown.clear();
        env.copyTo({2, 3});
        EXPECT_EQ(env.bus.device(2)->received, c.copied ? Join(Pings(2), CopyFrames(2)) : Pings(2));
        EXPECT_EQ(env.bus.device(3)->received, Join(Pings(3), CopyFrames(3)));
        const bool reported =
            !env.msg.shown.empty() && env.msg.shown.back().text == "Device with ID=2 Disconnected";
        EXPECT_EQ(reported, !c.copied);
        if (reported) {
            EXPECT_EQ(env.msg.shown.back().title, "Error");
            EXPECT_EQ(env.msg.shown.back().icon, MsgIcon::Exclamation);
        }
    }
}

TEST(CopyDialogTest, OpenDestinationWindowsCloseUnaskedBeforeTheFirstFrame) {
    const QString question = "Copy program data to selected device(s), are you sure?";
    for (bool othersOpen : {true, false}) {
        CopyEnv env;
        if (othersOpen) {
            env.open(2, 1);
            env.open(3, 2);
        }
        FrmCtrl& source = env.openSource(1);
        source.LoadCorrectWindow();
        ClosingAt closer(env.ctx, env.bus);
        FrmCopy form(env.st, env.link, env.msg, closer);
        form.Form_Load();
        form.List1.clickRow(0); // B
        env.msg.shown.clear();
        const size_t framesBefore = env.bus.frames.size();
        form.Command2_Click(0);

        ASSERT_FALSE(env.msg.shown.empty());
        EXPECT_EQ(env.msg.shown.front().text,
                  othersOpen ? "All destination ID windows which are open will be closed\r\n" + question
                             : question);
        EXPECT_EQ(env.msg.shown.front().title, "Copy Data");
        EXPECT_EQ(env.msg.shown.size(), 1u); // no window asked its own question
        if (othersOpen) {
            EXPECT_EQ(closer.closes, (std::vector<std::pair<int, size_t>>{{2, framesBefore}}));
            EXPECT_FALSE(env.windows.CtrlWindow(1).loaded());
            EXPECT_FALSE(env.st.DeviceWindowOpen[2]);
            EXPECT_EQ(env.st.SlotTable[1].InUse, 0);
            EXPECT_TRUE(env.windows.CtrlWindow(2).loaded()); // C was not selected
            EXPECT_EQ(env.st.OpenWindowCount, 1);
        } else {
            EXPECT_TRUE(closer.closes.empty());
        }
        EXPECT_EQ(env.st.CurSlot, 0);
        EXPECT_FALSE(env.st.CloseForCopy);
        EXPECT_TRUE(source.loaded());
        EXPECT_EQ(env.bus.device(2)->received, Join(Pings(2), CopyFrames(2)));
    }
}

TEST(CopyDialogTest, ButtonsAndCloseBoxDoNothingWhileACopyRuns) {
    CopyEnv env;
    env.openSource(1);
    std::vector<bool> enabledDuringPing;
    bool closeRefused = false, shownAfterExit = false;
    FrmCopy* form = nullptr;
    env.events.hook = [&] {
        // A ping lets events through: the operator tries every button and the close box.
        if (!form || !enabledDuringPing.empty()) return;
        for (const CommandButton& b : form->Command2)
            enabledDuringPing.push_back(b.Enabled);
        bool cancel = false;
        form->Form_QueryUnload(cancel);
        closeRefused = cancel;
        form->Command2_Click(1);
        shownAfterExit = form->IsShown();
        form->Command2_Click(2);
    };
    env.dialogs.Script<FrmCopy>([&](FrmCopy& f) {
        form = &f;
        f.List1.clickRow(0);
        env.msg.shown.clear();
        f.Command2_Click(0);
        form = nullptr;
    });
    env.windows.CtrlWindow(0).LoadCorrectWindow();
    env.actions.ShowCopy();
    EXPECT_EQ(enabledDuringPing, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(closeRefused);
    EXPECT_TRUE(shownAfterExit);
    EXPECT_EQ(env.msg.shown.size(), 1u);            // only the copy's question; Clear asked nothing
    EXPECT_TRUE(env.dialogs.shown.back().unloaded); // by the copy's end
    EXPECT_EQ(env.bus.device(2)->received, Join(Pings(2), CopyFrames(2)));
}

TEST(CopyDialogTest, ClearAsksAndRemovesEveryMarkOnlyOnYes) {
    for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
        CopyEnv env;
        env.openSource(1);
        ClosingAt closer(env.ctx, env.bus);
        FrmCopy form(env.st, env.link, env.msg, closer);
        form.Form_Load();
        form.List1.clickRow(0);
        form.List1.clickRow(1);
        env.msg.answers = {answer};
        form.Command2_Click(2);
        EXPECT_EQ(env.msg.shown.back().text, "Reset all selected devices, are you sure ? ");
        EXPECT_EQ(form.List1.selected(0), answer == MsgAnswer::No);
        EXPECT_EQ(form.List1.selected(1), answer == MsgAnswer::No);
        // Copy with no row marked only warns.
        if (answer == MsgAnswer::Yes) {
            form.Command2_Click(0);
            EXPECT_EQ(env.msg.shown.back().text, "there are not selected devices");
            EXPECT_EQ(env.msg.shown.back().title, "Warning");
        }
    }
}
