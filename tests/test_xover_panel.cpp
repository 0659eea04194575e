// The crossover panel's handlers: type list, section steppers and fields, "Link Frequency" and
// the "Set as Bw" / "Set as LR" buttons.
#include "support/EqTestEnv.h"
#include "support/WindowTestEnv.h"

#include <gtest/gtest.h>

namespace {
using C = FrmCtrlControls;
using Texts = std::array<TextBox, kXoverFilters>;

// Filter k put on `type` through its type list, by way of another type so that the list's
// handler runs for every type; no frame or graph call kept.
void Prepare(EqTestEnv& e, int k, int type) {
    for (int t : {type == 1 ? 2 : 1, type})
        e.w().Combo2[static_cast<size_t>(k)].setListIndex(t);
    e.bus.frames.clear();
    e.graph.calls.clear();
}
} // namespace

TEST(XoverPanelTest, SteppedFrequencyWithLinkFrequencyGoesToAllFourSectionsBeforeTheOnePair) {
    EqTestEnv e;
    e.w().Check1[1].setValue(1);
    Prepare(e, 1, 17);
    e.w().UpDown7[1].setValue(250);
    ASSERT_EQ(e.bus.frames.size(), 2u);
    EXPECT_EQ(e.bus.frames[1][6] * 256 + e.bus.frames[1][7], 250); // section 1's frequency
    EXPECT_EQ(e.w().Text13[1].Text, "250");
    EXPECT_TRUE(e.linked.calls.empty()); // not repeated on linked devices
}

TEST(XoverPanelTest, SectionEntryHoldsFrequenciesReadsQsAndRefusesWhatDoesNotRead) {
    // Columns: key procedure, its field, decimal comma, "Link Frequency" ticked, text on Enter,
    // text afterwards (a Q field shows the Q of the index its stepper got), warning.
    using Row =
        std::tuple<void (FrmCtrl::*)(int, int&), Texts C::*, int, int, const char*, const char*, const char*>;
    const Row rows[] = {
        {&FrmCtrl::Text10_KeyPress, &C::Text10, 0, 1, "30000", "20000", nullptr},
        {&FrmCtrl::Text13_KeyPress, &C::Text13, 1, 0, "10", "20", nullptr},
        {&FrmCtrl::Text14_KeyPress, &C::Text14, 0, 0, "0.7", "0.7", nullptr},    // index 13
        {&FrmCtrl::Text14_KeyPress, &C::Text14, 0, 0, "0.02", "0.05", nullptr},  // 0
        {&FrmCtrl::Text12_KeyPress, &C::Text12, 0, 0, "12", "10", nullptr},      // 199
        {&FrmCtrl::Text15_KeyPress, &C::Text15, 0, 0, "1.234", "1.25", nullptr}, // 24
        {&FrmCtrl::Text16_KeyPress, &C::Text16, 0, 0, "1.279", "1.25", nullptr}, // read as 1.27: 24
        {&FrmCtrl::Text16_KeyPress, &C::Text16, 1, 0, "1.279", "1,3", nullptr},  // read whole: 25
        {&FrmCtrl::Text12_KeyPress, &C::Text12, 0, 0, "1.2.", "1.2.", "  Valor de Q incorrecto"},
        {&FrmCtrl::Text8_KeyPress, &C::Text8, 0, 0, "", "", "  Valor de frecuencia incorrecto"},
    };
    for (const auto& [proc, field, comma, link, typed, shown, warning] : rows) {
        EqTestEnv e;
        e.st.DecimalComma = comma;
        e.w().Check1[2].setValue(link);
        Prepare(e, 2, 17);
        FrmCtrl& w = e.w();
        (w.*field)[2].Text = typed;
        int key = 13;
        (w.*proc)(2, key);
        EXPECT_EQ(key, warning ? '?' : 13) << typed;
        EXPECT_EQ((w.*field)[2].Text, shown) << typed;
        EXPECT_EQ(w.Text11[2].Text, link ? shown : "1000"); // section 3, only with the link
        // One pair for an accepted entry (the Q stepper's own handler kept quiet), none otherwise.
        EXPECT_EQ(e.bus.frames.size(), warning ? 0u : 2u) << typed;
        EXPECT_EQ(e.msg.texts(), warning ? QStringList{warning} : QStringList{}) << typed;
        EXPECT_FALSE(e.st.SuppressEvents);
    }
}

TEST(XoverPanelTest, SetAsButtonsWriteTheRowOfTheirTypeThroughTheSteppers) {
    // Columns: "Set as LR", type, stepper writes that changed a value (one pair each), Q texts.
    const std::tuple<bool, int, size_t, const char*> cases[] = {
        {false, 0, 0, "0.05 0.05 0.05 0.05"}, {false, 7, 0, "0.05 0.05 0.05 0.05"},
        {false, 13, 3, "1.3 0.55 0.05 0.05"}, {true, 17, 7, "1.3 0.55 1.25 0.55"},
        {true, 12, 0, "0.05 0.05 0.05 0.05"},
    };
    for (const auto& [lr, type, writes, qTexts] : cases) {
        EqTestEnv e;
        FrmCtrl& w = e.w();
        w.Text8[0].Text = "500";
        Prepare(e, 0, type);
        // Bypass and fixed types leave only section 1's frequency enabled.
        EXPECT_EQ(w.Text10[0].Enabled || w.Text12[0].Enabled || w.Command7[0].Enabled, type > 10);
        (lr ? w.Command12 : w.Command7)[0].Click();
        EXPECT_EQ(e.bus.frames.size(), 2 * writes) << type;
        EXPECT_EQ(e.graph.calls.size(), writes) << type;
        EXPECT_EQ(w.Text10[0].Text, writes ? "500" : "1000") << type;
        const QStringList qs{w.Text12[0].Text, w.Text14[0].Text, w.Text15[0].Text, w.Text16[0].Text};
        EXPECT_EQ(qs.join(' '), qTexts) << type;
        EXPECT_FALSE(e.st.EditBusy);
    }
}

TEST(XoverPanelTest, DeviceSilentDuringSetAsBwGivesOneMessageAndNoFurtherFrame) {
    WindowEnv env;
    env.listDevices({5});
    FrmCtrl& w = env.open(5, 0);
    w.Combo2[0].setListIndex(13);
    w.UpDown6[0].setValue(900);
    SimDevice& d = *env.bus.device(5);
    d.silentAfter = d.answered + 2; // answers the section 2 copy, not the first Q
    env.bus.frames.clear();
    w.Command7_Click(0);
    EXPECT_EQ(env.msg.texts(), QStringList{" El sistema terminara la comunicacion con este equipo"});
    EXPECT_FALSE(w.Visible);
    EXPECT_EQ(env.bus.frames.size(), 2u + 5u); // the copy's pair, then five tries of one frame
    EXPECT_FALSE(env.st.EditBusy);
}

TEST(XoverPanelTest, RefusedSteppedQLeavesTheStepperQInTheFieldAndEnterThenSendsIt) {
    using Steps = std::array<UpDown, kXoverFilters>;
    struct Case {
        Steps C::*stepper;
        Texts C::*qField;
        void (FrmCtrl::*enter)(int, int&);
        Texts C::*brokenFrequency; // another section's field, emptied
        int comma, index;
        const char* shown;
        size_t frame, byte; // where the section's Q index leaves: frame 0 holds sections 2..4
    };
    const Case cases[] = {
        {&C::UpDown12, &C::Text12, &FrmCtrl::Text12_KeyPress, &C::Text10, 0, 13, "0.7", 1, 9},
        {&C::UpDown10, &C::Text15, &FrmCtrl::Text15_KeyPress, &C::Text8, 1, 24, "1,25", 0, 7},
    };
    for (const auto& c : cases) {
        EqTestEnv e;
        e.st.DecimalComma = c.comma;
        Prepare(e, 0, 17);
        FrmCtrl& w = e.w();
        (w.*c.brokenFrequency)[0].Text = "";
        (w.*c.stepper)[0].setValue(c.index);
        EXPECT_EQ(e.msg.texts(), QStringList{"  Valor de frecuencia incorrecto"});
        EXPECT_EQ((w.*c.qField)[0].Text, c.shown);
        EXPECT_TRUE(e.bus.frames.empty());

        (w.*c.brokenFrequency)[0].Text = "1000";
        int key = 13;
        (w.*c.enter)(0, key);
        ASSERT_EQ(e.bus.frames.size(), 2u) << c.shown;
        EXPECT_EQ(e.bus.frames[c.frame][c.byte], c.index) << c.shown;
        EXPECT_EQ((w.*c.qField)[0].Text, c.shown);
    }
}
