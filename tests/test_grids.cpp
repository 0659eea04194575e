// Value grids, the four-byte split, rounding and the number text of the windows.
#include "common/AppState.h"
#include "common/Numbers.h"
#include "params/ValueGrids.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const ConstantTables& Tab() {
    static const ConstantTables t;
    return t;
}

struct Case {
    double x;
    double want;
};

TEST(ValueGrids, EqGain) {
    const Case cases[] = {{0.25, 0.0}, {-0.25, -0.5}, {20, 15},   {-40, -15},  {0.75, 0.5}, {-14.75, -15},
                          {-15, -15},  {15, 15},      {0.5, 0.5}, {0.26, 0.5}, {14.9, 15},  {-0.0, 0.0}};
    for (const auto& c : cases)
        EXPECT_EQ(SnapEqGain(c.x), c.want) << c.x;
}

TEST(ValueGrids, ChannelGain) {
    const Case cases[] = {{13, 12}, {11.75, 11.5}, {-50, -36}, {-36, -36}, {12, 12}, {0.3, 0.5}, {-0.75, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(SnapChannelGain(c.x), c.want) << c.x;
}

TEST(ValueGrids, Threshold) {
    const Case cases[] = {{0.11, 0.2}, {-20, -18},    {20, 12},   {-18, -18},
                          {12, 12},    {-17.95, -18}, {5.05, 5.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(SnapThreshold(c.x), c.want) << c.x;
    // Every grid value comes back as itself, and as short text (no 0.199999999999999 near 0).
    for (int i = 0; i <= 150; ++i) {
        const double v = SnapThreshold(i / 5.0 - 18);
        EXPECT_NEAR(v, i / 5.0 - 18, 1e-12) << i;
        EXPECT_EQ(SnapThreshold(v), v) << i;
        EXPECT_LE(NumberText(v, 0).size(), 5) << i;
    }
    // Half-way between two grid values the lower one wins.
    EXPECT_EQ(SnapThreshold(0.1), 0.0);
    EXPECT_EQ(SnapThreshold(-0.1), -0.2);
}

// The value of typed text for units / scale (scale 10 or 100).
double Typed(int units, int scale) {
    return *ParseNumber(QString::number(double(units) / scale, 'f', scale == 10 ? 1 : 2), 0);
}

TEST(ValueGrids, TypedMidpointsGoToTheSmallerValue) {
    // Threshold midpoints in tenths with the byte of the smaller neighbour (value = (byte - 90) / 5),
    // release midpoints in hundredths with the index of the smaller neighbour.
    const std::pair<int, int> threshold[] = {{-73, 53}, {-71, 54}, {-63, 58}, {-41, 69},
                                             {-3, 88},  {27, 103}, {49, 114}, {79, 129}};
    for (auto [tenths, byte] : threshold)
        EXPECT_EQ(SnapThreshold(Typed(tenths, 10)), (byte - 90) / 5.0) << tenths;
    const std::pair<int, int> release[] = {{55, 4},   {65, 5},   {135, 12}, {185, 17},
                                           {235, 22}, {245, 23}, {285, 27}, {295, 28}};
    for (auto [hundredths, index] : release)
        EXPECT_EQ(ReleaseIndex(Tab(), Typed(hundredths, 100)), index) << hundredths;
    // Every midpoint of both grids goes down; the next double above it goes up.
    for (int i = 0; i < 150; ++i) {
        const double mid = Typed(2 * (i - 90) + 1, 10);
        EXPECT_EQ(SnapThreshold(mid), (i - 90) / 5.0) << mid;
        EXPECT_EQ(SnapThreshold(std::nextafter(mid, 100.0)), (i - 89) / 5.0) << mid;
    }
    for (int i = 0; i < 29; ++i) {
        const double mid = Typed(10 * i + 15, 100);
        EXPECT_EQ(ReleaseIndex(Tab(), mid), i) << mid;
        EXPECT_EQ(ReleaseIndex(Tab(), std::nextafter(mid, 100.0)), i + 1) << mid;
    }
}

TEST(ValueGrids, RatioIndex) {
    const Case cases[] = {{2.5, 1}, {40, 31}, {1.5, 0}, {1, 0}, {32, 31}, {0, 0}, {-3, 0}, {4.6, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(SnapRatioIndex(c.x), c.want) << c.x;
}

TEST(ValueGrids, ReleaseAndAttackIndices) {
    const auto& t = Tab();
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(ReleaseIndex(t, t.ReleaseTimes[static_cast<size_t>(i)]), i);
        EXPECT_EQ(AttackIndex(t, t.AttackTimes[static_cast<size_t>(i)]), i);
    }
    const std::pair<double, int> release[] = {{0.01, 0}, {5, 29}, {0.26, 2}, {2.94, 28}};
    for (auto [x, i] : release)
        EXPECT_EQ(ReleaseIndex(t, x), i) << x;
    const std::pair<double, int> attack[] = {{5.5, 0}, {1, 0}, {210, 29}, {22.5, 15}, {22.6, 16}, {190, 28}};
    for (auto [x, i] : attack)
        EXPECT_EQ(AttackIndex(t, x), i) << x;
}

TEST(ValueGrids, FrequencyTable) {
    const auto& t = Tab();
    for (double f : t.FreqTable)
        EXPECT_EQ(SnapToFrequencyTable(t, f), f);
    const Case cases[] = {{19000, 16000}, {10, 20}, {1015, 1000}, {1016, 1030}, {20.3, 20}, {20.31, 20.6}};
    for (const auto& c : cases)
        EXPECT_EQ(SnapToFrequencyTable(t, c.x), c.want) << c.x;
}

TEST(ValueGrids, WidthTable) {
    const auto& t = Tab();
    for (int i = 0; i < 198; ++i) {
        const double w = t.WidthTable[static_cast<size_t>(i)];
        EXPECT_EQ(WidthTableIndex(t, w), i);
        EXPECT_EQ(SnapToWidthTable(t, w), w);
    }
    EXPECT_EQ(WidthTableIndex(t, 5.0), 0);
    EXPECT_EQ(WidthTableIndex(t, 0.01), 197);
    EXPECT_EQ(SnapToWidthTable(t, 0.0722), 0.07212);
    EXPECT_EQ(SnapToWidthTable(t, 0.0724), 0.07248);
    EXPECT_EQ(SnapToWidthTable(t, 0.07248), 0.07248);
    EXPECT_EQ(WidthTableIndex(t, 1.4), 7); // Q 1.0
    // Snap then index designate the same entry.
    for (double x : {0.5, 1.0, 2.0, 3.3})
        EXPECT_EQ(t.WidthTable[static_cast<size_t>(WidthTableIndex(t, SnapToWidthTable(t, x)))],
                  SnapToWidthTable(t, x));
}

TEST(ValueGrids, QIndices) {
    const std::pair<double, int> xover[] = {{0.707, 13}, {0.541, 10}, {0.02, 0},  {12, 199}, {0.05, 0},
                                            {10, 199},   {0.7, 13},   {1e9, 199}, {-1e9, 0}};
    for (auto [q, i] : xover)
        EXPECT_EQ(XoverQToIndex(q), i) << q;
    const std::pair<double, int> eq[] = {{1.05, 8}, {0.1, 0}, {25, 197}, {12.3, 120}, {1.0, 7},
                                         {20, 197}, {0.3, 0}, {1.23, 9}, {1e9, 197}};
    for (auto [q, i] : eq)
        EXPECT_EQ(EqQToIndex(q), i) << q;
    EXPECT_EQ(EqQToIndex(std::nan("")), 0);
}

TEST(Numbers, RoundHalfEven) {
    const Case cases[] = {{2.5, 2},   {3.5, 4},   {0.5, 0}, {1.5, 2},
                          {-2.5, -2}, {-1.5, -2}, {2.4, 2}, {-2.6, -3}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.x), c.want) << c.x;
}

TEST(Numbers, SplitToBytesBE) {
    using B = std::array<uint8_t, 4>;
    const std::pair<double, B> cases[] = {
        {1000, {0x00, 0x00, 0x03, 0xE8}},
        {70000, {0x00, 0x01, 0x11, 0x70}},
        {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
        {-2, {0xFF, 0xFF, 0xFF, 0xFE}},
        {0.5, {0, 0, 0, 0}},
        {1.5, {0, 0, 0, 2}},
        {2147483647, {0x7F, 0xFF, 0xFF, 0xFF}},
        {-2147483648.0, {0x80, 0, 0, 0}},
        {20000, {0, 0, 78, 32}},
        {3e9, {0x7F, 0xFF, 0xFF, 0xFF}}, // held at the end
        {-3e9, {0x80, 0, 0, 0}},
        {std::nan(""), {0, 0, 0, 0}},
    };
    for (const auto& [x, want] : cases)
        EXPECT_EQ(SplitToBytesBE(x), want) << x;

    AppState st;
    st.SplitBytes.fill(0x11);
    ASSERT_TRUE(SplitToBytesBE(st.SplitBytes, 1000, 0));
    EXPECT_EQ(st.SplitBytes[2], 3);
    EXPECT_EQ(st.SplitBytes[3], 232);
    EXPECT_EQ(st.SplitBytes[4], 0x11);
    EXPECT_TRUE(SplitToBytesBE(st.SplitBytes, 1, 27));
    EXPECT_EQ(st.SplitBytes[30], 1);
    EXPECT_FALSE(SplitToBytesBE(st.SplitBytes, 1, 28));
    EXPECT_FALSE(SplitToBytesBE(st.SplitBytes, 1, -1));
}

TEST(Numbers, Log10) {
    EXPECT_NEAR(Log10(1000), 3, 1e-12);
    EXPECT_NEAR(Log10(20000) - Log10(20), 3, 1e-12);
    EXPECT_NEAR(Log10(2), 0.30102999566398, 1e-12);
}

struct TextCase {
    double v;
    int32_t comma;
    const char* text;
};

TEST(NumberText, PlainDecimalTextInTheLocaleSign) {
    const TextCase cases[] = {
        {0.05, 0, "0.05"},           {0.05 + 0.05 * 13, 0, "0.7"},
        {0.05 + 0.05 * 19, 0, "1"},  {0.05 + 0.05 * 199, 0, "10"},
        {-5.5, 1, "-5,5"},           {2.9711, 0, "2.9711"},
        {0.1 * 3, 0, "0.3"},         {-0.0, 0, "0"},
        {12345.678, 1, "12345,678"}, {1.0 / 3, 0, "0.333333333333333"},
        {20000, 1, "20000"},         {-36, 0, "-36"},
        {0.3 + 0.1 * 7, 1, "1"},     {SnapThreshold(0.11), 1, "0,2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberText(c.v, c.comma), c.text) << c.text;
}

TEST(NumberText, ParseAcceptsOnlyFiniteNumbersInTheLocaleSign) {
    const std::pair<const char*, double> good[] = {
        {"1.5", 1.5}, {" 12 ", 12},  {"+3", 3},      {"-0.25", -0.25}, {"5.", 5},
        {".5", 0.5},  {"1E3", 1000}, {"2e-2", 0.02}, {"0", 0},         {"-15", -15}};
    for (auto [s, v] : good) {
        auto r = ParseNumber(s, 0);
        ASSERT_TRUE(r.has_value()) << s;
        EXPECT_DOUBLE_EQ(*r, v) << s;
    }
    for (const char* s : {"", "  ", "nan", "NaN", "inf", "-inf", "infinity", "1e400", "abc", "1.2.3", "-",
                          ".", "1,5", "1 5", "12a", "1e", "0x10", "--1", "1.5 m"})
        EXPECT_FALSE(ParseNumber(s, 0).has_value()) << s;
}

TEST(NumberText, DecimalCommaLocaleWrittenAndReadBack) {
    AppState st;
    st.DecimalComma = DecimalCommaFor(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(st.DecimalComma, 1);
    EXPECT_EQ(DecimalSign(st.DecimalComma), u',');
    EXPECT_EQ(DecimalCommaFor(QLocale::c()), 0);
    EXPECT_EQ(DecimalCommaFor(QLocale(QLocale::English, QLocale::UnitedStates)), 0);

    for (double v : {-12.5, 0.7, 1234567.25, 3.70425, 0.07212, -0.001, 16000.0, 1e-7}) {
        const QString text = NumberText(v, st.DecimalComma);
        EXPECT_FALSE(text.contains(u'.')) << v;
        const auto back = ParseNumber(text, st.DecimalComma);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(*back, v) << text.toStdString();
    }
    EXPECT_EQ(NumberText(1234567.25, 1), "1234567,25"); // no group separator
    EXPECT_DOUBLE_EQ(*ParseNumber("-0,25", 1), -0.25);
    EXPECT_DOUBLE_EQ(*ParseNumber(",5", 1), 0.5);
    EXPECT_FALSE(ParseNumber("1.5", 1).has_value());
    EXPECT_FALSE(ParseNumber("1.234,5", 1).has_value());
    EXPECT_FALSE(ParseNumber("1,2,3", 1).has_value());
}

} // namespace
