// The equaliser panel of the editing window: band number fields, switches, the marker drag and
// the filter-type dialog, on a window bound to a simulated device with graph and links recorded.
#include "graph/MarkerScale.h"
#include "support/EqTestEnv.h"
#include "support/WindowTestEnv.h"
#include "window/FrmSelFilter.h"

#include <gtest/gtest.h>

namespace {
using Calls = std::vector<std::string>;
using KeyHandler = void (FrmCtrl::*)(int, int&);
enum Field { Gain, Freq, Q, Width };

TextBox& FieldOf(FrmCtrl& w, Field f, int b) {
    return f == Gain ? w.Text9[b] : f == Freq ? w.Text4[b] : f == Q ? w.Text5[b] : w.Text50[b];
}

// Types keys into band b's field as the view does; Enter is not inserted.
void Type(FrmCtrl& w, Field f, int b, const std::string& keys) {
    const KeyHandler h = f == Gain   ? &FrmCtrl::Text9_KeyPress
                         : f == Freq ? &FrmCtrl::Text4_KeyPress
                         : f == Q    ? &FrmCtrl::Text5_KeyPress
                                     : &FrmCtrl::Text50_KeyPress;
    for (char c : keys) {
        int key = c == '\n' ? 13 : c;
        (w.*h)(b, key);
        if (key != 13 && key != 0) FieldOf(w, f, b).Text += QChar(key);
    }
}

// Band b as a loaded window holds it, applied through the setter; nothing of it recorded.
void LoadBand(EqTestEnv& e, int b, int qIndex, int slider) {
    {
        const auto quiet = RaiseSuppressEvents(e.st);
        e.w().Text4[b].Text = "1000";
        e.w().UpDown3[b].setValue(qIndex);
        e.w().Slider2[b].setValue(slider);
        SendEqBand(e.ctx, b);
    }
    e.bus.frames.clear();
    e.graph.calls.clear();
}
} // namespace

TEST(EqEntryTest, EnterHoldsSnapsAndSendsOnceRefusedTextWarnsWithTheFieldsMessage) {
    struct Case {
        Field field;
        const char *keys, *shown;
        int sent; // gain byte, frequency, or Q index of the frame; -1 none; -2 refused with a warning
    };
    const char* warning[] = {"  Valor Incorrecto", "  Valor de frecuencia incorrecto",
                             "  Valor de Q incorrecto", "  Valor de Q incorrecto"};
    // clang-format off
    const Case cases[] = {
        {Gain, "15.3\n", "15", 60},   {Gain, "-20\n", "-15", 0},           {Freq, "25000\n", "20000", 20000},
        {Freq, "5\n", "20", 20},      {Freq, "1234.5\n", "1234.5", 1234},  {Q, "1.05\n", "1.1", 8},
        {Q, "25\n", "20", 197},       {Q, "12.345\n", "12.3", 120},        {Width, "1.3884\n", "1.3884", 7},
        {Q, "3.34\n", "3.3", -1}, // the present index: the texts shown from it
        {Gain, "-3x", "-3?", -2},     {Freq, "-", "?", -2},                {Q, "1.2.3\n", "1.2.3 ", -2},
        {Width, "a", " ", -2},
    };
    // clang-format on
    for (const auto& c : cases) {
        EqTestEnv e;
        LoadBand(e, 6, 30, 30);
        FrmCtrl& w = e.w();
        if (c.field == Gain) w.Text4[6].Text = "25000"; // corrected by Enter in the gain
        FieldOf(w, c.field, 6).Text.clear();
        Type(w, c.field, 6, c.keys);
        EXPECT_EQ(FieldOf(w, c.field, 6).Text, c.shown) << c.keys;
        EXPECT_EQ(e.msg.texts(), c.sent == -2 ? QStringList{warning[c.field]} : QStringList{}) << c.keys;
        EXPECT_FALSE(e.st.EditBusy);
        if (c.sent < 0) {
            EXPECT_TRUE(e.bus.frames.empty());
            EXPECT_EQ(w.UpDown3[6].value(), 30);
            EXPECT_EQ(w.Text50[6].Text, c.field == Width ? c.shown : "0.4355"); // index 30's width
            continue;
        }
        ASSERT_EQ(e.bus.frames.size(), 1u) << c.keys;
        const Frame13& f = e.bus.frames[0];
        EXPECT_EQ(c.field == Gain ? f[11] : c.field == Freq ? f[8] * 256 + f[9] : f[10], c.sent) << c.keys;
        EXPECT_EQ(w.Text4[6].Text, c.field == Gain ? "20000" : c.field == Freq ? c.shown : "1000");
        EXPECT_EQ(w.Slider2[6].value(), 60 - f[11]);
        EXPECT_EQ(w.UpDown3[6].value(), f[10]);
        EXPECT_EQ(e.graph.calls, Calls{"band 6"});
        EXPECT_EQ(e.linked.calls, Calls{"eqband 6"});
    }
}

TEST(EqSwitchTest, EqFlatNoSendsNothingYesFlattensTheOutputOnlyAndStopsOnAFailedSend) {
    for (int run = 0; run < 3; ++run) { // answered No, Yes, Yes with the device silent
        EqTestEnv e;
        for (int b = 0; b < 19; ++b)
            LoadBand(e, b, 7, 10);
        e.msg.answers = {run == 0 ? MsgAnswer::No : MsgAnswer::Yes};
        e.st.ReportCommErrors = e.device->silent = run == 2;
        e.w().Command1_Click(1);
        EXPECT_EQ(e.msg.shown.at(0).text, "                 Esta seguro?");
        EXPECT_EQ(e.msg.shown[0].title, "EQ Flat");
        EXPECT_FALSE(e.st.EditBusy);
        const size_t frames[] = {0, 7, 5}; // the silent device's first band tried five times
        ASSERT_EQ(e.bus.frames.size(), frames[run]);
        EXPECT_EQ(e.w().Slider2[5].value(), run ? 30 : 10);
        EXPECT_EQ(e.w().Slider2[0].value(), 10);
        EXPECT_EQ(e.linked.calls, run == 1 ? Calls{"eqflat 1"} : Calls{});
    }
}

TEST(EqSwitchTest, EqualiserBypassFrameColourCurveAndLink) {
    EqTestEnv e;
    e.w().Command40_Click(0);
    e.w().Command40_Click(0);
    ASSERT_EQ(e.bus.frames.size(), 2u);
    EXPECT_EQ(e.bus.frames[0], FrameOf({0xF0, 0x65, 0x05, CmdSetEqBypass, 0, 0, 0, 0, 0, 0, 0, 1, 0xF7}));
    EXPECT_EQ(e.bus.frames[1][11], 0);
    EXPECT_EQ(e.w().Command40[0].BackColor, kButtonFace);
    // Bypassed, the channel is drawn once without its bands; back on, band by band.
    EXPECT_EQ(e.graph.calls, (Calls{"band 0", "band 0", "band 1", "band 2", "band 3", "band 4"}));
    EXPECT_EQ(e.linked.calls, (Calls{"eqbypass 0", "eqbypass 0"}));
    e.w().Command40_Click(1);
    EXPECT_EQ(e.w().Command40[1].BackColor, kRed);
    EXPECT_FALSE(e.st.EditBusy);

    // The cursor box runs while a load sets it, and leaves the load's EditBusy raised.
    e.st.SuppressEvents = e.st.EditBusy = true;
    e.w().Check3[0].setValue(1);
    EXPECT_TRUE(e.w().Label5[0].Visible && e.st.EditBusy);
}

TEST(MarkerDragTest, HeightShowsTenthsAndOnlyAMovedMarkersReleaseSendsTheSliderGain) {
    struct Case {
        int slider, dy; // start slider; pointer's move below the marker's centre, twips
        bool bypassed;
        const char* shown;
        int sentGainByte; // -1 nothing sent
    };
    const Case cases[] = {
        {30, -5000, false, "15", 60},                       // above the top: held at +15 dB
        {30, 1851 - MarkerTopOfGain(0, kFullMagScale), false, "-7.3", 15}, // -7.26 dB cut down, sent as -7.5
        {18, 0, false, "6", 42},                            // moved sideways: the height stays
        {30, -1, false, "0", -1},                           // pressed and released only
        {30, -900, true, "0", -1},                          // bypassed equaliser: the marker stays
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        LoadBand(e, 8, 7, c.slider);
        e.st.EqBypass[EqTestEnv::kDev][1] = c.bypassed;
        Label& m = e.w().Label5[8];
        const int top = m.Top;
        m.MouseDown(kLeftButton, 0, 60, 60);
        if (c.dy != -1) m.MouseMove(kLeftButton, 0, 60 + 150, 60 + c.dy);
        EXPECT_EQ(e.w().Text9[8].Text, c.shown) << c.dy;
        EXPECT_TRUE(e.bus.frames.empty()); // nothing leaves while the marker moves
        m.MouseUp(kLeftButton, 0, 60, 60);
        EXPECT_FALSE(e.st.EditBusy);
        if (c.sentGainByte < 0) {
            EXPECT_EQ(m.Top, top);
            EXPECT_TRUE(e.bus.frames.empty() && e.graph.calls.empty() && e.linked.calls.empty());
            continue;
        }
        ASSERT_EQ(e.bus.frames.size(), 1u) << c.dy;
        EXPECT_EQ(e.bus.frames[0][11], c.sentGainByte);
        EXPECT_EQ(e.w().Slider2[8].value(), 60 - c.sentGainByte);
        EXPECT_EQ(m.Top, MarkerTopOfGain(c.sentGainByte / 2.0 - 15, kFullMagScale));
        EXPECT_EQ(e.linked.calls, Calls{"eqband 8"});
    }
}

TEST(MarkerDragTest, AMarkerHeldOnTheEdgeOfANarrowRangeChangesTheGainOnlyByTheVerticalMove) {
    struct Case {
        int scale;  // scale option of the input graph: 1 "-28dB/+14dB", 2 "-15dB/+15dB"
        int slider; // the band's gain: 0 +15 dB, 2 +14 dB, 60 -15 dB
        int pressY; // where in the marker it was grabbed, twips
        int dy;     // the pointer's vertical move from the press, twips
        const char* shown;
        int sentGainByte;
    };
    const Case cases[] = {
        {2, 0, 60, 0, "15", 60},     // +15 dB on -15/+15, moved sideways only
        {2, 0, 110, 0, "15", 60},    // grabbed low in the marker
        {2, 60, 20, 0, "-15", 0},    // -15 dB, held on the bottom edge
        {2, 0, 60, -400, "15", 60},  // pushed further up: no gain beyond a band's
        {1, 0, 60, 0, "15", 60},     // +15 dB beyond -28/+14
        {1, 2, 60, 0, "14", 58},     // +14 dB on its edge
        {1, 0, 60, 150, "12.8", 56}, // 150 twips down: 2.19 dB below +15, not below the edge's 13
        {1, 0, 60, -400, "15", 60},  // up beyond the range: the band's own gain stays
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        e.w().Option3[static_cast<size_t>(c.scale)].setValue(true);
        LoadBand(e, 2, 7, c.slider);
        Label& m = e.w().Label5[2];
        const int top = m.Top;
        m.MouseDown(kLeftButton, 0, 60, c.pressY);
        // The pointer moves 600 twips right, the marker follows it sideways.
        m.MouseMove(kLeftButton, 0, 60 + 600, c.pressY + c.dy);
        EXPECT_EQ(e.w().Text9[2].Text, c.shown) << c.scale << " " << c.slider << " " << c.dy;
        if (c.dy == 0) {
            EXPECT_EQ(m.Top, top); // held on the edge where it was
        }
        m.MouseUp(kLeftButton, 0, 60, 60);
        ASSERT_EQ(e.bus.frames.size(), 1u);
        EXPECT_EQ(e.bus.frames[0][11], c.sentGainByte) << c.scale << " " << c.slider << " " << c.dy;
    }
}

TEST(MarkerDragTest, APressEndsWithItsWindowAndAMoveWithoutAButtonChangesNothing) {
    struct Case {
        bool reopened; // the window closed mid-drag and loaded again before the move
        int buttons;   // held during the move
        bool drags;
    };
    const Case cases[] = {
        {false, kLeftButton, true}, {false, 0, false}, {true, 0, false}, {true, kLeftButton, false}};
    for (const auto& c : cases) {
        WindowEnv env;
        FrmCtrl* w = &env.open(5, 0);
        w->Label5[1].MouseDown(kLeftButton, 0, 60, 60);
        if (c.reopened) {
            w->CloseSilently(); // as the link closes it after a failed exchange
            w = &env.open(5, 0);
        }
        env.bus.frames.clear();
        const int top = w->Label5[1].Top;
        w->Label5[1].MouseMove(c.buttons, 0, 600, -900);
        w->Label5[1].MouseUp(kLeftButton, 0, 600, -900);
        EXPECT_EQ(w->Text9[1].Text != "0", c.drags) << c.reopened << c.buttons;
        EXPECT_EQ(w->Label5[1].Top != top, c.drags) << c.reopened << c.buttons;
        EXPECT_EQ(env.st.DevRecs[5].BandGain[1] != 0.0f, c.drags) << c.reopened << c.buttons;
        EXPECT_EQ(env.bus.frames.size(), c.drags ? 1u : 0u) << c.reopened << c.buttons;
    }
}

TEST(FilterDialogTest, NamesTheBandOkSendsCancelOrNoSelectionKeepsTheType) {
    struct Case {
        int band, type, button, pick;
        const char *label, *caption;
    };
    const Case cases[] = {{4, 3, 0, 8, "Type Filter 5", "Lo Pass -12dB"},
                          {7, 0, 1, 8, "Type Filter 3", ""},
                          {12, 16, 0, -1, "Type Filter 1", ""}};
    for (const auto& c : cases) {
        EqTestEnv e;
        e.st.BandType[EqTestEnv::kDev][size_t(c.band)] = int16_t(c.type);
        int shownType = -1;
        e.dialogs.Script<FrmSelFilter>([&](FrmSelFilter& d) {
            EXPECT_EQ(d.Label1.Caption, c.label);
            EXPECT_TRUE(e.st.EditBusy); // held while the dialog is open
            shownType = d.Combo1.listIndex();
            d.Combo1.setListIndex(c.pick);
            d.Command1_Click(c.button);
        });
        e.w().Command10_Click(c.band);
        EXPECT_EQ(shownType, c.type);
        EXPECT_TRUE(e.dialogs.shown.at(0).modal && e.dialogs.shown[0].unloaded);
        EXPECT_FALSE(e.st.EditBusy);
        const bool ok = c.caption[0] != 0;
        EXPECT_EQ(e.st.BandType[EqTestEnv::kDev][size_t(c.band)], ok ? c.pick : c.type);
        EXPECT_EQ(e.w().Command10[c.band].Caption, c.caption);
        ASSERT_EQ(e.bus.frames.size(), ok ? 1u : 0u);
        EXPECT_EQ(e.graph.calls, ok ? Calls{"band " + std::to_string(c.band)} : Calls{});
        EXPECT_TRUE(e.linked.calls.empty());
    }
}

TEST(EqSilentDeviceTest, BandBypassAndDialogHandlersStopAfterAFailedSend) {
    for (int edit = 0; edit < 3; ++edit) {
        EqTestEnv e;
        e.st.ReportCommErrors = e.device->silent = true;
        e.dialogs.Script<FrmSelFilter>([](FrmSelFilter& d) { d.Command1_Click(0); });
        if (edit == 0) Type(e.w(), Gain, 5, "3\n"); // as every band handler and the marker release
        if (edit == 1) e.w().Command40_Click(1);
        if (edit == 2) e.w().Command10_Click(5);
        EXPECT_EQ(e.bus.frames.size(), 5u) << edit;
        EXPECT_TRUE(e.graph.calls.empty() && e.linked.calls.empty()) << edit;
        EXPECT_FALSE(e.st.EditBusy) << edit;
    }
}
