// Constant tables, block offsets, program image layout and the device-name code.
#include "common/AppState.h"
#include "common/DeviceRecords.h"
#include "common/NameCode.h"
#include "common/Tables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const ConstantTables& Tab() {
    static const ConstantTables t;
    return t;
}

TEST(Tables, GridTablesHaveTheirEndsAndOrder) {
    const auto& t = Tab();
    EXPECT_EQ(t.FreqTable.front(), 20);
    EXPECT_EQ(t.FreqTable.back(), 16000);
    EXPECT_EQ(t.FreqTable[136], 1000);
    EXPECT_EQ(t.FreqTable[16], 31.5);
    for (size_t i = 1; i < t.FreqTable.size(); ++i)
        EXPECT_LT(t.FreqTable[i - 1], t.FreqTable[i]) << i;
    for (size_t i = 1; i < t.WidthTable.size(); ++i)
        EXPECT_GT(t.WidthTable[i - 1], t.WidthTable[i]) << i;
    for (size_t i = 1; i < 30; ++i) {
        EXPECT_LT(t.ReleaseTimes[i - 1], t.ReleaseTimes[i]);
        EXPECT_LT(t.AttackTimes[i - 1], t.AttackTimes[i]);
    }
    EXPECT_DOUBLE_EQ(t.ReleaseTimes[0], 0.1);
    EXPECT_DOUBLE_EQ(t.ReleaseTimes[2], 0.3);
    EXPECT_DOUBLE_EQ(t.ReleaseTimes[29], 3.0);
    EXPECT_EQ(t.AttackTimes[15], 20);
    EXPECT_EQ(t.AttackTimes[16], 25);
    EXPECT_EQ(t.AttackTimes[29], 200);
}

TEST(Tables, WidthTableFollowsItsFormulaCutToFiveDecimals) {
    const auto& t = Tab();
    for (int i = 0; i < 198; ++i) {
        const double q = (3 + i) / 10.0;
        const double n = (2 / std::log(2.0)) * std::asinh(1 / (2 * q));
        const double w = t.WidthTable[static_cast<size_t>(i)];
        EXPECT_LE(w, n + 1e-12) << i;
        EXPECT_LT(n - w, 1e-5) << i;
        EXPECT_NEAR(w * 1e5, std::round(w * 1e5), 1e-6) << i;
    }
    const std::pair<int, double> spots[] = {{0, 3.70425},   {1, 3.02271},   {2, 2.5431},
                                            {3, 2.18852},   {4, 1.91685},   {7, 1.38848},
                                            {195, 0.07285}, {196, 0.07248}, {197, 0.07212}};
    for (auto [i, v] : spots)
        EXPECT_EQ(t.WidthTable[static_cast<size_t>(i)], v) << i;
}

TEST(Tables, Captions) {
    const auto& t = Tab();
    for (int i = 0; i < 32; ++i) {
        const QString& s = t.RatioLabels[static_cast<size_t>(i)];
        EXPECT_EQ(s.size(), 4) << i;
        EXPECT_EQ(s.trimmed(), QString::number(i + 1) + ":1");
        EXPECT_EQ(s.endsWith(' '), i < 9) << i;
    }
    EXPECT_EQ(t.RatioLabels[0], "1:1 ");
    EXPECT_EQ(t.RatioLabels[31], "32:1");
    EXPECT_EQ(t.BandTypeNames[0], "PEAK EQ");
    EXPECT_EQ(t.BandTypeNames[12], "High Pass Q");
    EXPECT_EQ(t.BandTypeNames[16], "Notch Filter");
    EXPECT_EQ(t.ModelCaption[0], "       ");
    EXPECT_EQ(t.ModelCaption[1], " Kestrino ");
    EXPECT_EQ(t.ModelCaption[2], " Valdoran ");
    EXPECT_EQ(t.DelayUnitSuffix[0], " ms");
    EXPECT_EQ(t.DelayUnitSuffix[1], " m");
    QString word1, word2, empty;
    for (const auto& s : t.ModelLetters1)
        word1 += s;
    for (const auto& s : t.ModelLetters2)
        word2 += s;
    for (const auto& s : t.EmptyMemName) {
        EXPECT_EQ(s.size(), 1);
        empty += s;
    }
    EXPECT_EQ(word1, "Kestor");
    EXPECT_EQ(word2, "Valdis");
    EXPECT_EQ(empty, "Vacia" + QString(11, ' '));
    EXPECT_EQ(t.NameHelpTitle, "Por favor utilice los siguientes simbolos");
    EXPECT_EQ(t.NameHelpChars, "Espacio, de A(a) a la Z(z), del 0 al 9, - _ / * & + \" . ,");
}

TEST(Tables, FahrenheitCaptionsAreKeptAsWritten) {
    const auto& t = Tab();
    const std::pair<int, const char*> spots[] = {
        {-20, "-4.0 "}, {-19, "-2.3 "}, {-18, "-0.4 "}, {-17, "1.3  "}, {-16, "3.1  "},
        {-12, "10.3 "}, {0, "32.0 "},   {37, "98.6 "},  {38, "100.4"},  {50, "122.0"}};
    for (auto [c, s] : spots)
        EXPECT_EQ(t.FahrenheitLabels[static_cast<size_t>(c + 20)], s) << c;
    for (int c = -20; c <= 50; ++c) {
        const QString& s = t.FahrenheitLabels[static_cast<size_t>(c + 20)];
        EXPECT_EQ(s.size(), 5) << c;
        // Never more than a tenth or so away from the arithmetic.
        EXPECT_NEAR(s.trimmed().toDouble(), c * 9.0 / 5 + 32, 0.15) << c;
    }
}

TEST(Tables, GraphFactorsMeterLevelsAndScales) {
    const auto& t = Tab();
    for (int i = 0; i <= 60; ++i) {
        EXPECT_EQ(t.ShelfFactorA[static_cast<size_t>(i)], t.ShelfFactorA[static_cast<size_t>(60 - i)]);
        EXPECT_EQ(t.ShelfFactorB[static_cast<size_t>(i)], t.ShelfFactorB[static_cast<size_t>(60 - i)]);
        if (i >= 18 && i <= 42) {
            EXPECT_EQ(t.ShelfFactorA[static_cast<size_t>(i)], 1.0) << i;
            EXPECT_EQ(t.ShelfFactorB[static_cast<size_t>(i)], 1.0) << i;
        }
    }
    EXPECT_EQ(t.ShelfFactorA[0], 2.2);
    EXPECT_EQ(t.ShelfFactorA[60], 2.2);
    EXPECT_EQ(t.ShelfFactorA[17], 1.07);
    EXPECT_EQ(t.ShelfFactorB[60], 1.37);
    EXPECT_EQ(t.ShelfFactorB[45], 1.085);
    EXPECT_EQ(t.LedLevels7, (std::array<int16_t, 7>{0, 1, 3, 7, 15, 31, 95}));
    EXPECT_EQ(t.LedLevels8, (std::array<int16_t, 8>{0, 1, 3, 7, 15, 31, 95, 127}));
    EXPECT_NEAR(t.PointsPerDecade, 575.0 / 3, 1e-9);
    EXPECT_NEAR(t.TwipsPerDecade, 2885, 1e-9);
}

TEST(Tables, DefaultNameIsSevenValidCodesThenZeros) {
    const auto& t = Tab();
    for (int i = 0; i < 16; ++i) {
        const int c = t.DefaultNameCodes[static_cast<size_t>(i)];
        if (i < 7) {
            EXPECT_GE(c, 1);
            EXPECT_LE(c, 71);
        } else {
            EXPECT_EQ(c, 0);
        }
    }
}

// The default program read back through the block offsets.
TEST(Tables, DefaultProgramDecodesThroughTheOffsets) {
    const auto& t = Tab();
    ProgRecord p;
    for (int i = 0; i < 208; ++i)
        p.SetByte(i, t.DefaultProgram[static_cast<size_t>(i)]);
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(p.Byte(t.GainBase[ch]), 0) << ch;
        EXPECT_EQ(p.Byte(t.GainBase[ch] + 1), 72) << ch; // 0 dB
        EXPECT_EQ(p.Word(t.DelayBase[ch]), 0) << ch;
        EXPECT_EQ(p.Byte(t.DelayBase[ch] + 2), 0) << ch;
        EXPECT_EQ(p.Byte(t.EqBypassAddr[ch]), 0) << ch;
        EXPECT_EQ(p.Byte(t.BandMaskAddr[ch]), 0) << ch;
    }
    for (int b = 0; b < 19; ++b) {
        const int base = t.BandBase[static_cast<size_t>(b)];
        EXPECT_EQ(p.Byte(base), 0) << b;        // PEAK EQ
        EXPECT_EQ(p.Word(base + 1), 1000) << b; // Hz
        EXPECT_EQ(p.Byte(base + 3), 7) << b;    // Q 1.0
        EXPECT_EQ(p.Byte(base + 4), 30) << b;   // 0 dB
    }
    for (int ch = 1; ch <= 2; ++ch) {
        const int lim = t.LimiterBase[ch], comp = t.CompBase[ch];
        EXPECT_EQ(t.AttackTimes[p.Byte(lim)], 5);
        EXPECT_DOUBLE_EQ(t.ReleaseTimes[p.Byte(lim + 1)], 0.6);
        EXPECT_EQ(p.Byte(lim + 2) / 5.0 - 18, 12);
        EXPECT_EQ(p.Byte(comp) / 5.0 - 18, 12);
        EXPECT_EQ(t.RatioLabels[p.Byte(comp + 1)], "32:1");
        EXPECT_EQ(p.Byte(comp + 2), 0);
        EXPECT_EQ(p.Byte(comp + 3), 5);
        EXPECT_EQ(p.Byte(comp + 4), 0);
    }
    for (int k = 0; k < 4; ++k) {
        const int base = t.XoverBase[static_cast<size_t>(k)];
        const int f = (k % 2 == 0) ? 20 : 20000;
        EXPECT_EQ(p.Byte(base + 2), 0) << k; // "   Bypass"
        for (int off : {0, 4, 7, 10})
            EXPECT_EQ(p.Word(base + off), f) << k << " " << off;
        for (int off : {3, 6, 9, 12})
            EXPECT_EQ(p.Byte(base + off), 7) << k << " " << off;
    }
    for (int a : {t.MuteAddr, t.DlfAddr, t.PolarityAddr, t.LimiterBypassAddr, t.CompBypassAddr})
        EXPECT_EQ(p.Byte(a), 0) << a;
    QString name;
    for (int i = 32; i <= 36; ++i)
        name += DecodeNameChar(p.Byte(i));
    EXPECT_EQ(name, "Def. ");
    for (int i = 200; i < 208; ++i)
        EXPECT_EQ(p.Byte(i), 0) << i;
}

TEST(ProgRecord, RawImageRoundTripsByteForByte) {
    ProgRecord p;
    for (int i = 0; i < ProgRecord::kSize; ++i)
        p.SetByte(i, static_cast<uint8_t>(i * 7 + 3));
    const QByteArray raw = p.ToBytes();
    ASSERT_EQ(raw.size(), 1059);
    for (int i = 0; i < ProgRecord::kSize; ++i)
        EXPECT_EQ(static_cast<uint8_t>(raw[i]), p.Byte(i)) << i;
    ProgRecord q;
    ASSERT_TRUE(q.FromBytes(raw));
    EXPECT_EQ(q, p);
    EXPECT_EQ(q.ToBytes(), raw);
}

TEST(ProgRecord, WrongLengthIsRefusedAndChangesNothing) {
    ProgRecord p;
    p.SetByte(100, 9);
    const ProgRecord before = p;
    for (int n : {0, 9, 1058, 1060}) {
        EXPECT_FALSE(p.FromBytes(QByteArray(n, '\x55'))) << n;
        EXPECT_EQ(p, before) << n;
    }
}

TEST(ProgRecord, FieldsSitAtTheirRecordBytes) {
    ProgRecord p;
    p.Options[40] = 1;
    p.Ext[18] = 1;
    p.Params[208] = 4;
    const QByteArray raw = p.ToBytes();
    EXPECT_EQ(raw[1018], 1); // "Output+Input" of output 1
    EXPECT_EQ(raw[227], 1);  // delay unit, mirror of device address 18
    EXPECT_EQ(raw[208], 4);
    EXPECT_EQ(p.Byte(978 + 40), 1);
    p.SetWord(61, 20000);
    p.SetWord(88, 1000);
    EXPECT_EQ(p.Params[61], 78);
    EXPECT_EQ(p.Params[62], 32);
    EXPECT_EQ(p.Params[88], 3);
    EXPECT_EQ(p.Params[89], 232);
    p.SetWord(208, 0x0102); // straddles the parameter block and the device mirror
    EXPECT_EQ(p.Params[208], 1);
    EXPECT_EQ(p.Ext[0], 2);
    EXPECT_EQ(p.Byte(-1), 0);
    EXPECT_EQ(p.Byte(1059), 0);
    p.SetByte(1059, 7); // ignored
    EXPECT_EQ(p.ToBytes().size(), 1059);
}

TEST(ProgRecord, CopyBytesTakesOnlyTheRange) {
    ProgRecord src, dst;
    for (int i = 0; i < ProgRecord::kSize; ++i)
        src.SetByte(i, 0xAA);
    dst.CopyBytes(src, 48, 207);
    EXPECT_EQ(dst.Byte(47), 0);
    EXPECT_EQ(dst.Byte(48), 0xAA);
    EXPECT_EQ(dst.Byte(207), 0xAA);
    EXPECT_EQ(dst.Byte(208), 0);
    dst.CopyBytes(src, 1000, 5000); // clipped at the end of the record
    EXPECT_EQ(dst.Byte(1058), 0xAA);
}

TEST(AppStateRecords, EveryBusAddressHasItsRecordsAndFilledTables) {
    AppState st;
    EXPECT_EQ(st.DevProgs.size(), 66u);
    EXPECT_EQ(st.DevRecs.size(), 66u);
    EXPECT_EQ(st.BandType[65].size(), 19u);
    EXPECT_EQ(st.DelaySamples[65].size(), 3u);
    EXPECT_EQ(st.Tables.FreqTable[232], 16000);
    EXPECT_EQ(st.Tables.BandBase[18], 193);
    EXPECT_EQ(st.DevRecs[3].MemName[15], QString());
}

// ---- Device-name code and two-digit text ----

TEST(NameCode, EveryCodeRoundTrips) {
    for (int code = 0; code <= 71; ++code) {
        const QString ch = DecodeNameChar(code);
        ASSERT_EQ(ch.size(), 1) << code;
        EXPECT_EQ(EncodeNameChar(QString::number(ch[0].unicode())), code) << code;
    }
}

TEST(NameCode, SpotCodes) {
    const std::pair<QChar, int> cases[] = {{u' ', 0},  {u'A', 1},  {u'Z', 26}, {u'a', 27},
                                           {u'z', 52}, {u'0', 53}, {u'9', 62}, {u'-', 63},
                                           {u'"', 69}, {u'.', 70}, {u',', 71}};
    for (auto [c, code] : cases) {
        EXPECT_EQ(EncodeNameChar(QString::number(c.unicode())), code) << code;
        EXPECT_EQ(DecodeNameChar(code), QString(c)) << code;
    }
}

TEST(NameCode, CharactersOutsideTheSetBecomeBlanks) {
    for (int c : {int('#'), int('!'), int('['), int('{'), 0xE9 /* e acute */, 0})
        EXPECT_EQ(EncodeNameChar(QString::number(c)), 0) << c;
    EXPECT_EQ(EncodeNameChar("junk"), 0);
    for (int code : {72, 255, -1})
        EXPECT_EQ(DecodeNameChar(code), " ") << code;
}

TEST(NameCode, TwoDigitText) {
    const std::pair<int, const char*> ints[] = {{0, "00"},  {9, "09"}, {10, "10"},
                                                {65, "65"}, {1, "01"}, {32, "32"}};
    for (auto [n, s] : ints)
        EXPECT_EQ(TwoDigits(n), s) << n;
    EXPECT_EQ(TwoDigitsVar(15), "15");
    EXPECT_EQ(TwoDigitsVar(3), "03");
    EXPECT_EQ(TwoDigitsVar(0), "00");
}

} // namespace
