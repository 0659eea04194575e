#include "window/CtrlWindowSlots.h"

#include <gtest/gtest.h>

TEST(FrmCtrlTest, OptionPairsStayWithinTheirGraph) {
    AppState st;
    FrmCtrl w(st, 0);
    int clicks = 0;
    w.Option4[3].Click = [&] { ++clicks; };
    w.Option4[3].setValue(true);
    EXPECT_FALSE(w.Option4[2].value());
    EXPECT_TRUE(w.Option4[0].value()); // the other graph's pair is untouched
    EXPECT_EQ(clicks, 1);
    w.UpDown2[1].setValue(900);
    EXPECT_EQ(w.UpDown2[1].value(), 790);
    EXPECT_EQ(w.Combo2[2].text(), "   Bypass");
}

TEST(CtrlWindowsTest, SlotsCreatedOnFirstUseReusedAndMadeCurrent) {
    AppState st;
    CtrlWindowSlots wins(st);
    EXPECT_EQ(wins.existing(5), nullptr);
    FrmCtrl& a = wins.CtrlWindow(5);
    EXPECT_EQ(&wins.CtrlWindow(5), &a);
    EXPECT_EQ(wins.existing(66), nullptr);
    EXPECT_THROW(wins.CtrlWindow(66), std::out_of_range);
    wins.CtrlWindow(65).LoadCorrectWindow();
    EXPECT_EQ(st.CurSlot, 65);
    a.LoadCorrectWindow();
    EXPECT_EQ(&wins.current(), &a);
}
