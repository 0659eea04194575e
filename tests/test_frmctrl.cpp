#include "window/CtrlWindows.h"

#include <gtest/gtest.h>

TEST(FrmCtrlControlsTest, RangesClampValuesFromCode) {
    AppState st;
    FrmCtrl w(st, 3);
    struct Case {
        const char* name;
        std::function<void(int)> set;
        std::function<int()> get;
        int lo, hi;
    };
    const Case cases[] = {
        {"Slider1", [&](int v) { w.Slider1[0].setValue(v); }, [&] { return w.Slider1[0].value(); }, 0, 96},
        {"UpDown2", [&](int v) { w.UpDown2[1].setValue(v); }, [&] { return w.UpDown2[1].value(); }, 0, 790},
        {"UpDown1", [&](int v) { w.UpDown1[2].setValue(v); }, [&] { return w.UpDown1[2].value(); }, 0, 48},
        {"HScroll1", [&](int v) { w.HScroll1.setValue(v); }, [&] { return w.HScroll1.value(); }, 0, 70},
        {"Slider500", [&](int v) { w.Slider500[1].setValue(v); }, [&] { return w.Slider500[1].value(); }, 0, 150},
        {"Slider503", [&](int v) { w.Slider503[2].setValue(v); }, [&] { return w.Slider503[2].value(); }, 0, 29},
        {"Slider401", [&](int v) { w.Slider401[1].setValue(v); }, [&] { return w.Slider401[1].value(); }, 0, 31},
        {"Slider402", [&](int v) { w.Slider402[1].setValue(v); }, [&] { return w.Slider402[1].value(); }, 0, 100},
        {"Slider2", [&](int v) { w.Slider2[18].setValue(v); }, [&] { return w.Slider2[18].value(); }, 0, 60},
        {"UpDown4", [&](int v) { w.UpDown4[7].setValue(v); }, [&] { return w.UpDown4[7].value(); }, 20, 20000},
        {"UpDown3", [&](int v) { w.UpDown3[0].setValue(v); }, [&] { return w.UpDown3[0].value(); }, 0, 197},
        {"UpDown8", [&](int v) { w.UpDown8[3].setValue(v); }, [&] { return w.UpDown8[3].value(); }, 20, 20000},
        {"UpDown11", [&](int v) { w.UpDown11[3].setValue(v); }, [&] { return w.UpDown11[3].value(); }, 0, 199},
    };
    for (const auto& c : cases) {
        c.set(c.lo - 5);
        EXPECT_EQ(c.get(), c.lo) << c.name;
        c.set(c.hi + 5);
        EXPECT_EQ(c.get(), c.hi) << c.name;
    }
}

TEST(FrmCtrlControlsTest, OptionPairsAndTypeList) {
    AppState st;
    FrmCtrl w(st, 0);
    int clicks = 0;
    w.Option4[3].Click = [&] { ++clicks; };
    w.Option4[3].setValue(true);
    EXPECT_FALSE(w.Option4[2].value());
    EXPECT_TRUE(w.Option4[0].value()); // the other graph's pair is untouched
    EXPECT_EQ(clicks, 1);
    w.Option1[1].setValue(true);
    EXPECT_FALSE(w.Option1[0].value());
    EXPECT_EQ(w.Combo2[2].items.size(), 18);
    EXPECT_EQ(w.Combo2[2].listIndex(), 0);
    EXPECT_EQ(w.Combo2[2].items[0], "   Bypass");
    EXPECT_EQ(w.Combo2[2].items[17], "Custom -48dB");
    EXPECT_EQ(w.Frame8[3].Caption, "Peak Limiter");
    EXPECT_EQ(w.Frame8[1].Caption, "RMS Compressor");
    EXPECT_EQ(w.Label5[7].Caption, "3");
}

TEST(CtrlWindowsTest, SlotsCreatedOnFirstUseAndReused) {
    AppState st;
    CtrlWindows wins(st);
    EXPECT_EQ(wins.existing(5), nullptr);
    FrmCtrl& a = wins.CtrlWindow(5);
    EXPECT_EQ(&wins.CtrlWindow(5), &a);
    EXPECT_EQ(wins.existing(5), &a);
    EXPECT_EQ(wins.existing(66), nullptr);
    EXPECT_THROW(wins.CtrlWindow(66), std::out_of_range);
    st.CurSlot = 0;
    wins.CtrlWindow(65).LoadCorrectWindow();
    EXPECT_EQ(st.CurSlot, 65);
    a.LoadCorrectWindow();
    EXPECT_EQ(st.CurSlot, 5);
    EXPECT_EQ(&wins.current(), &a);
}
