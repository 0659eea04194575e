// The editing window's lifecycle and first edit handlers, driven against the simulated bus with
// the real response graph, and opened and closed the way the device list and the link do it.
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

// ---- Load ----

TEST(EditingWindowLoadTest, OpenedFromTheListSendsOnlyTheLockByteWhenTheImageHoldsIt) {
    for (int lock : {0, 1}) {
        WindowEnv env;
        SimDevice& d = env.bus.addDevice(5, QStringLiteral("Stage"));
        d.mem[23] = static_cast<uint8_t>(lock); // the unit lock among the settings
        env.listDevices({5});
        env.list.Form_Load();
        env.list.Timer1.Tick();
        env.bus.frames.clear();

        ASSERT_TRUE(env.list.OpenDeviceWindow(0)) << lock;
        FrmCtrl& w = env.windows.CtrlWindow(0);
        const auto edits = env.edits();
        if (lock == 0) {
            EXPECT_TRUE(edits.empty());
        } else {
            ASSERT_EQ(edits.size(), 1u);
            EXPECT_EQ(edits[0], DeviceFrameFor(5, CmdWriteByte, Data8{0, 23, 0, 0, 1, 0, 0, 0}));
        }
        EXPECT_EQ(w.Check10.value(), lock);
        EXPECT_EQ(w.Frame25[0].Enabled, lock == 0); // the lock state applied
        EXPECT_TRUE(w.Visible);
        EXPECT_TRUE(w.loaded());
        EXPECT_TRUE(env.st.DeviceWindowOpen[5]);
        EXPECT_EQ(env.st.DeviceSlot[5], 0);
        EXPECT_EQ(env.st.CurSlot, 0);
        EXPECT_TRUE(env.st.ReportCommErrors);
        EXPECT_FALSE(env.st.CommSuspended);
        EXPECT_EQ(env.st.DrawSuspended, 0);
        EXPECT_FALSE(env.st.FirstWindowPending);
        EXPECT_TRUE(env.st.ExchangeIdle);
        EXPECT_EQ(w.Timer1[0].Interval, 500);
        EXPECT_TRUE(w.Timer1[0].Enabled);
        EXPECT_FALSE(w.Picture1[0].Image.isNull()); // the graphs were drawn
        EXPECT_FALSE(env.list.Label2.Visible);
    }
}

TEST(EditingWindowLoadTest, CaptionAndHiddenControlsByAddressProgramModelAndServiceMode) {
    struct Case {
        int dev;
        int prog;
        bool service;
        const char* caption;
    };
    const Case cases[] = {
        {38, 64, false, "ID:5 -  Valdoran  - Ultimo programa cargado: en equipo: P-- - Sub  "},
        {5, 0, true, "ID:5 -  Kestrino  - Ultimo programa cargado: en equipo: P01 - Sub  "},
        {7, 9, false, "ID:7 -  Kestrino  - Ultimo programa cargado: en equipo: P10 - Sub  "},
    };
    for (const auto& c : cases) {
        WindowEnv env;
        env.st.ServiceMode = c.service;
        env.st.LastProgNumber = static_cast<int16_t>(c.prog);
        env.st.DevRecs[static_cast<size_t>(c.dev)].CurProgName = QStringLiteral("Sub  ");
        FrmCtrl& w = env.open(c.dev, 3);
        EXPECT_EQ(w.Caption, c.caption);
        EXPECT_EQ(w.Command15[0].Visible, c.service);
        EXPECT_EQ(w.Command16[1].Visible, c.service);
        EXPECT_EQ(w.Command17.Visible, c.service);
        const bool second = c.dev >= 33;
        EXPECT_EQ(w.Command4[2].Visible, !second) << c.dev;
        EXPECT_EQ(w.MeterFrame[3].Visible, !second);
        EXPECT_EQ(w.Label1[26].Visible, !second);
        EXPECT_EQ(w.Check4[0].Visible, !second);
        EXPECT_EQ(w.Label10[3].Visible, !second);
        EXPECT_EQ(w.Command15[2].Visible, c.service && !second);
        EXPECT_EQ(w.FrontSection, 0);
        EXPECT_EQ(env.st.SelectedSection[static_cast<size_t>(c.dev)], 0);
    }
}

TEST(EditingWindowLoadTest, ResizeKeepsTheSizeUnlessMinimised) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    w.Width = 9000;
    w.Height = 4000;
    w.Form_Resize();
    EXPECT_EQ(w.Width, 14670);
    EXPECT_EQ(w.Height, 10125);
    w.WindowState = 1;
    w.Width = 2000;
    w.Form_Resize();
    EXPECT_EQ(w.Width, 2000);
}

// ---- Slots ----

TEST(EditingWindowSlotTest, TwoWindowsKeepTheirOwnSlots) {
    WindowEnv env;
    FrmCtrl& a = env.open(5, 0);
    FrmCtrl& b = env.open(6, 1);
    a.Form_Activate();
    EXPECT_EQ(env.st.CurSlot, 0);
    env.bus.frames.clear();
    b.Text1[0].Text.clear();
    env.type(b, 0, "-6\n"); // typed into the other window: it becomes current first
    EXPECT_EQ(env.st.CurSlot, 1);
    const auto gains = env.sent(CmdSetGain);
    ASSERT_EQ(gains.size(), 1u);
    EXPECT_EQ(gains[0][2], 6);
    EXPECT_EQ(env.st.DevRecs[6].ChanGain[0], -6.0f);
    EXPECT_EQ(env.st.DevRecs[5].ChanGain[0], 0.0f);
    EXPECT_EQ(a.Text1[0].Text, "0");
    EXPECT_EQ(b.Text1[0].Text, "-6");
    b.Form_Activate();
    a.Form_Activate();
    EXPECT_EQ(env.st.CurSlot, 0);
}

TEST(EditingWindowSlotTest, ReusedSlotStartsFromTheDesignValues) {
    WindowEnv env;
    FrmCtrl& first = env.open(38, 0); // second model: the second output's controls hidden
    first.Command4_Click(0);
    ASSERT_EQ(first.Command4[0].Caption, "Muted");
    env.msg.answers = {MsgAnswer::Yes};
    ASSERT_TRUE(first.Unload());

    FrmCtrl& again = env.open(5, 0);
    EXPECT_EQ(&again, &first);
    EXPECT_TRUE(again.Command4[2].Visible);
    EXPECT_TRUE(again.MeterFrame[3].Visible);
    EXPECT_EQ(again.Command4[0].Caption, "Mute");
    EXPECT_EQ(env.st.DeviceSlot[5], 0);
    EXPECT_EQ(env.st.SlotTable[0].Device, 5);
}

// ---- Close ----

TEST(EditingWindowCloseTest, NoKeepsTheWindowYesFreesTheSlotAndNothingIsSent) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 2);
    env.bus.frames.clear();
    env.msg.answers = {MsgAnswer::No};
    EXPECT_FALSE(w.Unload());
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, "                 Esta seguro ? ");
    EXPECT_EQ(env.msg.shown[0].title, "ID:5 - Cerrar ventana");
    EXPECT_EQ(env.msg.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(w.Visible);
    EXPECT_TRUE(env.st.DeviceWindowOpen[5]);
    EXPECT_EQ(env.st.SlotTable[2].InUse, -1);
    EXPECT_EQ(env.st.OpenWindowCount, 0);

    env.msg.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(w.Unload());
    EXPECT_FALSE(w.Visible);
    EXPECT_FALSE(w.Timer1[2].Enabled);
    EXPECT_FALSE(env.st.DeviceWindowOpen[5]);
    EXPECT_EQ(env.st.SlotTable[2].InUse, 0);
    EXPECT_EQ(env.st.OpenWindowCount, -1);
    EXPECT_TRUE(w.Unload()); // closing again changes nothing
    EXPECT_EQ(env.st.OpenWindowCount, -1);
    EXPECT_TRUE(env.bus.frames.empty());
}

TEST(EditingWindowCloseTest, DisconnectedDeviceOrCopyClosesWithoutAsking) {
    for (bool copy : {false, true}) {
        WindowEnv env;
        FrmCtrl& w = env.open(5, 0);
        if (copy) {
            env.st.CloseForCopy = true;
            env.st.CloseForCopyDevice = 5;
        } else {
            env.st.DeviceDisconnected[5] = true;
        }
        EXPECT_TRUE(w.Unload());
        EXPECT_TRUE(env.msg.shown.empty());
        EXPECT_FALSE(env.st.DeviceWindowOpen[5]);
        EXPECT_EQ(env.st.SlotTable[0].InUse, 0);
        EXPECT_EQ(env.st.OpenWindowCount, -1);
    }
}

TEST(EditingWindowCloseTest, DeviceFallingSilentDuringTheQuestionClosesTheWindowOnce) {
    // The meter poll ticks while the question is up and the device no longer answers; in the
    // last rows the link closes the window meanwhile (its failure message is answered first).
    const struct {
        const char* what;
        bool linkCloses;
        MsgAnswer answer;
        int count;
    } rows[] = {
        {"poll, No", false, MsgAnswer::No, 0},
        {"poll, Yes", false, MsgAnswer::Yes, -1},
        {"link closes, No", true, MsgAnswer::No, -1},
        {"link closes, Yes", true, MsgAnswer::Yes, -1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        WindowEnv env;
        env.listDevices({5});
        FrmCtrl& w = env.open(5, 2);
        env.bus.frames.clear();
        bool asked = false;
        size_t polledDuringQuestion = 0;
        env.msg.whileShown = [&] {
            if (asked) return; // the link's own message
            asked = true;
            env.bus.device(5)->silent = true;
            w.Timer1[2].Tick();
            polledDuringQuestion = env.sent(CmdReadMeters).size();
            if (r.linkCloses) env.link.SendFrame(5, CmdSetGain);
        };
        env.msg.answers = {r.answer};
        if (r.linkCloses) env.msg.answers.push_front(MsgAnswer::Ok);

        const bool closed = w.Unload();
        EXPECT_EQ(polledDuringQuestion, 0u);
        EXPECT_EQ(env.st.OpenWindowCount, r.count);
        const bool open = r.count == 0;
        EXPECT_EQ(closed, !open);
        EXPECT_EQ(w.loaded(), open);
        EXPECT_EQ(w.Visible, open);
        EXPECT_EQ(env.st.SlotTable[2].InUse != 0, open);
        if (open) { // the poll goes on once the question is answered
            env.bus.device(5)->silent = false;
            w.Timer1[2].Tick();
            EXPECT_EQ(env.sent(CmdReadMeters).size(), 1u);
        }
    }
}

// ---- Gain entry ----

TEST(GainEntryTest, EnterSendsOneGainFrameWithTheSnappedValue) {
    struct Case {
        const char* keys;
        int comma;
        const char* text;
        int slider;
    };
    const Case cases[] = {
        {"20\n", 0, "12", 0},    {"-50\n", 0, "-36", 96}, {"3.3\n", 0, "3.5", 17},
        {"-2,2\n", 0, "-2", 28}, {"1.2\n", 1, "1", 22},   {"-0,8\n", 1, "-1", 26},
    };
    for (const auto& c : cases) {
        WindowEnv env;
        env.st.DecimalComma = c.comma;
        FrmCtrl& w = env.open(5, 0);
        env.bus.frames.clear();
        w.Text1[1].Text.clear();
        const QImage before = w.Picture1[1].Image;
        env.type(w, 1, c.keys);
        EXPECT_EQ(w.Text1[1].Text, c.text) << c.keys;
        EXPECT_EQ(w.Slider1[1].value(), c.slider) << c.keys;
        ASSERT_EQ(env.bus.frames.size(), 1u) << c.keys;
        const Frame13 f = env.bus.frames[0];
        EXPECT_EQ(f[3], CmdSetGain);
        EXPECT_EQ(f[4], 1);
        EXPECT_EQ(f[11], 96 - c.slider);
        EXPECT_TRUE(env.msg.shown.empty());
        EXPECT_NE(w.Picture1[1].Image, before) << c.keys; // the curve moved
        EXPECT_EQ(env.linked.calls, std::vector<std::string>{"gain 1"});
    }
}

TEST(GainEntryTest, DecimalKeysBecomeTheLocaleSign) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    for (int comma : {0, 1}) {
        env.st.DecimalComma = comma;
        for (int typed : {int(','), int('.')}) {
            int key = typed;
            w.Text1_KeyPress(0, key);
            EXPECT_EQ(key, comma ? ',' : '.');
        }
    }
    for (int key : {int('7'), int('-'), int('+'), 8, 3, 22, 24, 26}) {
        int k = key;
        w.Text1_KeyPress(0, k);
        EXPECT_EQ(k, key);
    }
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST(GainEntryTest, RefusedKeyOrUnreadableTextWarnsLeavesQuestionMarkAndSendsNothing) {
    struct Case {
        const char* start;
        const char* keys;
        const char* text;
        size_t warnings;
    };
    const Case cases[] = {
        {"", "a", "?", 1},        // a letter
        {"", "1a\n", "1??", 2},   // and a later Enter on the "?" left behind
        {"", "\n", "?", 1},       // Enter on an empty field
        {"6-2", "\n", "6-2?", 1}, // pasted text that is not a number
        {"1e999", "\n", "1e999?", 1},
    };
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl& w = env.open(5, 0);
        env.bus.frames.clear();
        w.Text1[0].Text = c.start;
        env.type(w, 0, c.keys);
        EXPECT_EQ(w.Text1[0].Text, c.text) << c.keys;
        ASSERT_EQ(env.msg.shown.size(), c.warnings) << c.keys;
        EXPECT_EQ(env.msg.shown.back().text, "  Valor Incorrecto");
        EXPECT_EQ(env.msg.shown.back().title, "Advertencia");
        EXPECT_TRUE(env.bus.frames.empty()) << c.keys;
        EXPECT_EQ(w.Slider1[0].value(), 24);
        EXPECT_EQ(env.st.DevRecs[5].ChanGain[0], 0.0f);
        EXPECT_TRUE(env.linked.calls.empty());
    }
}

TEST(GainEntryTest, SliderMovedSendsRedrawsAndLinks) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    env.bus.frames.clear();
    const QImage before = w.Picture1[0].Image;
    w.Slider1[0].setValue(10);
    w.Slider1[0].Change(); // the view runs it when the operator moved the slider
    EXPECT_EQ(w.Text1[0].Text, "7");
    ASSERT_EQ(env.sent(CmdSetGain).size(), 1u);
    EXPECT_EQ(env.sent(CmdSetGain)[0][11], 86);
    EXPECT_NE(w.Picture1[0].Image, before);
    EXPECT_EQ(env.linked.calls, std::vector<std::string>{"gain 0"});
    EXPECT_FALSE(env.st.EditBusy);
}

// ---- Switches ----

TEST(ChannelSwitchTest, MuteLoudnessAndPhaseFrames) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    env.bus.frames.clear();

    w.Command4_Click(1);
    w.Command4_Click(2);
    w.Check5.setValue(1);
    w.Check2[2].setValue(1);
    w.Command4_Click(1);
    const std::vector<Frame13> want = {
        DeviceFrameFor(5, CmdSetMute, Data8{1, 0, 0, 0, 0, 0, 0, 2}),
        DeviceFrameFor(5, CmdSetMute, Data8{2, 0, 0, 0, 0, 0, 0, 6}),
        DeviceFrameFor(5, CmdSetLoudness, Data8{0, 0, 0, 0, 0, 0, 0, 1}),
        DeviceFrameFor(5, CmdSetPolarity, Data8{2, 0, 0, 0, 0, 0, 0, 4}),
        DeviceFrameFor(5, CmdSetMute, Data8{1, 0, 0, 0, 0, 0, 0, 4}),
    };
    EXPECT_EQ(env.bus.frames, want);
    EXPECT_EQ(w.Command4[1].Caption, "Mute");
    EXPECT_EQ(w.Command4[2].Caption, "Muted");
    EXPECT_EQ(w.Shape4.FillColor, kYellow);
    EXPECT_EQ(env.linked.calls, (std::vector<std::string>{"mute 1", "mute 2", "loudness", "mute 1"}));
    EXPECT_FALSE(env.st.EditBusy);
}

TEST(ChannelSwitchTest, NothingHappensWhileEventsAreSuppressed) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    env.bus.frames.clear();
    env.st.SuppressEvents = true;
    w.Command4_Click(0);
    w.Check5.setValue(1);
    w.Check2[1].setValue(1);
    w.ApplyGainSlider(0);
    w.Check10.setValue(1);
    int key = 'x';
    w.Text1_KeyPress(0, key);
    EXPECT_EQ(key, 'x');
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_TRUE(env.linked.calls.empty());
    EXPECT_FALSE(env.st.EditBusy);
}

TEST(ChannelSwitchTest, PhaseRedrawsItsOutputOnly) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    w.Option5[1].setValue(true); // phase view of output 1
    env.parts.programGraph.RedrawGraph(1);
    const QImage out1 = w.Picture1[1].Image;
    const QImage out2 = w.Picture1[2].Image;
    w.Check2[1].setValue(1);
    EXPECT_NE(w.Picture1[1].Image, out1);
    EXPECT_EQ(w.Picture1[2].Image, out2);
    EXPECT_TRUE(env.linked.calls.empty());
}

TEST(ChannelSwitchTest, UnitLockWritesAddress23AndAppliesTheLock) {
    WindowEnv env;
    FrmCtrl& w = env.open(5, 0);
    env.bus.frames.clear();
    w.Check10.setValue(1);
    w.Check10.setValue(0);
    const std::vector<Frame13> want = {DeviceFrameFor(5, CmdWriteByte, Data8{0, 23, 0, 0, 1, 0, 0, 0}),
                                       DeviceFrameFor(5, CmdWriteByte, Data8{0, 23, 0, 0, 0, 0, 0, 0})};
    EXPECT_EQ(env.bus.frames, want);
    EXPECT_EQ(env.st.DevProgs[5].Ext[23], 0);
    EXPECT_EQ(env.st.DevRecs[5].UnitLock, 0.0);
    EXPECT_TRUE(w.Command11.Enabled);
}

// ---- A device that stops answering ----

TEST(SilentDeviceTest, FailedSendClosesTheWindowAndTheHandlerStops) {
    enum class Edit { TypedGain, SliderGain, Mute, Loudness, Phase, Lock };
    for (Edit e : {Edit::TypedGain, Edit::SliderGain, Edit::Mute, Edit::Loudness, Edit::Phase, Edit::Lock}) {
        WindowEnv env;
        env.listDevices({4, 5});
        FrmCtrl& other = env.open(4, 0);
        FrmCtrl& w = env.open(5, 1);
        env.bus.device(5)->silent = true;
        const QImage graph = w.Picture1[0].Image;
        switch (e) {
        case Edit::TypedGain:
            env.type(w, 0, "5\n");
            break;
        case Edit::SliderGain:
            w.Slider1[0].setValue(0);
            w.ApplyGainSlider(0);
            break;
        case Edit::Mute:
            w.Command4_Click(0);
            break;
        case Edit::Loudness:
            w.Check5.setValue(1);
            break;
        case Edit::Phase:
            w.Check2[1].setValue(1);
            break;
        case Edit::Lock:
            w.Check10.setValue(1);
            break;
        }
        const int what = static_cast<int>(e);
        ASSERT_EQ(env.msg.shown.size(), 1u) << what;
        EXPECT_EQ(env.msg.shown[0].text, " El sistema terminara la comunicacion con este equipo");
        EXPECT_TRUE(env.st.DeviceDisconnected[5]);
        EXPECT_FALSE(w.Visible) << what;
        EXPECT_FALSE(w.loaded());
        EXPECT_FALSE(env.st.DeviceWindowOpen[5]);
        EXPECT_EQ(env.st.SlotTable[1].InUse, 0);
        EXPECT_EQ(env.st.OpenWindowCount, 0);
        EXPECT_TRUE(other.Visible);
        EXPECT_EQ(env.st.CurSlot, 1);
        // The handler stopped: no redraw, no link routine, no button repainted.
        EXPECT_EQ(w.Picture1[0].Image, graph) << what;
        EXPECT_TRUE(env.linked.calls.empty()) << what;
        EXPECT_EQ(w.Command4[0].Caption, "Mute");
        EXPECT_TRUE(w.Command11.Enabled);
        EXPECT_FALSE(env.st.EditBusy);
    }
}

TEST(SilentDeviceTest, LinkClosingAnotherDevicesWindowKeepsTheCurrentSlot) {
    WindowEnv env;
    env.listDevices({4, 5});
    env.open(4, 0);
    FrmCtrl& w = env.open(5, 1);
    w.Form_Activate();
    env.bus.device(4)->silent = true;
    env.st.CurSlot = 1;
    EXPECT_TRUE(env.link.SendFrame(4, CmdSetGain));
    EXPECT_FALSE(env.windows.CtrlWindow(0).Visible);
    EXPECT_EQ(env.st.CurSlot, 1);
    EXPECT_TRUE(w.Visible);
    env.editing.CloseDeviceWindow(5 + 33); // no window for that device: nothing closes
    EXPECT_TRUE(w.Visible);
}

TEST(SilentDeviceTest, LockByteFailingDuringTheLoadEndsTheLoadClosed) {
    WindowEnv env;
    env.listDevices({5});
    env.bus.addDevice(5).silent = true;
    env.st.DevProgs[5].Ext[23] = 1;
    env.st.SlotTable[0] = WinSlotRec{-1, 5, 0};
    env.st.OpenWindowCount = 0;
    EXPECT_TRUE(env.editing.ShowEditingWindow(0)); // loaded, then closed by the link
    EXPECT_EQ(env.msg.shown.size(), 1u);
    FrmCtrl& w = env.windows.CtrlWindow(0);
    EXPECT_FALSE(w.Visible);
    EXPECT_FALSE(w.Timer1[0].Enabled);
    EXPECT_FALSE(env.st.DeviceWindowOpen[5]);
    EXPECT_EQ(env.st.SlotTable[0].InUse, 0);
    EXPECT_EQ(env.st.OpenWindowCount, -1);
}
